// The profile commands' window openers run the editor, the manual entry and the reference views.
#include "ui/main/CKZARN_ProfileWindows.h"

#include "tests/support/ScratchFolder.h"
#include "tests/support/ScriptedPromptService.h"
#include "ui/views/CKZARN_EditDlg.h"
#include "ui/views/CKZARN_ManualDlg.h"
#include "ui/views/CKZARN_RefMultiDlg.h"
#include "ui/views/CKZARN_RefSingleDlg.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

// Runs the opener and returns the class name of the modal dialog it showed (closed again at once).
std::string OpenedDialog(const std::function<void()>& open)
{
    std::string name;
    QTimer::singleShot(0, [&name]() {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            name = dialog->metaObject()->className();
            dialog->done(IDOK);
        }
    });
    open();
    return name;
}

} // namespace

TEST(ProfileWindowsViews, OpenersRunTheViews)
{
    ScriptedPromptService prompts;
    // The views list the Profile folder of a user data folder of the test's own.
    ScratchFolder data;
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
    CKZARN_ProfileWindows::Reset();
    CKZARN_ProfileWindows& windows = CKZARN_ProfileWindows::Current();
    EXPECT_EQ(OpenedDialog([&]() { windows.openEditor(nullptr); }), "CKZARN_EditDlg");
    EXPECT_EQ(OpenedDialog([&]() { windows.openRefSingle(nullptr); }), "CKZARN_RefSingleDlg");
    EXPECT_EQ(OpenedDialog([&]() { windows.openRefMulti(nullptr); }), "CKZARN_RefMultiDlg");
    EXPECT_EQ(OpenedDialog([&]() { windows.openManual(nullptr, 0, std::string()); }), "CKZARN_ManualDlg");
    if (old != nullptr) {
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
}
