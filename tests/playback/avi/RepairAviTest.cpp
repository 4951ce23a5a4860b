#include "RepairAvi.h"

#include "CheckAviLayout.h"
#include "RiffBuilder.h"
#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace zq {
namespace {

using namespace zq::test;

class RepairAviTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir m_dir;
};

TEST_F(RepairAviTest, MovesTheIndexBehindTheMediaAndKeepsEverythingElse)
{
    const QByteArray userData = "$I" + QByteArray(27, 'i') + "2" + "$M0123456789abcd";
    const QByteArray tail = Chunk("JUNK", QByteArray(9, 't')) + "trailing";
    const TestAvi broken = BuildTestAvi(true, userData, tail);
    const QString source = path("20170531_000507I 원본.avi");
    const QString destination = path("20170531_000507I_REPAIR.avi");
    ASSERT_TRUE(writeFile(source, broken.bytes));
    ASSERT_TRUE(writeFile(destination, QByteArray(100000, 'x'))); // an earlier copy is replaced
    ChunkLocations locations;
    ASSERT_EQ(CheckAviLayout(source, &locations), kAviLayoutNeedsRepair);
    QString error;
    ASSERT_TRUE(RepairAvi(source, destination, locations, &error)) << error.toStdString();

    // The same recording written the usual way, index behind the media list, is exactly the repaired copy.
    const QByteArray repaired = readFile(destination);
    EXPECT_EQ(repaired, BuildTestAvi(false, userData, tail).bytes);
    EXPECT_EQ(repaired.left(broken.at.idx1Offset), broken.bytes.left(broken.at.idx1Offset));
    const qsizetype idx1Bytes = 8 + broken.at.idx1Size;
    EXPECT_EQ(repaired.right(tail.size() + idx1Bytes).left(idx1Bytes),
        broken.bytes.mid(broken.at.idx1Offset, idx1Bytes));
    EXPECT_EQ(readFile(source), broken.bytes);
    EXPECT_EQ(CheckAviLayout(destination, &locations), kAviLayoutPlayable);
    EXPECT_EQ(locations.moviOffset, broken.at.idx1Offset);
}

TEST_F(RepairAviTest, RefusesLocationsThatDoNotFitTheFile)
{
    const TestAvi broken = BuildTestAvi(true, "$I");
    const QByteArray truncated = broken.bytes.left(broken.bytes.size() - 10);
    const QString source = path("b.avi");
    const QString destination = path("b_REPAIR.avi");
    ASSERT_TRUE(writeFile(source, truncated));
    ChunkLocations swapped = broken.at;
    std::swap(swapped.idx1Offset, swapped.moviOffset);
    ChunkLocations overlapping = broken.at;
    overlapping.idx1Size += 2;
    ChunkLocations huge = broken.at;
    huge.moviSize = 0xFFFFFFF0u;
    // The media list runs past the end of the truncated file; the index behind the media (nothing to
    // repair, the lengths would run negative); the index running into the media list; a huge size.
    for (const ChunkLocations& locations : { broken.at, swapped, overlapping, huge }) {
        ASSERT_TRUE(writeFile(destination, "old copy"));
        QString error;
        EXPECT_FALSE(RepairAvi(source, destination, locations, &error)) << locations;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(destination)) << "a failed repair leaves no copy behind";
    }
    EXPECT_EQ(readFile(source), truncated);
}

TEST_F(RepairAviTest, NeverTouchesTheSource)
{
    const TestAvi broken = BuildTestAvi(true, "$I");
    const QString source = path("c.avi");
    ASSERT_TRUE(writeFile(source, broken.bytes));
    ASSERT_EQ(
        ::symlink(QFile::encodeName(source).constData(), QFile::encodeName(path("link.avi")).constData()), 0);
    ASSERT_EQ(
        ::link(QFile::encodeName(source).constData(), QFile::encodeName(path("hard.avi")).constData()), 0);
    for (const char* same : { "c.avi", "./c.avi", "link.avi", "hard.avi" })
        EXPECT_FALSE(RepairAvi(source, path(same), broken.at)) << same;
    EXPECT_EQ(readFile(source), broken.bytes);
    EXPECT_FALSE(RepairAvi(path("missing.avi"), path("d_REPAIR.avi"), broken.at));
    EXPECT_FALSE(RepairAvi(source, path("no/such/folder/c_REPAIR.avi"), broken.at));
}

TEST_F(RepairAviTest, AFailingWriteRemovesThePartialCopy)
{
    // A file-size limit makes the copy fail part way, as a full card would.
    const TestAvi broken = BuildTestAvi(true, QByteArray(30000, '$'));
    const QString source = path("e.avi");
    const QString destination = path("e_REPAIR.avi");
    ASSERT_TRUE(writeFile(source, broken.bytes));
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 8192;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    QString error;
    const bool repaired = RepairAvi(source, destination, broken.at, &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(repaired);
    EXPECT_TRUE(error.contains("write")) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(destination));
    EXPECT_EQ(readFile(source), broken.bytes);
}

} // namespace
} // namespace zq
