#include "CheckAviLayout.h"
#include "ReadAviInfo.h"
#include "RecordingGenerator.h"
#include "RepairAvi.h"
#include "RunProgram.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace zq {
namespace {

/// Frames per video stream as ffprobe counts them by reading every packet.
std::map<int, int> FfprobeFrameCounts(const QString& path)
{
    const test::ProgramResult probe = test::RunProgram(QStringLiteral("ffprobe"),
        { "-v", "error", "-count_packets", "-select_streams", "v", "-show_entries",
            "stream=index,nb_read_packets", "-of", "json", path });
    std::map<int, int> counts;
    if (probe.exitCode != 0)
        return counts;
    const QJsonArray streams = QJsonDocument::fromJson(probe.out)["streams"].toArray();
    for (const QJsonValue& stream : streams)
        counts[stream["index"].toInt()] = stream["nb_read_packets"].toString().toInt();
    return counts;
}

TEST(RepairMediaTest, RepairedCopyPlaysWithAllItsFrames)
{
    QTemporaryDir dir;
    recgen::RecordingRequest wanted;
    wanted.idx1BeforeMovi = true;
    wanted.durationSeconds = 2.0;
    wanted.framesPerSecond = 15;
    wanted.junkBeforeIdx1Bytes = 7;
    recgen::GeneratedRecording recording;
    QString error;
    const QString source = dir.filePath(QStringLiteral("20170531_000507I.avi"));
    ASSERT_TRUE(recgen::WriteRecording(source, wanted, &recording, &error)) << error.toStdString();
    ASSERT_GT(recording.videoFramesPerStream, 0);
    const QByteArray original = test::readFile(source);

    ChunkLocations locations;
    ASSERT_EQ(CheckAviLayout(source, &locations), kAviLayoutNeedsRepair);
    const QString repaired = dir.filePath(QStringLiteral("20170531_000507I_REPAIR.avi"));
    ASSERT_TRUE(RepairAvi(source, repaired, locations, &error)) << error.toStdString();
    EXPECT_EQ(test::readFile(source), original);
    EXPECT_EQ(QFile(repaired).size(), original.size());
    ChunkLocations after;
    EXPECT_EQ(CheckAviLayout(repaired, &after), kAviLayoutPlayable);

    const std::map<int, int> frames = FfprobeFrameCounts(repaired);
    ASSERT_EQ(frames.size(), 2u);
    for (const auto& [stream, count] : frames)
        EXPECT_EQ(count, recording.videoFramesPerStream) << "stream " << stream;

    // The sensor block is read from the recording as chosen and is the same in the copy.
    AviInfo fromSource;
    AviInfo fromCopy;
    ASSERT_TRUE(ReadAviInfo(source, &fromSource));
    ASSERT_TRUE(ReadAviInfo(repaired, &fromCopy));
    EXPECT_EQ(QByteArray(fromSource.infoRecord.data(), 30), recording.userData.left(30));
    EXPECT_EQ(fromSource.userData, recording.userData.mid(30));
    EXPECT_EQ(fromCopy.userData, fromSource.userData);
}

} // namespace
} // namespace zq
