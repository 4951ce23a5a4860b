#include "EngineTestSupport.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using zq::recgen::RecordingRequest;

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray output;
    QJsonObject json;
    QString errors;
};

ToolRun RunPlay(const QStringList& args)
{
    QProcess tool;
    tool.start(zq::test::bundleDir() + QStringLiteral("/zq481k-tool"), QStringList { "play" } + args);
    EXPECT_TRUE(tool.waitForFinished(120000));
    ToolRun run;
    run.exitCode = tool.exitCode();
    run.output = tool.readAllStandardOutput();
    run.json = QJsonDocument::fromJson(run.output).object();
    run.errors = QString::fromLocal8Bit(tool.readAllStandardError());
    return run;
}

QString TwoSizes()
{
    RecordingRequest request;
    request.frontWidth = 480;
    request.frontHeight = 270;
    request.rearWidth = 320;
    request.rearHeight = 180;
    request.durationSeconds = 2.0;
    return zq::test::Recording("play-480-320", request);
}

TEST(PlayCommand, PlaysToTheEndIntoScreensOfTheGivenSizes)
{
    const ToolRun run
        = RunPlay({ TwoSizes(), "--screen", "160x90", "--screen", "0x0", "--no-sync", "--json" });
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    // The fields come in the documented order.
    EXPECT_TRUE(QRegularExpression(
        QStringLiteral(
            "^\\{\"channels\": \\[\\{\"presented\": \\d+, \"dropped\": \\d+, \"frame_size\": \"160x90\"\\}, "
            "\\{\"presented\": 0, \"dropped\": \\d+, \"frame_size\": \"0x0\"\\}\\], \"wall_ms\": \\d+\\}\n$"))
                    .match(QString::fromUtf8(run.output))
                    .hasMatch())
        << run.output.toStdString();
    const QJsonArray channels = run.json["channels"].toArray();
    ASSERT_EQ(channels.size(), 2);
    const QJsonObject front = channels[0].toObject();
    EXPECT_GT(front["presented"].toInt(), 0);
    // Every one of the 60 frames was either shown or dropped, once: the frame cued before the screen had
    // its size and shown again when playing starts counts once, and the last frames are counted too,
    // though the sound reaches the end first.
    EXPECT_EQ(front["presented"].toInt() + front["dropped"].toInt(), 60);
    EXPECT_GE(run.json["wall_ms"].toInt(), 0);
}

TEST(PlayCommand, WithoutScreenSizesEachChannelGetsItsOwnSizeAndSecondsStopEarly)
{
    const ToolRun run = RunPlay({ TwoSizes(), "--seconds", "1", "--json" });
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QJsonArray channels = run.json["channels"].toArray();
    ASSERT_EQ(channels.size(), 2);
    EXPECT_EQ(channels[0].toObject()["frame_size"].toString(), QStringLiteral("480x270"));
    EXPECT_EQ(channels[1].toObject()["frame_size"].toString(), QStringLiteral("320x180"));
    // In real time, one second of media takes about a second, and shows about 30 frames, not 60.
    EXPECT_GE(run.json["wall_ms"].toInt(), 900);
    const int presented = channels[0].toObject()["presented"].toInt();
    EXPECT_GT(presented, 10);
    EXPECT_LT(presented, 45);

    const ToolRun text = RunPlay({ TwoSizes(), "--no-sync", "--screen", "100x56" });
    ASSERT_EQ(text.exitCode, 0) << text.errors.toStdString();
    EXPECT_TRUE(text.output.contains("channel 1: ")) << text.output.toStdString();
    EXPECT_TRUE(text.output.contains("frames 100x56"));
    EXPECT_TRUE(text.output.contains("frames 320x180"));
}

TEST(PlayCommand, WrongArgumentsAndFilesThatDoNotPlayGiveStatusTwo)
{
    const QString file = TwoSizes();
    EXPECT_EQ(RunPlay({}).exitCode, 2);
    EXPECT_EQ(RunPlay({ file, "--screen", "160" }).exitCode, 2);
    EXPECT_EQ(RunPlay({ file, "--screen", "0x90" }).exitCode, 2);
    EXPECT_EQ(RunPlay({ file, "--rate", "3" }).exitCode, 2);
    EXPECT_EQ(RunPlay({ file, "--seconds", "-1" }).exitCode, 2);
    EXPECT_EQ(RunPlay({ file, "--bogus" }).exitCode, 2);
    QTemporaryDir folder;
    const QString text = folder.filePath("20170531_000507I.avi");
    QFile junk(text);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("RIFF, but not a recording");
    junk.close();
    const ToolRun notPlaying = RunPlay({ text });
    EXPECT_EQ(notPlaying.exitCode, 2);
    EXPECT_TRUE(notPlaying.errors.contains("does not play")) << notPlaying.errors.toStdString();
    EXPECT_EQ(RunPlay({ folder.filePath("missing.avi") }).exitCode, 2);
}

} // namespace
