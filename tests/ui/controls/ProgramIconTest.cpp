// Each program's icon is its picture in the program folder.
#include "ui/controls/ProgramIcon.h"

#include "platform/SystemFolders.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(ProgramIcon, EachProgramHasItsOwnPictureAndAMissingOneIsNull)
{
    SystemFolders::SetProgramFolderOverride(ZARN_SOURCE_DIR "/data");
    const QImage desk = ProgramIcon::Load("Zarndesk").pixmap(64, 64).toImage();
    const QImage flash = ProgramIcon::Load("Zarnflash").pixmap(64, 64).toImage();
    EXPECT_EQ(desk.size(), QSize(64, 64));
    EXPECT_EQ(flash.size(), QSize(64, 64));
    EXPECT_NE(desk, flash);
    // Drawn to the corners' rounding: opaque in the middle, transparent in the very corner.
    EXPECT_EQ(qAlpha(desk.pixel(32, 32)), 255);
    EXPECT_EQ(qAlpha(desk.pixel(0, 0)), 0);
    EXPECT_TRUE(ProgramIcon::Load("Zarnpatch").isNull());
    SystemFolders::SetProgramFolderOverride("");
}
