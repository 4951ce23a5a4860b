#include "EngineTestSupport.h"
#include "RunProgram.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using zq::recgen::RecordingRequest;

namespace {

struct ToolRun {
    int exitCode = -1;
    QJsonObject output;
    QString errors;
};

ToolRun RunSnapshot(const QStringList& args)
{
    const zq::test::ProgramResult run = zq::test::RunTool(QStringList { "snapshot" } + args);
    return { run.exitCode, QJsonDocument::fromJson(run.out).object(), QString::fromLocal8Bit(run.err) };
}

QString CopyAs(const QString& source, const QTemporaryDir& folder, const QString& name)
{
    const QString target = folder.filePath(name);
    EXPECT_TRUE(QFile::copy(source, target));
    return target;
}

RecordingRequest Request(int videoStreams)
{
    RecordingRequest request;
    request.videoStreams = videoStreams;
    request.durationSeconds = 3.0;
    return request;
}

TEST(SnapshotCommand, WritesOneJpegPerChannelNamedAsTheViewerDoes)
{
    QTemporaryDir folder;
    const QString file = CopyAs(zq::test::Recording("two", Request(2)), folder, "20170531_000507I.avi");
    const QString out = folder.filePath("captures");
    ASSERT_TRUE(QDir().mkpath(out));
    const ToolRun run = RunSnapshot({ file, "--at", "1.5", "--out", out });
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(run.output["channels"].toInt(), 2);
    EXPECT_NEAR(run.output["duration_ms"].toInt(), 3000, 100);

    const QStringList written = QDir(out).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(written.size(), 2);
    const QRegularExpression name(
        R"(^20170531_000507I-\d{4}-\d\d-\d\d-\d\dh\d\dm\d\ds\d{3}\(Track([12])\)\.jpg$)");
    const QJsonArray frames = run.output["frames"].toArray();
    ASSERT_EQ(frames.size(), 2);
    for (int channel = 0; channel < 2; ++channel) {
        const QRegularExpressionMatch match = name.match(written[channel]);
        ASSERT_TRUE(match.hasMatch()) << written[channel].toStdString();
        EXPECT_EQ(match.captured(1).toInt(), channel + 1);
        const QJsonObject frame = frames[channel].toObject();
        EXPECT_EQ(frame["track"].toInt(), channel + 1);
        EXPECT_NEAR(frame["position_ms"].toInt(), 1500, 34);
        EXPECT_EQ(QFileInfo(frame["file"].toString()).fileName(), written[channel]);
        const QImage picture(QDir(out).filePath(written[channel]));
        EXPECT_EQ(picture.size(), QSize(320, 180));
        EXPECT_EQ(zq::test::FrameChannel(picture), channel);
        EXPECT_EQ(zq::test::FrameIndex(picture), 45);
    }
    // Both pictures of one snapshot share its time stamp.
    EXPECT_EQ(written[0].left(written[0].indexOf("(Track")), written[1].left(written[1].indexOf("(Track")));
}

TEST(SnapshotCommand, OneChannelGivesOnlyTheFrontPictureAndALeadingDotIsNoExtension)
{
    QTemporaryDir folder;
    const QString file = CopyAs(zq::test::Recording("one", Request(1)), folder, ".front");
    const ToolRun run = RunSnapshot({ file, "--at", "0", "--out", folder.path() + "/" });
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(run.output["channels"].toInt(), 1);
    const QStringList written = QDir(folder.path()).entryList({ "*.jpg" }, QDir::Files | QDir::Hidden);
    ASSERT_EQ(written.size(), 1);
    EXPECT_TRUE(written[0].startsWith(".front-"));
    EXPECT_TRUE(written[0].endsWith("(Track1).jpg"));
    EXPECT_EQ(zq::test::FrameIndex(QImage(folder.filePath(written[0]))), 0);
}

TEST(SnapshotCommand, RefusesWhatItCannotDo)
{
    QTemporaryDir folder;
    const QString file = CopyAs(zq::test::Recording("one", Request(1)), folder, "20170531_000507I.avi");
    QFile text(folder.filePath("notes.avi"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no recording");
    text.close();
    const QString out = folder.path();
    for (const QStringList& args : { QStringList { file, "--at", "1", "--out", folder.filePath("missing") },
             QStringList { file, "--at", "9.5", "--out", out },
             QStringList { text.fileName(), "--at", "0", "--out", out },
             QStringList { file, "--at", "-1", "--out", out }, QStringList { file, "--out", out },
             QStringList { folder.filePath("gone.avi"), "--at", "0", "--out", out } }) {
        const ToolRun run = RunSnapshot(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.errors.isEmpty());
    }
    EXPECT_TRUE(QDir(out).entryList({ "*.jpg" }, QDir::Files).isEmpty());
}

} // namespace
