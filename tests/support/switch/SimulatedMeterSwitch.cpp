// The simulator's headers come before any Qt header: one of their members is named like a Qt keyword.
#include "tests/support/switch/SimulatedMeterSwitch.h"

#include "tests/support/FakeUsbSysfs.h"
#include "tests/support/ManualClock.h"
#include "tests/support/MeterSimulator.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimMeterLinkFactory.h"
#include "tests/support/SimRegisterMeter.h"
#include "tests/support/SimT310Mode.h"
#include "tests/support/SimT310SerialLink.h"
#include "tests/support/SimulatedLineWaiter.h"
#include "tests/support/switch/SimulatedCloseOnInput.h"
#include "tests/support/switch/SimulatedWizardSession.h"

#include "meter/CKZARN_LMCtrl.h"
#include "platform/PosixSerialDeviceSystem.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/controls/CKZARN_ProfileListCtrl.h"
#include "ui/main/CKZARN_MainDlg.h"
#include "ui/main/CKZARN_MainProfileForm.h"
#include "ui/meter/CKZARN_ProgressDlg.h"
#include "ui/meter/CZarnManager.h"

#include <QAbstractButton>

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

std::string Joined(const CKZARN_ProfileListCtrl* list)
{
    std::string text;
    for (int i = 0; i < list->GetItemCount(); ++i) {
        if (i > 0) text += ",";
        text += list->GetItemText(i);
    }
    return text;
}

void Say(const std::string& line)
{
    std::fprintf(stderr, "zarndesk: %s\n", line.c_str());
    std::fflush(stderr);
}

CKZARN_MainProfileForm* FindProfilePage()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<CKZARN_MainDlg*>(widget); window != nullptr && !window->IsDestroyed()) {
            return window->ProfileForm();
        }
    }
    return nullptr;
}

class Switch final : public SimulatedMeterSwitch {
public:
    explicit Switch(std::string family) : family_(std::move(family)) {}
    ~Switch() override
    {
        // The facade's worker uses the links below: it is ended first.
        CZarnManager::DestroyInstance();
        t310Link_.reset();
    }

    bool Install() override
    {
        std::filesystem::create_directories(scratch_.File("sys"));
        std::filesystem::create_directories(scratch_.File("dev"));
        sysfs_ = std::make_unique<FakeUsbSysfs>(scratch_.File("sys"));
        if (family_ == "T-310") {
            t310_ = std::make_unique<MeterSimulator>(std::make_unique<SimT310Mode>());
            t310Link_ = std::make_unique<SimT310SerialLink>(*t310_, waiter_, *sysfs_, scratch_.File("dev"));
            if (!t310Link_->IsReady()) return false;
        } else if (family_ == "T-140") {
            hid_.AddMeter("/sim/t140", 0x1F3C, 0x7002, SimRegisterMeter::T140(0x11));
        } else {
            hid_.AddMeter("/sim/t520", 0x1F3C, 0x7004, SimRegisterMeter::T520());
        }
        auto links = std::make_unique<SimMeterLinkFactory>(hid_, serial_, sysfs_->Root(), scratch_.File("dev"));
        return CZarnManager::CreateInstance(
                   std::make_unique<CKZARN_LMCtrl>(QtMessageSink::Instance(), std::move(links), &workerClock_)) != nullptr;
    }

    void StartSession() override
    {
        wizard_ = SimulatedWizardSession::FromEnvironment();
        if (wizard_ != nullptr) wizard_->Start();
        closer_ = SimulatedCloseOnInput::FromEnvironment();
        const char* name = std::getenv(kSendVariable);
        if (name == nullptr || *name == '\0') return;
        send_ = name;
        timer_ = std::make_unique<QTimer>();
        QObject::connect(timer_.get(), &QTimer::timeout, [this] { Step(); });
        timer_->start(100);
        // The user's part in the session: the progress dialog's OK once a meter command has ended.
        okPresser_ = std::make_unique<QTimer>();
        QObject::connect(okPresser_.get(), &QTimer::timeout, [] {
            auto* progress = qobject_cast<CKZARN_ProgressDlg*>(QApplication::activeModalWidget());
            if (progress == nullptr) return;
            auto* ok = qobject_cast<QAbstractButton*>(progress->FindControl(CKZARN_ProgressDlg::kOkButtonId));
            if (ok != nullptr && ok->isVisible() && ok->isEnabled()) ok->click();
        });
        okPresser_->start(100);
    }

private:
    // One look at the page: the session goes on once the meter's slots are listed.
    void Step()
    {
        CKZARN_MainProfileForm* page = FindProfilePage();
        QWidget* modal = QApplication::activeModalWidget();
        if (page == nullptr || page->SendList()->GetItemCount() == 0 || page->MeterList()->GetItemCount() == 0 ||
            (modal != nullptr && modal != page->window())) {
            return;
        }
        timer_->stop();
        Say("pc list: " + Joined(page->PcList()));
        Say("meter list: " + Joined(page->MeterList()));
        CKZARN_ProfileListCtrl* pc = page->PcList();
        for (int i = 0; i < pc->GetItemCount(); ++i) {
            pc->SelectItem(i, pc->GetItemText(i) == send_, pc->GetItemText(i) == send_);
        }
        page->SendList()->DeselectAll();
        page->SendList()->SelectItem(0, true, true);
        page->OnBnClickedAssign();
        page->OnBnClickedTx();
        Say("meter list after sending: " + Joined(page->MeterList()));
    }

    std::string family_;
    std::string send_;
    ScratchFolder scratch_;
    // The worker's sleeps (settling, busy waits) cost no real time; its idle waits between polls do.
    ManualClock workerClock_;
    ManualClock serialClock_;
    SimulatedLineWaiter waiter_{serialClock_};
    PosixSerialDeviceSystem serial_{serialClock_, waiter_};
    SimHidDeviceSystem hid_;
    std::unique_ptr<FakeUsbSysfs> sysfs_;
    std::unique_ptr<MeterSimulator> t310_;
    std::unique_ptr<SimT310SerialLink> t310Link_;
    std::unique_ptr<QTimer> timer_;
    std::unique_ptr<QTimer> okPresser_;
    std::unique_ptr<SimulatedWizardSession> wizard_;
    std::unique_ptr<SimulatedCloseOnInput> closer_;
};

} // namespace

std::unique_ptr<SimulatedMeterSwitch> SimulatedMeterSwitch::FromEnvironment()
{
    const char* value = std::getenv(kVariable);
    if (value == nullptr || *value == '\0') return nullptr;
    const std::string family = value;
    if (family != "T-310" && family != "T-140" && family != "T-520D") {
        std::fprintf(stderr, "Zarndesk: %s names no meter family (T-310, T-140 or T-520D): %s\n", kVariable, value);
        return nullptr;
    }
    return std::make_unique<Switch>(family);
}
