#pragma once

#include <QString>

namespace zq::platform {

/// A file the user is not meant to see: a dot file, or one whose FAT "hidden" attribute is set on a file
/// system that exposes it (vfat/msdos mounts answer FAT_IOCTL_GET_ATTRIBUTES).
bool IsHiddenFile(const QString& path);

}  // namespace zq::platform
