#include "FolderPickRule.h"

#include "Volumes.h"

#include <QDir>
#include <QFileInfo>

namespace zq {

PickedPathCheck CheckPickedPath(const QString& path)
{
    PickedPathCheck check;
    if (path.isEmpty())
        return check;
    const QString cleaned = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (cleaned == QLatin1String("/"))
        return check;
    for (const platform::Volume& volume : platform::Volumes::Removable()) {
        if (platform::SameRoot(volume.root, cleaned)) {
            check.accepted = true;
            check.path = volume.root;
            return check;
        }
    }
    for (const QString& mountPoint : platform::Volumes::AllMountPoints()) {
        if (platform::SameRoot(mountPoint, cleaned))
            return check;
    }
    check.accepted = true;
    check.path = cleaned;
    return check;
}

} // namespace zq
