#include "ui/views/CKZARN_ManualProfileModel.h"

#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "tests/support/ScratchFolder.h"
#include "ui/views/CKZARN_ProfileFileSaver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using Model = CKZARN_ManualProfileModel;
constexpr int kIso400Row = 21; // 3, 4, 5, 6, 8, 10, 12, 16, 20, 25, ..., 320, 400

int RowOfIso(const Model& m, int iso)
{
    for (std::size_t i = 0; i < m.Rows().size(); ++i) {
        if (m.Rows()[i].iso == iso) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(ManualProfileModel, NewProfileShowsDefaultsInEveryRow)
{
    Model m;
    ASSERT_TRUE(m.Start(0, ""));
    m.BuildRows(0, 0);
    ASSERT_EQ(m.Rows().size(), 67u);
    EXPECT_EQ(m.Rows().front().iso, 3);
    EXPECT_EQ(m.Rows().back().iso, 13107200);
    EXPECT_EQ(RowOfIso(m, 400), kIso400Row);
    for (const ManualRow& r : m.Rows()) {
        EXPECT_EQ(r.rowMark, 0);
        EXPECT_EQ(std::vector<double>(r.values, r.values + 5), (std::vector<double>{0, -3.5, -2.5, 2.5, 3.5}));
    }
    EXPECT_EQ(m.Profile().GetVersion(), 3);
    EXPECT_EQ(m.Profile().GetSubVersion(), 1);
    EXPECT_EQ(m.IsProfileEmpty(), 1);
}

TEST(ManualProfileModel, BoundsOfTypedAndDraggedValues)
{
    // Starting from the defaults of one row: adjustment 0, CPM -3.5, DRM -2.5, DRP +2.5, CPP +3.5.
    const struct {
        const char* what;
        int kind;
        double value;
        bool round;
        int result;
        int changed;
        double stored;
    } cases[] = {
        {"adjustment +6 refused", 0, 6.0, true, Model::kRefused, 0, 0.0},
        {"adjustment +5 accepted", 0, 5.0, true, 0, 1, 5.0},
        {"adjustment 4.96 stored as 5.0", 0, 4.96, true, 0, 1, 5.0},
        {"CPM equal to DRM accepted", 1, -2.5, true, 0, 1, -2.5},
        {"CPM above DRM refused", 1, -2.4, true, Model::kRefused, 0, -3.5},
        {"CPM below -10 refused", 1, -10.1, true, Model::kRefused, 0, -3.5},
        {"DRM above medium refused", 2, 0.1, true, Model::kRefused, 0, -2.5},
        {"DRP at medium accepted", 3, 0.0, true, 0, 1, 0.0},
        {"CPP below DRP refused", 4, 2.4, true, Model::kRefused, 0, 3.5},
        {"CPP +10 accepted", 4, 10.0, true, 0, 1, 10.0},
        {"dragged CPM stored unrounded", 1, -3.46, false, 0, 1, -3.46},
        {"dragged to the same value: nothing", 1, -3.5 + 1e-7, false, 0, 0, -3.5},
        {"typed same tenth still counts", 1, -3.5, true, 0, 1, -3.5},
    };
    for (const auto& c : cases) {
        Model m;
        m.Start(0, "");
        m.BuildRows(0, 0);
        int changed = -1;
        bool beep = false;
        EXPECT_EQ(m.SetValue(kIso400Row, c.kind, c.value, c.round, &changed, 0, 0, &beep), c.result) << c.what;
        EXPECT_EQ(changed, c.changed) << c.what;
        EXPECT_EQ(beep, c.result == Model::kRefused) << c.what;
        EXPECT_DOUBLE_EQ(m.Rows()[kIso400Row].values[c.kind], c.stored) << c.what;
        EXPECT_EQ(m.IsProfileEmpty(), c.result == 0 && c.changed ? 0 : 1) << c.what;
    }
    Model m;
    m.Start(0, "");
    m.BuildRows(0, 0);
    int changed = 0;
    EXPECT_EQ(m.SetValue(-1, 1, -3.0, true, &changed, 0, 0, nullptr), Model::kRefused);
    EXPECT_EQ(m.SetValue(0, 5, -3.0, true, &changed, 0, 0, nullptr), Model::kRefused);
}

TEST(ManualProfileModel, ADragThenTheSameTenthTypedKeepsTheDraggedValueAndWritesAgain)
{
    Model m;
    m.Start(0, "");
    m.BuildRows(0, 0);
    int changed = 0;
    ASSERT_EQ(m.SetValue(kIso400Row, 1, -3.46, false, &changed, 0, 0, nullptr), 0);
    ASSERT_EQ(m.SetValue(kIso400Row, 1, -3.5, true, &changed, 0, 0, nullptr), 0);
    EXPECT_EQ(changed, 1);
    EXPECT_DOUBLE_EQ(m.Rows()[kIso400Row].values[1], -3.46);
}

TEST(ManualProfileModel, ATypedRowGetsATableAndTheOthersFollowIt)
{
    Model m;
    m.Start(0, "");
    m.BuildRows(0, 0);
    int changed = 0;
    ASSERT_EQ(m.SetValue(kIso400Row, 4, 5.0, true, &changed, 0, 0, nullptr), 0);
    m.Rows()[kIso400Row].rowMark = 1;
    m.RefreshRows(0, 0);
    // Every row now takes the one table's values; only the typed row is marked.
    for (std::size_t i = 0; i < m.Rows().size(); ++i) {
        EXPECT_DOUBLE_EQ(m.Rows()[i].values[4], 5.0) << i;
        EXPECT_EQ(m.Rows()[i].rowMark, i == kIso400Row ? 1 : 0) << i;
    }
    // The other light source and the other block have no table.
    m.BuildRows(1, 0);
    EXPECT_DOUBLE_EQ(m.Rows()[kIso400Row].values[4], 3.5);
    EXPECT_EQ(m.Rows()[kIso400Row].rowMark, 0);
    m.BuildRows(0, 1);
    EXPECT_EQ(m.Rows()[kIso400Row].rowMark, 0);
    m.BuildRows(0, 0);
    EXPECT_EQ(m.Rows()[kIso400Row].rowMark, 1);
    // Resetting the row removes the table.
    EXPECT_EQ(m.ResetRow(kIso400Row, 0, 0), 0);
    EXPECT_EQ(m.IsProfileEmpty(), 1);
    EXPECT_EQ(m.ResetRow(-1, 0, 0), Model::kRefused);
}

TEST(ManualProfileModel, SavedProfileLoadsBackInEditMode)
{
    ScratchFolder folder;
    const std::string path = folder.File("Typed.kpf");
    {
        Model m;
        m.Start(0, "");
        m.BuildRows(0, 0);
        int changed = 0;
        ASSERT_EQ(m.SetValue(kIso400Row, 2, -1.5, true, &changed, 0, 0, nullptr), 0);
        ASSERT_EQ(m.Save(path), CKZARN_ProfileFileSaver::kSaved);
        EXPECT_EQ(m.Path(), path);
    }
    Model again;
    ASSERT_TRUE(again.Start(2, path));
    again.BuildRows(0, 0);
    EXPECT_EQ(again.Rows()[kIso400Row].rowMark, 1);
    EXPECT_DOUBLE_EQ(again.Rows()[kIso400Row].values[2], -1.5);
    EXPECT_EQ(again.Profile().GetSubVersion(), 1);
}

TEST(ManualProfileModel, AFileThatDoesNotLoadLeavesNothingToEdit)
{
    ScratchFolder folder;
    const std::string path = folder.File("Broken.kpf");
    {
        Model m;
        m.Start(0, "");
        m.BuildRows(0, 0);
        int changed = 0;
        m.SetValue(kIso400Row, 2, -1.5, true, &changed, 0, 0, nullptr);
        m.SetValue(kIso400Row + 3, 2, -1.5, true, &changed, 0, 0, nullptr);
        ASSERT_EQ(m.Save(path), CKZARN_ProfileFileSaver::kSaved);
    }
    // Cut the file after its first table.
    const std::string whole = ReadAll(path);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << whole.substr(0, whole.size() * 2 / 3);
    Model m;
    EXPECT_FALSE(m.Start(2, path));
    m.BuildRows(0, 0);
    EXPECT_TRUE(m.Rows().empty());
    EXPECT_EQ(m.IsProfileEmpty(), 1);
    EXPECT_TRUE(m.Path().empty());
    EXPECT_FALSE(m.Start(2, ""));
}

TEST(ManualProfileModel, FailedSavesLeaveTheFileAsItWas)
{
    ScratchFolder folder;
    const std::string path = folder.File("Kept.kpf");
    std::ofstream(path) << "old contents";
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    Model m;
    m.Start(0, "");
    m.BuildRows(0, 0);
    int changed = 0;
    m.SetValue(kIso400Row, 2, -1.5, true, &changed, 0, 0, nullptr);
    EXPECT_EQ(m.Save(path), CKZARN_ProfileFileSaver::kReadOnly);
    EXPECT_EQ(ReadAll(path), "old contents");
    EXPECT_TRUE(m.Path().empty());
    // A folder that does not exist.
    EXPECT_EQ(m.Save(folder.File("missing/Typed.kpf")), CKZARN_ProfileFileSaver::kWriteFailed);
    EXPECT_TRUE(m.Path().empty());
}
