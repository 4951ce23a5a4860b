#pragma once

#include <QString>
#include <QtGlobal>

namespace zq::platform {

/// A file the user is not meant to see: a dot file, or one whose FAT "hidden" attribute is set on a file
/// system that keeps FAT attributes (vfat and msdos mounts).
bool IsHiddenFile(const QString& path);

/// How FAT attributes are read from the operating system. Only FAT file systems keep them, so a folder is
/// asked once (statfs) and its files only when it is on FAT. Tests put a fake in place of the real one,
/// since a FAT volume cannot be mounted everywhere.
class FatAttributeProbe {
public:
    virtual ~FatAttributeProbe() = default;
    /// True when the folder open as `folderFd` lies on a file system that keeps FAT attributes.
    virtual bool HasFatAttributes(int folderFd) const = 0;
    /// The FAT attribute bits of the entry `name` of that folder (a link is not followed); false when they
    /// cannot be read.
    virtual bool ReadAttributes(int folderFd, const char* name, quint32* attributes) const = 0;
};

/// The probe the listing uses: the operating system's unless a test set another.
const FatAttributeProbe& CurrentFatAttributeProbe();
/// Puts `probe` in place (nullptr: the operating system's again). The caller keeps it alive while in use.
void SetFatAttributeProbe(const FatAttributeProbe* probe);

/// FAT's "hidden" attribute bit.
constexpr quint32 kFatAttributeHidden = 0x02;

} // namespace zq::platform
