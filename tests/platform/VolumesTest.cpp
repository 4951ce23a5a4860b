#include "Volumes.h"

#include "FakeVolumes.h"
#include "FileAttributes.h"
#include "TestSupport.h"
#include "VolumeMonitor.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zq;
using zq::test::FakeVolumes;

namespace {

class VolumesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString folder(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(path);
        return path;
    }
    QTemporaryDir m_dir;
};

TEST_F(VolumesTest, OnlyRemovableDisksWithTheirRootsAreListed)
{
    FakeVolumes fake(folder("fake"));
    fake.AddSystemDisk();
    FakeVolumes::Disk usb;
    usb.name = "sdb";
    usb.mountPoint = folder("media/CARD ONE");
    fake.Add(usb);
    FakeVolumes::Disk internal; // a second fixed disk with a data partition
    internal.name = "sdc";
    internal.mountPoint = folder("data");
    internal.removableFlag = false;
    internal.bus = FakeVolumes::Bus::Ata;
    fake.Add(internal);
    FakeVolumes::Disk sdSlot; // built-in SD slot: removable flag 0, but on the MMC bus
    sdSlot.name = "mmcblk0";
    sdSlot.mountPoint = folder("media/SD");
    sdSlot.removableFlag = false;
    sdSlot.bus = FakeVolumes::Bus::Mmc;
    sdSlot.fileSystem = "exfat";
    fake.Add(sdSlot);

    const QVector<platform::Volume> volumes = platform::Volumes::Removable();
    ASSERT_EQ(volumes.size(), 2);
    EXPECT_EQ(volumes[0].root, m_dir.filePath("media/CARD ONE") + "/"); // the escaped space comes back
    EXPECT_EQ(volumes[0].disk, "sdb");
    EXPECT_EQ(volumes[0].device, "/dev/sdb1");
    EXPECT_EQ(volumes[0].label, "CARD ONE");
    EXPECT_EQ(volumes[0].fileSystem, "vfat");
    EXPECT_TRUE(volumes[0].mediumPresent);
    EXPECT_GT(volumes[0].totalBytes, 0u);
    EXPECT_EQ(volumes[1].disk, "mmcblk0");
    EXPECT_EQ(volumes[1].fileSystem, "exfat");
}

TEST_F(VolumesTest, EmptyReaderHasNoMediumAndBindMountsAreNotRoots)
{
    FakeVolumes fake(folder("fake"));
    FakeVolumes::Disk empty;
    empty.name = "sdb";
    empty.mountPoint = folder("media/empty");
    empty.sectors = 0;
    empty.partition = false;
    fake.Add(empty);
    FakeVolumes::Disk bind;
    bind.name = "sdc";
    bind.mountPoint = folder("media/bound");
    bind.mountRoot = "/DCIM";
    fake.Add(bind);

    const QVector<platform::Volume> volumes = platform::Volumes::Removable();
    ASSERT_EQ(volumes.size(), 1);
    EXPECT_EQ(volumes[0].disk, "sdb");
    EXPECT_FALSE(volumes[0].mediumPresent);
}

TEST_F(VolumesTest, MalformedMountinfoLinesAreSkipped)
{
    const QByteArray text = "garbage\n\n1 2 3\n30 1 8:17 / /media/x rw - vfat\n";
    EXPECT_TRUE(platform::Volumes::ParseRemovable(text, folder("nosys")).isEmpty());
}

TEST_F(VolumesTest, RootComparisonIgnoresTrailingSlash)
{
    EXPECT_TRUE(platform::SameRoot("/media/card", "/media/card/"));
    EXPECT_TRUE(platform::SameRoot("/media/card/", "/media/card/"));
    EXPECT_FALSE(platform::SameRoot("/media/card", "/media/card2"));
    EXPECT_FALSE(platform::SameRoot("/media/card/sub", "/media/card"));
}

TEST_F(VolumesTest, RemovableRootOfFindsTheCardHoldingAPath)
{
    FakeVolumes fake(folder("fake"));
    FakeVolumes::Disk card;
    card.mountPoint = folder("media/card");
    fake.Add(card);
    EXPECT_EQ(
        platform::Volumes::RemovableRootOf(folder("media/card/NORMAL")), m_dir.filePath("media/card") + "/");
    EXPECT_TRUE(platform::Volumes::RemovableRootOf(folder("media/cardboard")).isEmpty());
}

TEST_F(VolumesTest, MonitorReportsCardsThatComeAndGo)
{
    FakeVolumes fake(folder("fake"));
    platform::VolumeMonitor monitor;
    QStringList added;
    QStringList removed;
    QObject::connect(&monitor, &platform::VolumeMonitor::volumeAdded, [&](const QString& r) { added << r; });
    QObject::connect(
        &monitor, &platform::VolumeMonitor::volumeRemoved, [&](const QString& r) { removed << r; });
    monitor.Start();

    FakeVolumes::Disk card;
    card.mountPoint = folder("media/card");
    fake.Add(card);
    QElapsedTimer timer;
    timer.start();
    while (added.isEmpty() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(added, QStringList { m_dir.filePath("media/card") + "/" });

    fake.Remove("sdb");
    timer.restart();
    while (removed.isEmpty() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(removed, added);
}

TEST_F(VolumesTest, DotFilesAreHidden)
{
    ASSERT_TRUE(test::writeFile(m_dir.filePath(".20170101_120000D.avi"), "x"));
    ASSERT_TRUE(test::writeFile(m_dir.filePath("20170101_120000D.avi"), "x"));
    EXPECT_TRUE(platform::IsHiddenFile(m_dir.filePath(".20170101_120000D.avi")));
    EXPECT_FALSE(platform::IsHiddenFile(m_dir.filePath("20170101_120000D.avi")));
}

} // namespace
