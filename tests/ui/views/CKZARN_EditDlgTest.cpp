#include "ui/views/CKZARN_EditDlg.h"

#include "core/util/CLangTable.h"
#include "tests/support/ScriptedPromptService.h"
#include "tests/ui/views/ProfileFolderRig.h"
#include "tests/ui/views/ViewsCommaLocale.h"
#include "ui/controls/CCustomEdit.h"

#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

using Rules = CKZARN_EditValueRules;
constexpr int kSave = 257;
constexpr int kSaveAs = 258;
constexpr int kDiscard = 259;
constexpr int kStay = 260;

struct EditorRig {
    ProfileFolderRig folder;
    ScriptedPromptService prompts;
    std::string path;
    CKZARN_EditDlg dialog;

    // more: writes further profiles before the dialog lists them.
    explicit EditorRig(void (*more)() = nullptr)
    {
        path = folder.WriteProfile("Studio", {100, 400});
        if (more != nullptr) {
            more();
        }
        dialog.OnInitDialog();
    }

    void Choose(const std::string& name)
    {
        QComboBox* combo = dialog.ProfileCombo();
        combo->setCurrentIndex(combo->findText(QString::fromStdString(name)));
        dialog.OnProfileChange();
    }

    // Types a text into a field and presses Enter.
    void Type(int field, const char* text)
    {
        dialog.Field(field)->setText(text);
        QTest::keyClick(dialog.Field(field), Qt::Key_Return);
    }

    bool ShownFileLocked() const
    {
        const auto& paths = CFileLockManager::GetInstance()->Paths();
        const auto it = paths.find(path);
        return it != paths.end() && it->second != CFileLockManager::kInvalidHandle;
    }

    double SavedCppLevel() const
    {
        ZarnLib_Profile saved;
        const ZarnLibString kpf(path.c_str());
        EXPECT_EQ(LoadProfile(&kpf, &saved), 0);
        _ZARNLIB_VECTOR2 five[5];
        double extra = 0;
        EXPECT_EQ(saved.GetTablePoints(ProfileFolderRig::Key(100), 0, five, &extra), 0);
        return five[3].y;
    }
};

} // namespace

TEST(EditDlg, OpensWithoutAProfileAndEmptyDisabledFields)
{
    EditorRig rig;
    EXPECT_EQ(rig.dialog.ProfileCombo()->currentText().toStdString(), GetLangString(132));
    EXPECT_EQ(rig.dialog.ProfileCombo()->count(), 2);
    EXPECT_EQ(rig.dialog.IsoCombo()->currentText().toStdString(), "100");
    EXPECT_EQ(rig.dialog.IsoCombo()->count(), 67);
    for (const int id : {1023, 1024, 1027, 1032, 1066, 1067, 1068, 1069, 1070}) {
        EXPECT_FALSE(rig.dialog.Field(id)->isEnabled()) << id;
        EXPECT_TRUE(rig.dialog.Field(id)->text().isEmpty()) << id;
    }
    EXPECT_EQ(rig.dialog.windowTitle().toStdString(), GetLangString(5000));
}

TEST(EditDlg, ChoosingAProfileShowsItsPointsAndLocksTheFile)
{
    EditorRig rig;
    rig.Choose("Studio");
    ASSERT_EQ(rig.dialog.IsLoaded(), 1);
    EXPECT_TRUE(rig.ShownFileLocked());
    EXPECT_TRUE(rig.dialog.Field(1066)->isEnabled());
    EXPECT_EQ(rig.dialog.Field(1066)->text().toStdString(), "230");
    EXPECT_EQ(rig.dialog.Field(1068)->text().toStdString(), "118");
    // ISO speeds with a table of their own carry the icon.
    EXPECT_FALSE(rig.dialog.IsoCombo()->itemIcon(rig.dialog.IsoCombo()->findText("400")).isNull());
    EXPECT_TRUE(rig.dialog.IsoCombo()->itemIcon(rig.dialog.IsoCombo()->findText("200")).isNull());
    // An ISO without a table: no curve, empty disabled fields.
    rig.dialog.IsoCombo()->setCurrentIndex(rig.dialog.IsoCombo()->findText("200"));
    rig.dialog.RefreshGraph();
    EXPECT_FALSE(rig.dialog.Field(1066)->isEnabled());
}

TEST(EditDlg, IsoIconsFollowLightAndMeteringButNotTheIso)
{
    EditorRig rig;
    rig.Choose("Studio");
    const int passes = rig.dialog.IsoIconPasses();
    emit rig.dialog.IsoCombo()->activated(3);
    EXPECT_EQ(rig.dialog.IsoIconPasses(), passes);
    emit rig.dialog.LightCombo()->activated(1);
    EXPECT_EQ(rig.dialog.IsoIconPasses(), passes + 1);
    emit rig.dialog.MeteringCombo()->activated(1);
    EXPECT_EQ(rig.dialog.IsoIconPasses(), passes + 2);
}

TEST(EditDlg, EnterWithAnUnchangedValueStillAsksToSave)
{
    EditorRig rig;
    rig.Choose("Studio");
    rig.Type(1066, "230");
    EXPECT_EQ(rig.dialog.IsModified(), 1);
    rig.prompts.Answer(kDiscard);
    rig.dialog.reject(); // Escape or the close box
    ASSERT_EQ(rig.prompts.Prompts().size(), 1u);
    EXPECT_TRUE(rig.prompts.Prompts()[0].fourButtons);
    EXPECT_EQ(rig.prompts.Prompts()[0].texts[1], GetLangString(5001));
    EXPECT_EQ(rig.prompts.Prompts()[0].defaultResult, kStay);
    EXPECT_EQ(rig.dialog.result(), IDOK);
}

TEST(EditDlg, EmptyOrSignOnlyFieldsChangeNothing)
{
    EditorRig rig;
    rig.Choose("Studio");
    for (const char* text : {"", "-", "+"}) {
        rig.Type(1066, text);
        EXPECT_EQ(rig.dialog.Rules().Points().level[kEditCpp], 230) << text;
        EXPECT_EQ(rig.dialog.Field(1066)->text().toStdString(), "230") << text;
        EXPECT_EQ(rig.dialog.IsModified(), 0) << text;
        EXPECT_EQ(rig.dialog.BeepCount(), 0) << text;
    }
}

TEST(EditDlg, SavedPointIsReadBackFromTheFile)
{
    EditorRig rig;
    rig.Choose("Studio");
    rig.Type(1066, "240");
    ASSERT_EQ(rig.dialog.Rules().Points().level[kEditCpp], 240);
    rig.prompts.Answer(kSave);
    rig.dialog.OnBack();
    EXPECT_EQ(rig.dialog.result(), IDOK);
    EXPECT_EQ(rig.dialog.IsModified(), 0);
    EXPECT_DOUBLE_EQ(rig.SavedCppLevel(), 240);
}

TEST(EditDlg, ARefusedEditBeepsAndShowsTheOldValue)
{
    EditorRig rig;
    rig.Choose("Studio");
    rig.Type(1068, "20"); // CNT below DRM
    EXPECT_EQ(rig.dialog.BeepCount(), 1);
    EXPECT_EQ(rig.dialog.Field(1068)->text().toStdString(), "118");
    EXPECT_EQ(rig.dialog.IsModified(), 0);
}

TEST(EditDlg, EveryFailedSaveKeepsTheFileTheChangesAndTheLock)
{
    enum Failure { ReadOnly, NameCancelled, WriteFails, StayAnswer };
    for (const Failure failure : {ReadOnly, NameCancelled, WriteFails, StayAnswer}) {
        EditorRig rig;
        rig.Choose("Studio");
        rig.Type(1066, "240");
        const std::string before = ProfileFolderRig::ReadAll(rig.path);
        namespace fs = std::filesystem;
        switch (failure) {
        case ReadOnly:
            fs::permissions(rig.path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
            rig.prompts.Answer(kSave);
            rig.prompts.Answer(IDOK);
            break;
        case NameCancelled:
            rig.dialog.askSaveName = [](const std::string&, std::string*) { return false; };
            rig.prompts.Answer(kSaveAs);
            break;
        case WriteFails:
            // Saving under a name whose file place is taken by a folder.
            fs::create_directory(CKZARN_Common::GetProfilePath("Taken"));
            rig.dialog.askSaveName = [](const std::string&, std::string* chosen) {
                *chosen = "Taken";
                return true;
            };
            rig.prompts.Answer(kSaveAs);
            rig.prompts.Answer(IDOK);
            break;
        case StayAnswer:
            rig.prompts.Answer(kStay);
            break;
        }
        EXPECT_EQ(rig.dialog.ConfirmSave(), 0) << failure;
        EXPECT_EQ(rig.dialog.IsModified(), 1) << failure;
        EXPECT_EQ(ProfileFolderRig::ReadAll(rig.path), before) << failure;
        EXPECT_TRUE(rig.ShownFileLocked()) << failure;
        EXPECT_EQ(rig.prompts.Pending(), 0u) << failure;
        if (failure == ReadOnly) {
            EXPECT_EQ(rig.prompts.Prompts().back().text, GetLangString(20003));
        } else if (failure == WriteFails) {
            EXPECT_EQ(rig.prompts.Prompts().back().text, GetLangString(20004));
        }
        EXPECT_EQ(rig.dialog.Rules().Points().level[kEditCpp], 240) << failure;
    }
}

TEST(EditDlg, SaveAsWritesTheNewFileAndLocksIt)
{
    EditorRig rig;
    rig.Choose("Studio");
    rig.Type(1066, "240");
    rig.dialog.askSaveName = [](const std::string& preset, std::string* chosen) {
        EXPECT_EQ(preset, "Studio");
        *chosen = "Studio2";
        return true;
    };
    rig.prompts.Answer(kSaveAs);
    ASSERT_EQ(rig.dialog.ConfirmSave(), 1);
    EXPECT_EQ(rig.dialog.ProfileName(), "Studio2");
    EXPECT_EQ(rig.dialog.ProfileCombo()->currentText().toStdString(), "Studio2");
    const std::string copy = CKZARN_Common::GetProfilePath("Studio2");
    const auto& paths = CFileLockManager::GetInstance()->Paths();
    ASSERT_TRUE(paths.count(copy));
    EXPECT_NE(paths.at(copy), CFileLockManager::kInvalidHandle);
    EXPECT_DOUBLE_EQ(rig.SavedCppLevel(), 230); // the old file is unchanged
}

TEST(EditDlg, ChoosingAnotherProfileAsksFirstAndStaysWhenToldTo)
{
    EditorRig rig;
    rig.folder.WriteProfile("Other", {200});
    rig.Choose("Studio");
    rig.Type(1066, "240");
    rig.prompts.Answer(kStay);
    rig.Choose("Other");
    EXPECT_EQ(rig.dialog.ProfileName(), "Studio");
    EXPECT_EQ(rig.dialog.ProfileCombo()->currentText().toStdString(), "Studio");
    EXPECT_TRUE(rig.ShownFileLocked());
    EXPECT_EQ(rig.dialog.IsModified(), 1);
}

TEST(EditDlg, SavingUnderANewNameOnTheWayToAnotherProfileOpensTheChosenOne)
{
    EditorRig rig;
    rig.folder.WriteProfile("Other", {200});
    rig.Choose("Studio");
    rig.Type(1066, "240");
    rig.dialog.askSaveName = [](const std::string& /*preset*/, std::string* chosen) {
        *chosen = "Studio2";
        return true;
    };
    rig.prompts.Answer(kSaveAs);
    rig.Choose("Other");
    EXPECT_EQ(rig.dialog.ProfileName(), "Other");
    EXPECT_EQ(rig.dialog.ProfileCombo()->currentText().toStdString(), "Other");
    EXPECT_EQ(rig.dialog.IsLoaded(), 1);
    EXPECT_EQ(rig.dialog.IsModified(), 0);
    EXPECT_TRUE(std::filesystem::exists(CKZARN_Common::GetProfilePath("Studio2")));
}

TEST(EditDlg, DraggedMarkersKeepTheirUnroundedEv)
{
    EditorRig rig;
    rig.Choose("Studio");
    const double cpp = rig.dialog.Rules().Points().ev[kEditCpp];
    const double cnt = rig.dialog.Rules().Points().ev[kEditCnt];
    // The graph window's callback: marker 4 is CPP, marker 2 (CNT) is never taken.
    CKZARN_EditDlg::OnMarkerMoved(&rig.dialog, 4, cpp - 0.033);
    EXPECT_DOUBLE_EQ(rig.dialog.Rules().Points().ev[kEditCpp], cpp - 0.033);
    EXPECT_EQ(rig.dialog.IsModified(), 1);
    CKZARN_EditDlg::OnMarkerMoved(&rig.dialog, 2, 0.3);
    EXPECT_DOUBLE_EQ(rig.dialog.Rules().Points().ev[kEditCnt], cnt);
    // The table got the dragged point at once.
    _ZARNLIB_VECTOR2 five[5];
    double extra = 0;
    ASSERT_EQ(rig.dialog.Profile().GetTablePoints(ProfileFolderRig::Key(100), 0, five, &extra), 0);
    EXPECT_DOUBLE_EQ(five[3].x, cpp - 0.033);
}

namespace {

// "Wide": one photograph of a chart of 25 patches a sixth of a stop apart, so that its table spans
// about -1.9 to +2.1 EV; CPP lies at +2.0 and DRP at +1.3 once read.
void WriteWideProfile()
{
    ZarnLib_Profile profile;
    profile.SetVersion(3);
    profile.SetSubVersion(0);
    profile.SetChartKind(2);
    ZarnLib_PatchKey key = ProfileFolderRig::Key(100);
    key.SetChartKind(2);
    std::vector<_ZARNLIB_VECTOR2> patches;
    for (int i = 0; i < 25; ++i) {
        patches.push_back({static_cast<double>(i), 10.0 + i * 9.5});
    }
    ZarnLib_CnvPolyLine curve;
    curve.SetPoints(patches.data(), 25, false);
    ZarnLib_EntryKey photo;
    photo.SetIso(100);
    photo.SetShutter(33);
    photo.SetAperture(11);
    profile.AddEntry(key, photo, curve);
    const _ZARNLIB_VECTOR2 five[5] = {{-0.4, 30}, {-0.3, 50}, {0.2, 190}, {0.4, 230}, {0, 118}};
    profile.SetTablePoints(key, 0, five);
    profile.SetTablePoints(key, 1, five);
    const ZarnLibString kpf(CKZARN_Common::GetProfilePath("Wide").c_str());
    SaveProfile(&kpf, &profile);
}

} // namespace

TEST(EditDlg, UnderACommaLocaleATypedFractionIsTaken)
{
    ViewsCommaLocale locale;
    ZARN_VIEWS_REQUIRE_COMMA_LOCALE(locale);
    EditorRig rig(WriteWideProfile);
    rig.Choose("Wide");
    CCustomEdit* cpp = rig.dialog.Field(1023);
    ASSERT_TRUE(cpp->isEnabled());
    ASSERT_EQ(cpp->text().toStdString(), "+2,0");
    // Typed key by key, as a German user types it, and confirmed with Enter.
    cpp->selectAll();
    QTest::keyClicks(cpp, "1,5");
    ASSERT_EQ(cpp->text().toStdString(), "1,5");
    QTest::keyClick(cpp, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(rig.dialog.Rules().Points().ev[kEditCpp], 1.5);
    EXPECT_EQ(cpp->text().toStdString(), "+1,5");
    EXPECT_EQ(rig.dialog.IsModified(), 1);
    EXPECT_EQ(rig.dialog.BeepCount(), 0);
    // A point pasted from elsewhere means the same.
    rig.Type(1023, "1.8");
    EXPECT_DOUBLE_EQ(rig.dialog.Rules().Points().ev[kEditCpp], 1.8);
    EXPECT_EQ(cpp->text().toStdString(), "+1,8");
    EXPECT_EQ(rig.dialog.BeepCount(), 0);
}
