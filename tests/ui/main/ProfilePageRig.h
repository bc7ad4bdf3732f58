// The main window with its own profile page on a simulated meter (its progress dialogs answered), a scratch program folder and a
// Profile folder with a few profiles: alpha and beta (version 3), old (version 2) and CAMERA_DEFAULT
// in the program folder.
#pragma once

#include "tests/ui/main/MainDlgRig.h"

#include "core/CKZARN_Common.h"
#include "meter/CKZARN_TransferData.h"
#include "meter/CZarnCommand.h"
#include "meter/MeterFamily.h"
#include "platform/SystemFolders.h"
#include "tests/support/TestProfileFiles.h"
#include "tests/ui/meter/ProgressDialogWatcher.h"
#include "ui/controls/CKZARN_ProfileListCtrl.h"
#include "ui/main/CKZARN_ProfileWindows.h"

#include <functional>

struct FamilyCase {
    const char* name;
    std::function<void(MainDlgRig&)> attach;
    int family;
    int slotCount;
};

inline std::string PrintFamily(const ::testing::TestParamInfo<FamilyCase>& info)
{
    return info.param.name;
}

struct ProfilePageRig {
    MainDlgRig rig;
    // Presses the progress dialog's OK where a meter command waits for it, as the user does.
    ProgressDialogWatcher watcher;
    std::string profiles;

    ProfilePageRig()
    {
        rig.journal.realProfilePage = true;
        std::filesystem::create_directories(rig.scratch.File("program"));
        SystemFolders::SetProgramFolderOverride(rig.scratch.File("program"));
        profiles = CKZARN_Common::GetFolderPath(2);
        EXPECT_TRUE(TestProfileFiles::Write(rig.scratch.File("program/CAMERA_DEFAULT.kpf"), 3, 0, {100}));
        EXPECT_TRUE(TestProfileFiles::Write(File("alpha"), 3, 0, {100, 400}, 1, -4.0, 4.2));
        EXPECT_TRUE(TestProfileFiles::Write(File("beta"), 3, 0, {100}, 1, -5.0, 3.0));
        EXPECT_TRUE(TestProfileFiles::Write(File("old"), 2, 0, {100}));
    }
    ~ProfilePageRig()
    {
        CKZARN_ProfileWindows::Reset();
        SystemFolders::SetProgramFolderOverride("");
    }

    std::string File(const std::string& name) const { return profiles + "/" + name + ".kpf"; }
    CKZARN_MainProfileForm* Page() const { return rig.dialog->ProfileForm(); }

    // Starts the window with the meter attached and waits for its slots.
    void StartWith(const FamilyCase& c)
    {
        rig.Start();
        c.attach(rig);
        rig.Round();
    }

    static int Row(const CKZARN_ProfileListCtrl* list, const std::string& name)
    {
        for (int i = 0; i < list->GetItemCount(); ++i) {
            if (list->GetItemText(i) == name) return i;
        }
        return -1;
    }
    static std::vector<std::string> Texts(const CKZARN_ProfileListCtrl* list)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < list->GetItemCount(); ++i) texts.push_back(list->GetItemText(i));
        return texts;
    }

    // The meter's profile memory as the worker reads it now.
    CKZARN_TransferData ReadMeter(int family)
    {
        static constexpr int kRead[] = {ZARN_CMD_T310_READ_PROFILES, ZARN_CMD_T140_READ_PROFILES,
                                        ZARN_CMD_T520_READ_PROFILES};
        CKZARN_TransferData table;
        EXPECT_EQ(rig.facade->RunCommand(kRead[family], 0), 0);
        CKZARN_LMCtrl* ctrl = rig.facade->GetLMCtrl();
        if (family == MeterFamilyT310) {
            auto block = std::make_unique<T310TransferBlock>();
            ctrl->GetT310Block(block.get());
            table.ReadT310Image(block.get());
        } else if (family == MeterFamilyT140) {
            auto block = std::make_unique<T140TransferBlock>();
            ctrl->GetT140Block(block.get());
            table.ReadT140Image(block.get());
        } else {
            auto block = std::make_unique<T520TransferBlock>();
            ctrl->GetT520Block(block.get());
            table.ReadT520Image(block.get());
        }
        return table;
    }
};

inline const std::vector<FamilyCase>& Families()
{
    static const std::vector<FamilyCase> families = {
        {"T310", [](MainDlgRig& r) { r.AddT310(); }, MeterFamilyT310, 3},
        {"T140", [](MainDlgRig& r) { r.AddT140(); }, MeterFamilyT140, 10},
        {"T520", [](MainDlgRig& r) { r.AddT520(); }, MeterFamilyT520, 10},
    };
    return families;
}
