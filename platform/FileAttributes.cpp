#include "FileAttributes.h"

#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace zq::platform {

namespace {

static_assert(kFatAttributeHidden == ATTR_HIDDEN);

class SystemFatAttributeProbe final : public FatAttributeProbe {
public:
    bool HasFatAttributes(int folderFd) const override
    {
        // vfat and msdos both report MSDOS_SUPER_MAGIC; no other file system answers the FAT ioctl.
        struct statfs info { };
        return ::fstatfs(folderFd, &info) == 0 && info.f_type == MSDOS_SUPER_MAGIC;
    }

    bool ReadAttributes(int folderFd, const char* name, quint32* attributes) const override
    {
        const int fd = ::openat(folderFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
        if (fd < 0)
            return false;
        const bool read = ::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, attributes) == 0;
        ::close(fd);
        return read;
    }
};

const SystemFatAttributeProbe kSystemProbe;
std::atomic<const FatAttributeProbe*> g_probe { &kSystemProbe };

} // namespace

const FatAttributeProbe& CurrentFatAttributeProbe()
{
    return *g_probe.load(std::memory_order_acquire);
}

void SetFatAttributeProbe(const FatAttributeProbe* probe)
{
    g_probe.store(probe ? probe : &kSystemProbe, std::memory_order_release);
}

bool IsHiddenFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.fileName().startsWith(QLatin1Char('.')))
        return true;
    const int folderFd
        = ::open(QFile::encodeName(info.path()).constData(), O_RDONLY | O_CLOEXEC | O_DIRECTORY);
    if (folderFd < 0)
        return false;
    const FatAttributeProbe& probe = CurrentFatAttributeProbe();
    quint32 attributes = 0;
    const bool hidden = probe.HasFatAttributes(folderFd)
        && probe.ReadAttributes(folderFd, QFile::encodeName(info.fileName()).constData(), &attributes)
        && (attributes & kFatAttributeHidden) != 0;
    ::close(folderFd);
    return hidden;
}

} // namespace zq::platform
