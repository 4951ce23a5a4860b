#include "Commands.h"

#include <QFile>
#include <QFileInfo>

namespace zq::tool {

QString UnreadableReason(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file: %1").arg(path);
    if (info.isDir())
        return QStringLiteral("is a folder, not a recording: %1").arg(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    return {};
}

} // namespace zq::tool
