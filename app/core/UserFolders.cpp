#include "UserFolders.h"

#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace zq {

bool ProgramFolderWritable()
{
    const QString folder = ProgramFolder();
    if (folder.isEmpty())
        return false;
    // Permission bits do not tell about read-only mounts; a real file does.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".write-probe-XXXXXX")));
    return probe.open();
}

QString OptionFileLocation()
{
    if (ProgramFolderWritable())
        return QDir::cleanPath(ProgramFolder()) + QStringLiteral("/config/option.ini");
    const QString folder
        = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/config");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/option.ini");
}

QString TemporaryFolder()
{
    if (ProgramFolderWritable())
        return QDir::cleanPath(ProgramFolder()) + QStringLiteral("/temp");
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/temp");
}

int EmptyTemporaryFolder(const QString& folder)
{
    if (folder.isEmpty())
        return 0;
    int removed = 0;
    const QDir dir(folder);
    const QFileInfoList entries
        = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : entries) {
        if (info.isSymLink() || !info.isFile())
            continue;
        if (QFile::remove(info.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

} // namespace zq
