#include "Volumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <sys/statvfs.h>

namespace zq::platform {

namespace {

// mountinfo escapes space, tab, newline and backslash in paths as octal "\040" and so on.
QString unescapeMountField(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const QByteArray octal = field.mid(i + 1, 3);
            bool ok = false;
            const int value = octal.toInt(&ok, 8);
            if (ok) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

QByteArray readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(4096).trimmed();
}

QString withTrailingSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

struct MountLine {
    QString majorMinor;
    QString root; // the part of the file system mounted here ("/" unless a bind mount)
    QString mountPoint;
    QString fileSystem;
    QString source;
};

bool parseMountLine(const QByteArray& line, MountLine* out)
{
    const QList<QByteArray> fields = line.split(' ');
    const qsizetype separator = fields.indexOf("-");
    if (fields.size() < 10 || separator < 6 || separator + 2 >= fields.size())
        return false;
    out->majorMinor = QString::fromLatin1(fields[2]);
    out->root = unescapeMountField(fields[3]);
    out->mountPoint = unescapeMountField(fields[4]);
    out->fileSystem = QString::fromLatin1(fields[separator + 1]);
    out->source = unescapeMountField(fields[separator + 2]);
    return true;
}

// The sysfs folder of the block device, and of the disk that holds it.
struct DiskInfo {
    QString name;
    bool removable = false;
    bool mediumPresent = false;
};

bool findDisk(const QString& sysfsRoot, const MountLine& mount, DiskInfo* disk)
{
    QFileInfo device(sysfsRoot + QStringLiteral("/dev/block/") + mount.majorMinor);
    QString devicePath = device.exists() ? device.canonicalFilePath() : QString();
    if (devicePath.isEmpty() && mount.source.startsWith(QLatin1String("/dev/"))) {
        QFileInfo byName(sysfsRoot + QStringLiteral("/class/block/") + QFileInfo(mount.source).fileName());
        devicePath = byName.exists() ? byName.canonicalFilePath() : QString();
    }
    if (devicePath.isEmpty())
        return false;
    // A partition's folder lies inside its disk's folder and has a "partition" file.
    const QString diskPath = QFileInfo::exists(devicePath + QStringLiteral("/partition"))
        ? QFileInfo(devicePath).absolutePath()
        : devicePath;
    disk->name = QFileInfo(diskPath).fileName();
    const QByteArray removable
        = readSmallFile(sysfsRoot + QStringLiteral("/block/") + disk->name + QStringLiteral("/removable"));
    const bool onCardBus
        = diskPath.contains(QLatin1String("/usb")) || diskPath.contains(QLatin1String("/mmc"));
    disk->removable = removable == "1" || onCardBus;
    const QByteArray sectors = readSmallFile(devicePath + QStringLiteral("/size"));
    disk->mediumPresent = sectors.isEmpty() || sectors.toULongLong() > 0;
    return true;
}

QString labelOf(const QString& devicePath, const QString& mountPoint)
{
    // udev names the label links with \x20-style escapes.
    const QDir byLabel(QStringLiteral("/dev/disk/by-label"));
    if (!devicePath.isEmpty() && byLabel.exists()) {
        const QString target = QFileInfo(devicePath).canonicalFilePath();
        const QFileInfoList links = byLabel.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
        for (const QFileInfo& link : links) {
            if (!target.isEmpty() && link.canonicalFilePath() == target) {
                QString name = link.fileName();
                name.replace(QLatin1String("\\x20"), QLatin1String(" "));
                return name;
            }
        }
    }
    const QString name = QFileInfo(QDir::cleanPath(mountPoint)).fileName();
    return name;
}

quint64 totalBytesOf(const QString& mountPoint)
{
    struct statvfs info { };
    if (statvfs(QFile::encodeName(mountPoint).constData(), &info) != 0)
        return 0;
    return quint64(info.f_blocks) * quint64(info.f_frsize);
}

QByteArray readMountinfo()
{
    QFile file(Volumes::MountinfoPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll(); // procfs files report size 0; readAll reads to the end anyway
}

} // namespace

QString Volumes::MountinfoPath()
{
    const QString fake = qEnvironmentVariable("ZQ_MOUNTINFO");
    return fake.isEmpty() ? QStringLiteral("/proc/self/mountinfo") : fake;
}

bool Volumes::UsesFakeMountinfo()
{
    return !qEnvironmentVariableIsEmpty("ZQ_MOUNTINFO");
}

QString Volumes::SysfsRoot()
{
    const QString fake = qEnvironmentVariable("ZQ_SYSFS_ROOT");
    return fake.isEmpty() ? QStringLiteral("/sys") : fake;
}

QVector<Volume> Volumes::ParseRemovable(const QByteArray& mountinfo, const QString& sysfsRoot)
{
    QVector<Volume> volumes;
    QSet<QString> seenDevices;
    for (const QByteArray& line : mountinfo.split('\n')) {
        MountLine mount;
        if (!parseMountLine(line.trimmed(), &mount))
            continue;
        // A bind mount of a sub-folder is not the card's root.
        if (mount.root != QLatin1String("/"))
            continue;
        DiskInfo disk;
        if (!findDisk(sysfsRoot, mount, &disk) || !disk.removable)
            continue;
        if (seenDevices.contains(mount.majorMinor))
            continue;
        seenDevices.insert(mount.majorMinor);
        Volume volume;
        volume.root = withTrailingSlash(mount.mountPoint);
        volume.device = mount.source;
        volume.disk = disk.name;
        volume.fileSystem = mount.fileSystem;
        volume.label = labelOf(mount.source, mount.mountPoint);
        volume.totalBytes = totalBytesOf(mount.mountPoint);
        volume.mediumPresent = disk.mediumPresent;
        volumes.append(volume);
    }
    return volumes;
}

QVector<Volume> Volumes::Removable()
{
    return ParseRemovable(readMountinfo(), SysfsRoot());
}

QString Volumes::RemovableRootOf(const QString& path)
{
    const QString cleaned = withTrailingSlash(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    QString best;
    for (const Volume& volume : Removable()) {
        if (cleaned.startsWith(volume.root) && volume.root.size() > best.size())
            best = volume.root;
    }
    return best;
}

QStringList Volumes::AllMountPoints()
{
    QStringList points;
    for (const QByteArray& line : readMountinfo().split('\n')) {
        MountLine mount;
        if (parseMountLine(line.trimmed(), &mount))
            points.append(withTrailingSlash(mount.mountPoint));
    }
    return points;
}

bool SameRoot(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() && b.isEmpty();
    return withTrailingSlash(a) == withTrailingSlash(b);
}

} // namespace zq::platform
