// The downloader's window carries the program's own icon, and so do the dialogs opened over it.
#include "flash/ui/CZarnflashDlg.h"

#include "platform/SystemFolders.h"
#include "ui/controls/ProgramIcon.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

TEST(FlashProgramIcon, MainDialogAndApplicationCarryTheProgramIcon)
{
    SystemFolders::SetProgramFolderOverride(ZARN_SOURCE_DIR "/data");
    QApplication::setWindowIcon(QIcon());
    const QImage expected = ProgramIcon::Load("Zarnflash").pixmap(32, 32).toImage();
    ASSERT_FALSE(expected.isNull());
    {
        CZarnflashDlg dialog({"Zarnflash"});
        EXPECT_EQ(dialog.windowIcon().pixmap(32, 32).toImage(), expected);
        EXPECT_EQ(QApplication::windowIcon().pixmap(32, 32).toImage(), expected);
    }
    QApplication::setWindowIcon(QIcon());
    SystemFolders::SetProgramFolderOverride("");
}
