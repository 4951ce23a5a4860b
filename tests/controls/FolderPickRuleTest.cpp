#include "FolderPickRule.h"

#include "FakeVolumes.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using zq::CheckPickedPath;
using zq::test::FakeVolumes;

namespace {

TEST(FolderPickRule, RefusesSystemRootsAndHandsOnCardRoots)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString card = dir.filePath(QStringLiteral("media/CARD ONE"));
    const QString data = dir.filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(card + QStringLiteral("/NORMAL")));
    ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("/videos")));

    FakeVolumes fake(dir.filePath(QStringLiteral("fake")));
    fake.AddSystemDisk();
    FakeVolumes::Disk usb;
    usb.mountPoint = card;
    fake.Add(usb);
    FakeVolumes::Disk fixed;
    fixed.name = QStringLiteral("sdc");
    fixed.mountPoint = data;
    fixed.removableFlag = false;
    fixed.bus = FakeVolumes::Bus::Ata;
    fake.Add(fixed);

    EXPECT_FALSE(CheckPickedPath(QStringLiteral("/")).accepted);
    EXPECT_FALSE(CheckPickedPath(QStringLiteral("/./")).accepted);
    EXPECT_FALSE(CheckPickedPath(QString()).accepted);
    EXPECT_FALSE(CheckPickedPath(data).accepted) << "root of a fixed disk's mount";
    EXPECT_FALSE(CheckPickedPath(data + QStringLiteral("/")).accepted);
    EXPECT_FALSE(CheckPickedPath(QStringLiteral("/proc")).accepted)
        << "any other mount that is not removable";

    // The card's root comes back as its mount root, however it was written.
    for (const QString& path : { card, card + QStringLiteral("/"), card + QStringLiteral("/NORMAL/..") }) {
        const zq::PickedPathCheck check = CheckPickedPath(path);
        EXPECT_TRUE(check.accepted) << path.toStdString();
        EXPECT_EQ(check.path, card + QStringLiteral("/")) << path.toStdString();
    }

    // Folders below a mount root are taken as they are, cleaned.
    zq::PickedPathCheck check = CheckPickedPath(data + QStringLiteral("/videos/"));
    EXPECT_TRUE(check.accepted);
    EXPECT_EQ(check.path, data + QStringLiteral("/videos"));
    check = CheckPickedPath(card + QStringLiteral("/NORMAL"));
    EXPECT_TRUE(check.accepted);
    EXPECT_EQ(check.path, card + QStringLiteral("/NORMAL"));

    // A pulled card's folder is no longer a root of anything.
    fake.Remove(QStringLiteral("sdb"));
    check = CheckPickedPath(card);
    EXPECT_TRUE(check.accepted);
    EXPECT_EQ(check.path, card);
}

} // namespace
