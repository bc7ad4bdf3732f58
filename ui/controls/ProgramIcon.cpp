#include "ui/controls/ProgramIcon.h"

#include "platform/SystemFolders.h"

#include <QDir>
#include <QFileInfo>

QIcon ProgramIcon::Load(const char* programName)
{
    const QString path = QDir(QString::fromStdString(SystemFolders::ProgramFolder()))
                             .filePath(QString::fromUtf8(programName) + QStringLiteral(".png"));
    // QIcon of a missing file is not null, so the file is looked for first.
    return QFileInfo(path).isFile() ? QIcon(path) : QIcon();
}
