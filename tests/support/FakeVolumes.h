#pragma once

#include <QString>
#include <QStringList>

namespace zq::test {

/// Turns folders into removable volumes for the code under test: writes a fake mountinfo file and a fake
/// sysfs tree in a folder of its own and points ZQ_MOUNTINFO and ZQ_SYSFS_ROOT at them (restored on
/// destruction). Each disk gets a partition mounted at the given folder.
class FakeVolumes {
public:
    explicit FakeVolumes(const QString& workFolder);
    ~FakeVolumes();
    FakeVolumes(const FakeVolumes&) = delete;
    FakeVolumes& operator=(const FakeVolumes&) = delete;

    enum class Bus { Usb, Mmc, Ata };
    struct Disk {
        QString name = QStringLiteral("sdb"); // disk device name
        QString mountPoint; // folder mounted (not required to end in "/")
        bool removableFlag = true; // /sys/block/<disk>/removable
        Bus bus = Bus::Usb;
        quint64 sectors = 62333952; // 0: reader without a medium
        QString fileSystem = QStringLiteral("vfat");
        QString mountRoot = QStringLiteral("/"); // "/sub" for a bind mount of a sub-folder
        bool partition = true; // mounted as <disk>1, else the whole disk
    };

    /// Adds a disk and rewrites the fake files.
    void Add(const Disk& disk);
    /// Removes the mount of a disk (the card was pulled) and rewrites the fake files.
    void Remove(const QString& diskName);
    /// Adds a fixed system disk mounted at "/" so lists are never trivially empty.
    void AddSystemDisk();

    QString MountinfoPath() const { return m_folder + QStringLiteral("/mountinfo"); }
    QString SysfsRoot() const { return m_folder + QStringLiteral("/sys"); }

private:
    void Write();

    QString m_folder;
    QList<Disk> m_disks;
    QByteArray m_oldMountinfo;
    QByteArray m_oldSysfs;
    bool m_hadMountinfo = false;
    bool m_hadSysfs = false;
};

} // namespace zq::test
