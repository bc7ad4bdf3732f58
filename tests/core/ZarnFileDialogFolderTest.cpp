#include "core/ZarnFileDialogFolder.h"

#include "tests/support/ScratchHome.h"

#include <QDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// A scratch home, and the dialogs' last folder forgotten before and after.
struct HomeRig {
    ScratchHome home;
    HomeRig() { ZarnFileDialogFolder::Forget(); }
    ~HomeRig() { ZarnFileDialogFolder::Forget(); }
    QString Path(const std::string& name = std::string()) const
    {
        return QDir::cleanPath(QString::fromStdString(name.empty() ? home.Path() : home.File(name)));
    }
};

} // namespace

TEST(ZarnFileDialogFolder, StartsInDocumentsThenTheLastFolderUsedNeverTheWorkingFolder)
{
    HomeRig rig;
    ASSERT_NE(QDir::currentPath(), rig.Path());
    // No documents folder yet: the home folder.
    EXPECT_EQ(ZarnFileDialogFolder::Start(), rig.Path());
    std::filesystem::create_directories(rig.home.File("Documents"));
    EXPECT_EQ(ZarnFileDialogFolder::Start(), rig.Path("Documents"));
    EXPECT_EQ(ZarnFileDialogFolder::Proposal(QStringLiteral("Zarndesk.pdf")), rig.Path("Documents/Zarndesk.pdf"));

    std::filesystem::create_directories(rig.home.File("backups"));
    ZarnFileDialogFolder::Remember(rig.Path("backups/T-520D.csv"));
    EXPECT_EQ(ZarnFileDialogFolder::Start(), rig.Path("backups"));
    ZarnFileDialogFolder::Remember(QString());
    EXPECT_EQ(ZarnFileDialogFolder::Start(), rig.Path("backups")) << "an empty choice changes nothing";
    // A last folder that has gone is passed over.
    std::filesystem::remove_all(rig.home.File("backups"));
    EXPECT_EQ(ZarnFileDialogFolder::Start(), rig.Path("Documents"));
}
