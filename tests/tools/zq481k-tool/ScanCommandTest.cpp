#include "FakeVolumes.h"
#include "RunProgram.h"
#include "TestSupport.h"

#include <QFile>
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

TEST_F(ScanCommandTest, TextRowsSayWhatTheJsonRowsSay)
{
    // Names beyond ASCII, odd dates and categories, a size beyond 4 GiB, and enough rows with long paths
    // that the listing takes several output blocks.
    const QString folder = m_dir.filePath("many/" + QString(120, 'f') + QString::fromUtf8("/폴더"));
    for (const QString& name :
        { QString::fromUtf8("2017é0531_090000D.avi"), QString::fromUtf8("녹화_20170531.AVI"),
            QString("99991231_235959M.avi"), QString("20171301_250000E.avi"), QString("x.avi") })
        ASSERT_TRUE(zq::test::writeFile(folder + "/" + name, QByteArray(3000, 'x')));
    for (int i = 0; i < 700; ++i)
        ASSERT_TRUE(zq::test::writeFile(folder
                + QString("/sub/201706%1_1200%2D_%3.avi")
                      .arg(1 + i % 28, 2, 10, QChar('0'))
                      .arg(i % 60, 2, 10, QChar('0'))
                      .arg(i),
            QByteArray(i, 'x')));
    QFile big(folder + "/20170601_000000E.avi");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(5LL * 1024 * 1024 * 1024 + 4096));
    big.close();

    const ToolRun text = runTool({ "scan", m_dir.filePath("many") });
    const ToolRun json = runTool({ "scan", "--json", m_dir.filePath("many") });
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QStringList lines = text.out.split('\n');
    const QJsonArray rows = QJsonDocument::fromJson(json.out.toUtf8()).object()["entries"].toArray();
    ASSERT_EQ(rows.size(), 706);
    ASSERT_EQ(lines.size(), rows.size() + 1);
    EXPECT_TRUE(lines.last().isEmpty());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QJsonObject row = rows[i].toObject();
        const QString expected = QStringList { QString::number(row["row"].toInt()), row["date"].toString(),
            row["time"].toString(), row["category"].toString(), row["path"].toString(),
            row["name"].toString(), QString::number(row["sizeKiB"].toInteger()) }
                                     .join('\t');
        ASSERT_EQ(lines[i], expected) << "row " << i + 1;
    }
    EXPECT_TRUE(text.out.contains("\t20170601_000000E.avi\t5242884\n"));
    EXPECT_TRUE(text.out.contains(QString::fromUtf8("/폴더/녹화_20170531.AVI\t녹화_20170531.AVI\t2\n")));
}

TEST_F(ScanCommandTest, AListingThatCannotBeWrittenIsNoSuccess)
{
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full to write to";
    for (const char* option : { "--json", "" }) {
        // The shell only points the tool's output at a device that is always full.
        const zq::test::ProgramResult run = zq::test::RunProgram("/bin/sh",
            { "-c", "exec \"$0\" scan $1 \"$2\" > /dev/full", zq::test::bundleDir() + "/zq481k-tool", option,
                m_dir.filePath("card") });
        EXPECT_EQ(run.exitCode, 1) << option;
        EXPECT_TRUE(run.ErrText().contains("cannot write the listing")) << run.err.constData();
    }
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
