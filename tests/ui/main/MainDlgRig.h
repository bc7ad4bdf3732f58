// The main window on simulated meters: the meter facade's worker reaches HID meters in process and
// a T-310 behind a pseudo-terminal; the registry and the user's data folder live in a scratch
// folder. The window's pages record what the window asks of them, and a splash stand-in lets the
// test end the closing splash when it likes.
#pragma once

// The simulator's headers come before any Qt header: one of their members is named like a Qt keyword.
#include "tests/support/FakeUsbSysfs.h"
#include "tests/support/ManualClock.h"
#include "tests/support/ManualSemaphore.h"
#include "tests/support/MeterSimulator.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimMeterLinkFactory.h"
#include "tests/support/SimRegisterMeter.h"
#include "tests/support/SimT310Mode.h"
#include "tests/support/SimT310SerialLink.h"
#include "tests/support/SimulatedLineWaiter.h"
#include "tests/ui/meter/FacadeEnvironment.h"
#include "meter/CKZARN_LMCtrl.h"
#include "ui/meter/CZarnManager.h"
#include "platform/PosixSerialDeviceSystem.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/main/CKZARN_MainCustomSettingForm.h"
#include "ui/main/CKZARN_MainDlg.h"
#include "ui/main/CKZARN_MainProfileForm.h"
#include "ui/main/CKZARN_MainUpdateForm.h"
#include "ui/main/CKZARN_MainUserSettingForm.h"
#include "ui/main/CKZARN_SplashHook.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// What the pages were told, as "page:operation".
struct PageJournal {
    std::vector<std::string> calls;
    bool canTransmit = false;
    bool canCopy = false;
    bool canCut = false;
    bool canPaste = false;
    // The program's own profile page instead of the recording one.
    bool realProfilePage = false;

    int Count(const std::string& call) const
    {
        int n = 0;
        for (const auto& c : calls) n += c == call ? 1 : 0;
        return n;
    }
};

template <typename Page>
class RecordingPage : public Page {
public:
    RecordingPage(PageJournal* journal, std::string name) : journal_(journal), name_(std::move(name)) {}

    BOOL CanCopy() override { return journal_->canCopy; }
    BOOL CanCut() override { return journal_->canCut; }
    BOOL CanPaste() override { return journal_->canPaste; }
    BOOL Cut() override { Log("cut"); return TRUE; }
    BOOL OnMeterInfoChanged() override { Log("info"); return Page::OnMeterInfoChanged(); }
    BOOL OnMainClosing() override { Log("closing"); return TRUE; }
    BOOL OnExternalProgramStarting(const std::string& program, const std::string& arguments) override
    {
        Log("starting " + program + " " + arguments);
        return TRUE;
    }
    BOOL OnExternalProgramEnded(WPARAM wParam, LPARAM lParam) override
    {
        Log("ended " + std::to_string(wParam) + " " + std::to_string(lParam));
        return Page::OnExternalProgramEnded(wParam, lParam);
    }
    BOOL OnUpdateListReady(WPARAM, LPARAM) override { Log("list"); return TRUE; }

protected:
    void Log(const std::string& what) { journal_->calls.push_back(name_ + ":" + what); }
    PageJournal* journal_;
    std::string name_;
};

class RecordingProfileForm final : public RecordingPage<CKZARN_MainProfileForm> {
public:
    using RecordingPage::RecordingPage;
    void OnBnClickedNew() override { Log("new"); }
    void OnBnClickedRef() override { Log("ref"); }
    void OnBnClickedEdit() override { Log("edit"); }
    void OnBnClickedTx() override { Log("tx"); }
    BOOL CanTransmit() override { return journal_->canTransmit; }
    BOOL RefreshMeterList() override { Log("meter list"); return CKZARN_MainProfileForm::RefreshMeterList(); }
    BOOL RefreshPcList() override { Log("pc list"); return TRUE; }
};

class RecordingCustomForm final : public RecordingPage<CKZARN_MainCustomSettingForm> {
public:
    using RecordingPage::RecordingPage;
    void Refresh(int connected) override { Log("refresh " + std::to_string(connected)); }
};

class RecordingUserForm final : public RecordingPage<CKZARN_MainUserSettingForm> {
public:
    using RecordingPage::RecordingPage;
    void Refresh(int connected) override { Log("refresh " + std::to_string(connected)); }
};

class RecordingUpdateForm final : public RecordingPage<CKZARN_MainUpdateForm> {
public:
    using RecordingPage::RecordingPage;
    BOOL OnConnectionChanged(int connected) override
    {
        Log("connection " + std::to_string(connected));
        return TRUE;
    }
};

class TestMainDlg final : public CKZARN_MainDlg {
public:
    explicit TestMainDlg(PageJournal* journal) : journal_(journal) {}

protected:
    CKZARN_MainProfileForm* NewProfileForm() override
    {
        if (journal_->realProfilePage) return new CKZARN_MainProfileForm;
        return new RecordingProfileForm(journal_, "profile");
    }
    CKZARN_MainCustomSettingForm* NewCustomSettingForm() override { return new RecordingCustomForm(journal_, "custom"); }
    CKZARN_MainUserSettingForm* NewUserSettingForm() override { return new RecordingUserForm(journal_, "user"); }
    CKZARN_MainUpdateForm* NewUpdateForm() override { return new RecordingUpdateForm(journal_, "update"); }
    void OnAppAbout() override { journal_->calls.push_back("main:about"); }

private:
    PageJournal* journal_;
};

// Stands in for the application's splash: says whether one could be shown and lets the test end it.
class SplashStandIn final : public CKZARN_SplashHook {
public:
    explicit SplashStandIn(bool available) : available_(available) {}
    void ShowSplashScreen(CKZARN_MainDlg*) override { ++startShown; }
    BOOL ShowClosingSplash(CKZARN_MainDlg* window) override
    {
        ++closingShown;
        if (!available_) return FALSE;
        shownOver = window;
        return TRUE;
    }
    // The splash's time is up: it ends the main window.
    void End() { shownOver->DestroyWindow(); }

    int startShown = 0;
    int closingShown = 0;
    CKZARN_MainDlg* shownOver = nullptr;

private:
    bool available_;
};

struct MainDlgRig : FacadeEnvironment {
    PageJournal journal;
    std::unique_ptr<TestMainDlg> dialog;

    MainDlgRig() { dialog = std::make_unique<TestMainDlg>(&journal); }
    ~MainDlgRig()
    {
        dialog.reset();
        ShutDown();
    }

    void AddT140() { hid.AddMeter("/sim/t140", 0x1F3C, 0x7002, SimRegisterMeter::T140(0x11)); }
    void AddT520() { hid.AddMeter("/sim/t520", 0x1F3C, 0x7004, SimRegisterMeter::T520()); }
    void AddT310()
    {
        AttachT310(std::make_unique<SimT310Mode>());
    }

    // The window's set-up (the facade starts and runs its first update check), then the worker's
    // first round of polling.
    void Start()
    {
        ASSERT_TRUE(dialog->OnInitDialog());
        Settle();
    }
};
