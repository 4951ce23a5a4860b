#include "RiffBuilder.h"
#include "RunProgram.h"
#include "TestSupport.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zq {
namespace {

using namespace zq::test;

ProgramResult RunToolInUtc(const QStringList& args)
{
    return test::RunTool(args, { "TZ=UTC0" });
}

QJsonObject JsonOf(const ProgramResult& run)
{
    return QJsonDocument::fromJson(run.out).object();
}

const QByteArray kInfoRecord = "$IZQ481K-FW1.02-20170531-00012";

class ToolCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_EQ(kInfoRecord.size(), 30);
        QByteArray stream;
        for (int i = 0; i < 120; ++i)
            stream += "$M" + QByteArray(1, char(i)) + QByteArray(2, '\x1f') + QByteArray(3, char(200))
                + "12345678";
        stream += "$GPRMC,150000,A,3733.5,N,12659.0,E,10,231.5,311217,,,A*7C";
        m_broken = BuildTestAvi(true, kInfoRecord + stream);
        ASSERT_TRUE(writeFile(path("broken.avi"), m_broken.bytes));
        ASSERT_TRUE(writeFile(path("healthy.avi"), BuildTestAvi(false, kInfoRecord + stream).bytes));
        ASSERT_TRUE(writeFile(path("nothing.avi"), RiffAvi(List("hdrl", {}))));
        ASSERT_TRUE(writeFile(path("wave.wav"), "RIFF\x04\0\0\0WAVE"));
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir m_dir;
    TestAvi m_broken;
};

TEST_F(ToolCommandsTest, CheckReportsTheClassInItsExitStatus)
{
    ProgramResult run = RunToolInUtc({ "check", "--json", path("broken.avi") });
    EXPECT_EQ(run.exitCode, 2);
    QJsonObject result = JsonOf(run);
    EXPECT_EQ(result["layout"].toInt(), 2);
    EXPECT_EQ(
        (ChunkLocations { quint32(result["idx1Offset"].toInteger()), quint32(result["idx1Size"].toInteger()),
            quint32(result["moviOffset"].toInteger()), quint32(result["moviSize"].toInteger()) }),
        m_broken.at);

    EXPECT_EQ(RunToolInUtc({ "check", path("healthy.avi") }).exitCode, 0);
    run = RunToolInUtc({ "check", path("nothing.avi") });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.startsWith("layout: 0")) << run.out.toStdString();

    run = RunToolInUtc({ "check", path("missing.avi") });
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("no such file")) << run.err.toStdString();
    EXPECT_EQ(RunToolInUtc({ "check" }).exitCode, 2);
    EXPECT_EQ(RunToolInUtc({ "check", "--bogus", path("broken.avi") }).exitCode, 2);
    run = RunToolInUtc({ "check", "--help" });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("usage: zq481k-tool check"));
}

TEST_F(ToolCommandsTest, RepairWritesTheCopyAndNeverTheSource)
{
    ProgramResult run = RunToolInUtc({ "repair", path("broken.avi"), path("fixed.avi") });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readFile(path("fixed.avi")), readFile(path("healthy.avi")));
    EXPECT_EQ(RunToolInUtc({ "check", path("fixed.avi") }).exitCode, 0);

    run = RunToolInUtc({ "repair", path("broken.avi"), path("./broken.avi") });
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("SRC itself")) << run.err.toStdString();
    EXPECT_EQ(readFile(path("broken.avi")), m_broken.bytes);

    EXPECT_EQ(RunToolInUtc({ "repair", path("healthy.avi"), path("again.avi") }).exitCode, 1);
    EXPECT_EQ(RunToolInUtc({ "repair", path("nothing.avi"), path("again.avi") }).exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(path("again.avi")));
    EXPECT_EQ(RunToolInUtc({ "repair", path("missing.avi"), path("again.avi") }).exitCode, 2);
    EXPECT_EQ(RunToolInUtc({ "repair", path("broken.avi") }).exitCode, 2);
}

TEST_F(ToolCommandsTest, InfoListsEveryRecordWithItsFields)
{
    ProgramResult run
        = RunToolInUtc({ "info", path("broken.avi"), "--json", "--at", "501", "--duration", "60000" });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject info = JsonOf(run);
    EXPECT_EQ(info["infoRecord"].toString(), QString::fromLatin1(kInfoRecord.toHex()));
    EXPECT_EQ(info["infoDigit"].toInt(), 2);
    const QJsonArray samples = info["gsensor"].toArray();
    ASSERT_EQ(samples.size(), 120);
    EXPECT_EQ(samples[7].toObject()["x"].toInt(), 8);
    EXPECT_EQ(samples[7].toObject()["y"].toInt(), 32);
    const QJsonArray fixes = info["gps"].toArray();
    ASSERT_EQ(fixes.size(), 1);
    const QJsonObject fix = fixes[0].toObject();
    for (const char* key : { "year", "month", "day", "hour", "minute", "second", "valid", "latitude",
             "longitude", "speed", "course", "time", "latitudeDegrees", "longitudeDegrees" })
        EXPECT_TRUE(fix.contains(key)) << key;
    EXPECT_EQ(fix["hour"].toInt(), 24);
    EXPECT_EQ(fix["time"].toInteger(), 1514764800); // 2018-01-01 00:00:00 in UTC
    EXPECT_NEAR(fix["latitudeDegrees"].toDouble(), 37.558333, 1e-6);
    EXPECT_EQ(fix["speed"].toDouble(), double(float(18.52)));
    const QJsonObject at = info["at"].toObject();
    EXPECT_EQ(at["gsensorIndex"].toInt(), 1);
    EXPECT_EQ(at["gpsIndex"].toInt(), 0);

    run = RunToolInUtc({ "info", path("broken.avi"), "--at", "60001", "--duration", "60000" });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("gsensorIndex=none gpsIndex=none")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("  7: x=8 y=32 z=32\n"));
    EXPECT_TRUE(run.out.contains("latitudeDegrees=37.5583333"));

    EXPECT_EQ(RunToolInUtc({ "info", path("broken.avi"), "--at", "5" }).exitCode, 2);
    EXPECT_EQ(RunToolInUtc({ "info", path("broken.avi"), "--at", "-5", "--duration", "9" }).exitCode, 2);
    run = RunToolInUtc({ "info", path("wave.wav") });
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("not a RIFF AVI")) << run.err.toStdString();
    EXPECT_EQ(RunToolInUtc({ "info", m_dir.path() }).exitCode, 2);
}

} // namespace
} // namespace zq
