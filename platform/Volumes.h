#pragma once

#include <QString>
#include <QVector>

namespace zq::platform {

/// One mounted file system on a removable disk (a memory card in a reader, a USB stick).
struct Volume {
    QString root; // mount point, always ending in "/"
    QString label; // file-system label, else the mount point's last component
    QString device; // block device of the file system, e.g. "/dev/sdb1"
    QString disk; // the disk it lies on, e.g. "sdb"
    QString fileSystem; // e.g. "vfat", "exfat"
    quint64 totalBytes = 0;
    bool mediumPresent = false;
};

/// The removable volumes, read from /proc/self/mountinfo and /sys. For tests the same code reads the
/// files named by ZQ_MOUNTINFO (a mountinfo file) and ZQ_SYSFS_ROOT (a tree standing in for /sys), so any
/// folder can stand in for a card. The position in the list takes the place of a drive index.
class Volumes {
public:
    /// Removable volumes in mountinfo order, each disk device once.
    static QVector<Volume> Removable();

    /// Parses mountinfo text against a sysfs tree; what Removable() does with the real or fake files.
    static QVector<Volume> ParseRemovable(const QByteArray& mountinfo, const QString& sysfsRoot);

    /// The mountinfo file in use (ZQ_MOUNTINFO or /proc/self/mountinfo) and whether it is a fake one.
    static QString MountinfoPath();
    static bool UsesFakeMountinfo();
    static QString SysfsRoot();

    /// The removable volume whose mount root holds the path (the longest matching root); empty when none.
    static QString RemovableRootOf(const QString& path);

    /// Mount points of every file system, removable or not (for refusing a system folder as a target).
    static QStringList AllMountPoints();
};

/// Compares two folder paths as mount roots: a trailing "/" does not count.
bool SameRoot(const QString& a, const QString& b);

} // namespace zq::platform
