#include "SnapshotNames.h"

#include "OptionFile.h"
#include "ProgramFolder.h"
#include "SnapshotFolder.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zq;

namespace {

const QDateTime kTaken(QDate(2017, 5, 4), QTime(13, 7, 9, 42));

TEST(SnapshotNames, BuildsBothChannelNamesFromOneStamp)
{
    const SnapshotPaths paths
        = SnapshotPathsFor(QStringLiteral("/media/pics"), QStringLiteral("NAME.avi"), kTaken);
    EXPECT_EQ(paths.front, QStringLiteral("/media/pics/NAME-2017-05-04-13h07m09s042(Track1).jpg"));
    EXPECT_EQ(paths.rear, QStringLiteral("/media/pics/NAME-2017-05-04-13h07m09s042(Track2).jpg"));
    // A folder given with its separator does not get a second one.
    EXPECT_EQ(SnapshotPathsFor(QStringLiteral("/media/pics/"), QStringLiteral("NAME.avi"), kTaken).front,
        paths.front);
    // Every field is padded, the year to four digits and the milliseconds to three.
    EXPECT_EQ(SnapshotTimeStamp(QDateTime(QDate(987, 1, 2), QTime(3, 4, 5, 6))),
        QStringLiteral("0987-01-02-03h04m05s006"));
    EXPECT_EQ(SnapshotTimeStamp(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999))),
        QStringLiteral("2026-12-31-23h59m59s999"));
}

TEST(SnapshotNames, CutsTheExtensionOnlyAtALaterDot)
{
    EXPECT_EQ(SnapshotNameStem(QStringLiteral("REC_2017_05_04_13_07_00_F.avi")),
        QStringLiteral("REC_2017_05_04_13_07_00_F"));
    EXPECT_EQ(SnapshotNameStem(QStringLiteral("a.b.c.avi")), QStringLiteral("a.b.c"));
    EXPECT_EQ(SnapshotNameStem(QStringLiteral("NODOT")), QStringLiteral("NODOT"));
    EXPECT_EQ(SnapshotNameStem(QStringLiteral(".avi")), QStringLiteral(".avi"));
    EXPECT_EQ(SnapshotNameStem(QStringLiteral("NAME.")), QStringLiteral("NAME"));

    EXPECT_EQ(SnapshotPathsFor(QStringLiteral("/p"), QStringLiteral(".hidden"), kTaken).front,
        QStringLiteral("/p/.hidden-2017-05-04-13h07m09s042(Track1).jpg"));
    // No current row: the name part is empty and the file name starts with "-".
    EXPECT_EQ(SnapshotPathsFor(QStringLiteral("/p"), QString(), kTaken).rear,
        QStringLiteral("/p/-2017-05-04-13h07m09s042(Track2).jpg"));
}

TEST(SnapshotNames, ASecondCaptureOfTheSameMillisecondGetsASuffix)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = QStringLiteral("NAME.avi");
    const SnapshotPaths first = ChooseSnapshotPaths(dir.path(), name, kTaken);
    EXPECT_EQ(first.front, SnapshotPathsFor(dir.path(), name, kTaken).front);

    // Only the front picture of a one-channel recording exists: its rear name is taken all the same.
    ASSERT_TRUE(test::writeFile(first.front, "x"));
    const SnapshotPaths second = ChooseSnapshotPaths(dir.path(), name, kTaken);
    EXPECT_EQ(second.front, dir.path() + QStringLiteral("/NAME-2017-05-04-13h07m09s042-2(Track1).jpg"));
    EXPECT_EQ(second.rear, dir.path() + QStringLiteral("/NAME-2017-05-04-13h07m09s042-2(Track2).jpg"));

    ASSERT_TRUE(test::writeFile(second.rear, "x"));
    EXPECT_EQ(ChooseSnapshotPaths(dir.path(), name, kTaken).front,
        dir.path() + QStringLiteral("/NAME-2017-05-04-13h07m09s042-3(Track1).jpg"));
    // Another millisecond starts without a suffix again.
    EXPECT_EQ(ChooseSnapshotPaths(dir.path(), name, kTaken.addMSecs(1)).front,
        dir.path() + QStringLiteral("/NAME-2017-05-04-13h07m09s043(Track1).jpg"));
}

} // namespace

namespace {

TEST(SnapshotFolder, FallsBackToTheDefaultFolderAndStoresIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", dir.filePath(QStringLiteral("home")).toLocal8Bit());
    QDir().mkpath(dir.filePath(QStringLiteral("home/Documents")));
    QDir().mkpath(dir.filePath(QStringLiteral("program/config")));
    SetProgramFolder(dir.filePath(QStringLiteral("program")));

    COptionFile options;
    ASSERT_TRUE(options.BuildOptionFilePath());
    const QString kept = dir.filePath(QStringLiteral("pictures"));
    QDir().mkpath(kept);
    options.m_saveDirectory = kept;
    EXPECT_EQ(SnapshotFolder(options), kept);
    EXPECT_FALSE(QFileInfo::exists(OptionFilePath())) << "an existing folder is used as it is";

    // The stored folder is gone (a pulled card): the default one is made and written down.
    options.m_saveDirectory = dir.filePath(QStringLiteral("card/DCIM"));
    const QString fallback = SnapshotFolder(options);
    EXPECT_TRUE(fallback.endsWith(QStringLiteral("/CAM_CAPTURE")));
    EXPECT_TRUE(QFileInfo(fallback).isDir());
    EXPECT_EQ(options.m_saveDirectory, fallback);
    COptionFile reread;
    reread.ParseOptionText(test::readFile(OptionFilePath()));
    EXPECT_EQ(reread.m_saveDirectory, fallback);

    SetProgramFolder({});
    OptionFilePath().clear();
    qputenv("HOME", oldHome);
}

} // namespace
