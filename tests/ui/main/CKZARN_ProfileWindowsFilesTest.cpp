// The file dialogs of the profile and backup commands: each filter shows its pattern once, and the
// dialogs start in the documents folder, then in the folder of the last file chosen.
#include "ui/main/CKZARN_ProfileWindows.h"

#include "core/ZarnFileDialogFolder.h"
#include "core/util/CLangTable.h"
#include "tests/support/ScratchHome.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct SeenDialog {
    QString folder;
    QStringList filters;
};

// Runs the dialog call; while the file dialog is up, notes where it is and what it offers, then
// chooses the file (accept) or cancels (empty choice).
template <typename Call>
SeenDialog RunFileDialog(const QString& choose, Call call)
{
    SeenDialog seen;
    QTimer::singleShot(0, [&seen, choose]() {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no file dialog";
            if (QWidget* other = QApplication::activeModalWidget()) other->close();
            return;
        }
        seen.folder = QDir::cleanPath(dialog->directory().absolutePath());
        seen.filters = dialog->nameFilters();
        if (choose.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(choose);
            static_cast<QDialog*>(dialog)->accept();
        }
    });
    call();
    return seen;
}

} // namespace

TEST(ProfileWindowsFiles, FilterTextShowsEachPatternOnce)
{
    const struct {
        CKZARN_ProfileWindows::Filters filters;
        const char* text;
    } cases[] = {
        {{{GetLangString(138), "*.csv"}}, "Backup files (*.csv)"},
        {{{GetLangString(137), "*.kpf"}, {GetLangString(136), "*.*"}}, "Exposure profiles (*.kpf);;All files (*.*)"},
        {{{"Pictures", "*.jpg"}}, "Pictures (*.jpg)"},
        {{{"Backups (*.csv) old", "*.csv"}}, "Backups (*.csv) old (*.csv)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CKZARN_ProfileWindows::FilterText(c.filters).toStdString(), c.text);
    }
}

TEST(ProfileWindowsFiles, DialogsStartInTheDocumentsFolderThenTheLastFolderUsed)
{
    ScratchHome home;
    ZarnFileDialogFolder::Forget();
    std::filesystem::create_directories(home.File("Documents"));
    std::filesystem::create_directories(home.File("backups"));
    std::ofstream(home.File("backups/T-520D.csv")) << "x\n";
    CKZARN_ProfileWindows::Reset();
    CKZARN_ProfileWindows& windows = CKZARN_ProfileWindows::Current();
    const CKZARN_ProfileWindows::Filters backups{{GetLangString(138), "*.csv"}};
    const QString documents = QDir::cleanPath(QString::fromStdString(home.File("Documents")));
    const QString chosen = QString::fromStdString(home.File("backups/T-520D.csv"));

    // Cancelled: nothing is chosen and the start folder stays.
    std::vector<std::string> paths;
    SeenDialog seen = RunFileDialog(QString(), [&]() { paths = windows.openFiles("Send", backups, false); });
    EXPECT_EQ(seen.folder, documents);
    EXPECT_EQ(seen.filters, QStringList{QStringLiteral("Backup files (*.csv)")});
    EXPECT_TRUE(paths.empty());

    seen = RunFileDialog(chosen, [&]() { paths = windows.openFiles("Send", backups, false); });
    EXPECT_EQ(seen.folder, documents);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(QDir::cleanPath(QString::fromStdString(paths.front())), QDir::cleanPath(chosen));

    // The save dialog starts where the last file was chosen.
    std::string saved;
    seen = RunFileDialog(QString(), [&]() { saved = windows.saveFile("Receive", backups, "csv", "T-520D"); });
    EXPECT_EQ(seen.folder, QDir::cleanPath(QString::fromStdString(home.File("backups"))));
    EXPECT_TRUE(saved.empty());
    ZarnFileDialogFolder::Forget();
}
