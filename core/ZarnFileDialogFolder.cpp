#include "core/ZarnFileDialogFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The file dialogs run on the user-interface thread only.
QString& LastFolder()
{
    static QString folder;
    return folder;
}

} // namespace

QString ZarnFileDialogFolder::Start()
{
    if (!LastFolder().isEmpty() && QFileInfo(LastFolder()).isDir()) {
        return LastFolder();
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
        return documents;
    }
    return QDir::homePath();
}

QString ZarnFileDialogFolder::Proposal(const QString& fileName)
{
    return QDir(Start()).filePath(fileName);
}

void ZarnFileDialogFolder::Remember(const QString& chosenFile)
{
    if (!chosenFile.isEmpty()) {
        LastFolder() = QFileInfo(chosenFile).absolutePath();
    }
}

void ZarnFileDialogFolder::Forget()
{
    LastFolder().clear();
}
