#include "FileAttributes.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zq::platform {

bool IsHiddenFile(const QString& path)
{
    if (QFileInfo(path).fileName().startsWith(QLatin1Char('.')))
        return true;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return false;
    quint32 attributes = 0;
    const bool fat = ::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &attributes) == 0;
    ::close(fd);
    return fat && (attributes & ATTR_HIDDEN) != 0;
}

}  // namespace zq::platform
