#include "FakeVolumes.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>

namespace zq::test {

namespace {

QByteArray escapeMountPath(const QString& path)
{
    QByteArray out;
    for (char c : path.toUtf8()) {
        if (c == ' ')
            out += "\\040";
        else if (c == '\t')
            out += "\\011";
        else if (c == '\\')
            out += "\\134";
        else
            out += c;
    }
    return out;
}

QString busPath(FakeVolumes::Bus bus, int index)
{
    switch (bus) {
    case FakeVolumes::Bus::Usb:
        return QStringLiteral("devices/pci0000:00/0000:00:14.0/usb1/1-%1/host%1/block").arg(index + 1);
    case FakeVolumes::Bus::Mmc:
        return QStringLiteral("devices/platform/mmc_host/mmc%1/mmc%1:0001/block").arg(index);
    case FakeVolumes::Bus::Ata:
        break;
    }
    return QStringLiteral("devices/pci0000:00/0000:00:17.0/ata%1/host%1/block").arg(index + 1);
}

} // namespace

FakeVolumes::FakeVolumes(const QString& workFolder)
    : m_folder(workFolder)
{
    m_hadMountinfo = qEnvironmentVariableIsSet("ZQ_MOUNTINFO");
    m_hadSysfs = qEnvironmentVariableIsSet("ZQ_SYSFS_ROOT");
    m_oldMountinfo = qgetenv("ZQ_MOUNTINFO");
    m_oldSysfs = qgetenv("ZQ_SYSFS_ROOT");
    Write();
    qputenv("ZQ_MOUNTINFO", MountinfoPath().toLocal8Bit());
    qputenv("ZQ_SYSFS_ROOT", SysfsRoot().toLocal8Bit());
}

FakeVolumes::~FakeVolumes()
{
    if (m_hadMountinfo)
        qputenv("ZQ_MOUNTINFO", m_oldMountinfo);
    else
        qunsetenv("ZQ_MOUNTINFO");
    if (m_hadSysfs)
        qputenv("ZQ_SYSFS_ROOT", m_oldSysfs);
    else
        qunsetenv("ZQ_SYSFS_ROOT");
}

void FakeVolumes::Add(const Disk& disk)
{
    m_disks.append(disk);
    Write();
}

void FakeVolumes::Remove(const QString& diskName)
{
    for (qsizetype i = 0; i < m_disks.size(); ++i) {
        if (m_disks[i].name == diskName) {
            m_disks.removeAt(i);
            break;
        }
    }
    Write();
}

void FakeVolumes::AddSystemDisk()
{
    Disk system;
    system.name = QStringLiteral("sda");
    system.mountPoint = QStringLiteral("/");
    system.removableFlag = false;
    system.bus = Bus::Ata;
    system.fileSystem = QStringLiteral("ext4");
    Add(system);
}

void FakeVolumes::Write()
{
    const QString sys = SysfsRoot();
    QDir(sys).removeRecursively();
    QDir().mkpath(sys + QStringLiteral("/dev/block"));
    QDir().mkpath(sys + QStringLiteral("/block"));
    QByteArray mountinfo = "22 1 0:21 / /proc rw,nosuid - proc proc rw\n";
    int mountId = 30;
    for (int i = 0; i < m_disks.size(); ++i) {
        const Disk& disk = m_disks[i];
        const QString diskDir = busPath(disk.bus, i) + QLatin1Char('/') + disk.name;
        QDir().mkpath(sys + QLatin1Char('/') + diskDir);
        writeFile(
            sys + QLatin1Char('/') + diskDir + QStringLiteral("/size"), QByteArray::number(disk.sectors));
        writeFile(sys + QLatin1Char('/') + diskDir + QStringLiteral("/removable"),
            disk.removableFlag ? "1\n" : "0\n");
        QFile::link(QStringLiteral("../") + diskDir, sys + QStringLiteral("/block/") + disk.name);
        const int major = 8;
        const int diskMinor = 16 * (i + 1);
        QString deviceDir = diskDir;
        QString deviceName = disk.name;
        int minor = diskMinor;
        if (disk.partition) {
            deviceName = disk.name + QLatin1Char('1');
            deviceDir = diskDir + QLatin1Char('/') + deviceName;
            minor = diskMinor + 1;
            QDir().mkpath(sys + QLatin1Char('/') + deviceDir);
            writeFile(sys + QLatin1Char('/') + deviceDir + QStringLiteral("/partition"), "1\n");
            writeFile(sys + QLatin1Char('/') + deviceDir + QStringLiteral("/size"),
                QByteArray::number(disk.sectors > 2048 ? disk.sectors - 2048 : 0));
        }
        const QString majorMinor = QStringLiteral("%1:%2").arg(major).arg(minor);
        QFile::link(QStringLiteral("../../") + deviceDir, sys + QStringLiteral("/dev/block/") + majorMinor);
        mountinfo += QByteArray::number(mountId++) + " 1 " + majorMinor.toLatin1() + ' '
            + escapeMountPath(disk.mountRoot) + ' ' + escapeMountPath(disk.mountPoint)
            + " rw,relatime shared:1 - " + disk.fileSystem.toLatin1() + " /dev/" + deviceName.toLatin1()
            + " rw\n";
    }
    writeFile(MountinfoPath(), mountinfo);
}

} // namespace zq::test
