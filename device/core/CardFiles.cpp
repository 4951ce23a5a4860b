#include "CardFiles.h"

#include "Volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace zq::device {

QString CardRootWithSlash(const QString& root)
{
    if (root.isEmpty() || root.endsWith('/'))
        return root;
    return root + '/';
}

QString FindFileInRoot(const QString& root, const QString& name, Qt::CaseSensitivity cs)
{
    if (root.isEmpty() || name.isEmpty())
        return {};
    const QDir dir(root);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, cs) == 0)
            return entry;
    }
    return {};
}

bool FileExistsInRoot(const QString& root, const QString& name, Qt::CaseSensitivity cs)
{
    return !FindFileInRoot(root, name, cs).isEmpty();
}

CardWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes,
    const std::function<bool()>& beforeCommit, const QString& abandonReason)
{
    const QString name = QFileInfo(path).fileName();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return CardWriteResult::Failure(name, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return CardWriteResult::Failure(name, reason);
    }
    if (beforeCommit && !beforeCommit()) {
        file.cancelWriting();
        return CardWriteResult::Failure(name, abandonReason);
    }
    if (!file.commit())
        return CardWriteResult::Failure(name, file.errorString());
    return {};
}

} // namespace zq::device

namespace zq::device {

quint64 CardCapacity(const platform::Volume& volume)
{
    const QString name = QFileInfo(volume.device).fileName();
    const QString block = platform::Volumes::SysfsRoot() + QStringLiteral("/block/") + volume.disk;
    QFile size(
        name == volume.disk ? block + QStringLiteral("/size") : block + '/' + name + QStringLiteral("/size"));
    if (!name.isEmpty() && !volume.disk.isEmpty() && size.open(QIODevice::ReadOnly)) {
        bool ok = false;
        const quint64 sectors = size.readAll().trimmed().toULongLong(&ok);
        if (ok && sectors > 0)
            return sectors * 512;
    }
    return volume.totalBytes;
}

} // namespace zq::device
