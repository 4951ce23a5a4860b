#include "FakeVolumes.h"
#include "RunProgram.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList& args)
{
    const zq::test::ProgramResult run = zq::test::RunTool(args);
    return { run.exitCode, run.OutText(), run.ErrText() };
}

class ScanCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* name :
            { "NORMAL/20170531_090000D.avi", "EVENT/20170531_085930E.avi", "PARKING/20170530_230000M.avi",
                "NORMAL/20170531_090000X.avi", "NORMAL/.hidden_20170531D.avi", "setup.cfg" })
            ASSERT_TRUE(zq::test::writeFile(m_dir.filePath(QString("card/") + name), QByteArray(5000, 'x')));
    }
    QTemporaryDir m_dir;
};

TEST_F(ScanCommandTest, ListsACardInListOrderWithEnglishLabels)
{
    zq::test::FakeVolumes fake(m_dir.filePath("fake"));
    zq::test::FakeVolumes::Disk card;
    card.mountPoint = m_dir.filePath("card");
    fake.Add(card);

    const ToolRun run = runTool({ "scan", m_dir.filePath("card") });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0],
        "1\t2017-05-30\t23:00:00\tParking\t" + m_dir.filePath("card/PARKING/20170530_230000M.avi")
            + "\t20170530_230000M.avi\t4");
    EXPECT_TRUE(lines[1].contains("\tEvent\t"));
    EXPECT_TRUE(lines[2].startsWith("3\t2017-05-31\t09:00:00\tInfinite\t"));
    EXPECT_TRUE(lines[3].contains("\tUnKnown\t"));
}

TEST_F(ScanCommandTest, JsonNamesTheSourceAndEveryColumn)
{
    const ToolRun run = runTool({ "scan", "--json", m_dir.filePath("card/EVENT"),
        m_dir.filePath("card/NORMAL/20170531_090000D.avi") });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(result["source"].toString(), "files");
    const QJsonArray entries = result["entries"].toArray();
    ASSERT_EQ(entries.size(), 2);
    const QJsonObject first = entries[0].toObject();
    EXPECT_EQ(first["row"].toInt(), 1);
    EXPECT_EQ(first["name"].toString(), "20170531_085930E.avi");
    EXPECT_EQ(first["category"].toString(), "Event");
    EXPECT_EQ(first["sizeKiB"].toInt(), 4);
    EXPECT_EQ(first["origin"].toInt(), 1);
    EXPECT_EQ(entries[1].toObject()["time"].toString(), "09:00:00");
}

TEST_F(ScanCommandTest, WrongArgumentsExitWithTwo)
{
    EXPECT_EQ(runTool({ "scan" }).exitCode, 2);
    EXPECT_EQ(runTool({ "scan", "--bogus", m_dir.path() }).exitCode, 2);
    const ToolRun missing = runTool({ "scan", m_dir.filePath("nothing-here") });
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("does not exist"));
    EXPECT_EQ(runTool({ "frobnicate" }).exitCode, 2);
    const ToolRun help = runTool({ "--help" });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("scan"));
}

} // namespace
