#include "FrameStamp.h"
#include "FrameStampLayout.h"
#include "GeneratedFile.h"
#include "TestPrograms.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zq::test {
namespace {

using recgen::AudioKind;
using recgen::DecodeFrameIndex;
using recgen::DecodeFrameStamp;
using recgen::FrameStamp;
using recgen::RecordingRequest;
using recgen::StrdPlacement;

qint64 VideoBytes(const RiffFile& riff)
{
    qint64 bytes = 0;
    for (const RiffChunk& chunk : riff.root.child("LIST", "movi")->children) {
        if (chunk.id.endsWith("dc"))
            bytes += chunk.size;
    }
    return bytes;
}

TEST(Decode, FfprobeSeesTheStreamsAndCodecs)
{
    QTemporaryDir folder;
    struct Case {
        int video;
        AudioKind audio;
        StrdPlacement strd;
        QStringList expected;
    };
    const QStringList four { "video:h264", "video:h264", "video:h264", "video:h264" };
    const Case cases[] = {
        { 2, AudioKind::Aac, StrdPlacement::FirstVideo, { "video:h264", "video:h264", "audio:aac" } },
        { 4, AudioKind::Pcm, StrdPlacement::Audio, four + QStringList { "audio:pcm_s16le" } },
        { 1, AudioKind::None, StrdPlacement::FirstVideo, { "video:h264" } },
    };
    for (const Case& test : cases) {
        RecordingRequest request;
        request.videoStreams = test.video;
        request.audio = test.audio;
        request.strd = test.strd;
        request.durationSeconds = 1.0;
        const GeneratedFile file = Generate(request, folder);
        ASSERT_TRUE(file.ok) << file.error.toStdString();
        EXPECT_EQ(ProbeStreams(folder.filePath("test.avi")), test.expected);
    }
}

TEST(Decode, FrameIndexReadsBackAtFirstMiddleAndLastFrame)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 2.0;
    request.frontWidth = 640;
    request.frontHeight = 360;
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    const QString path = folder.filePath("test.avi");
    for (int stream : { 0, 1 }) {
        for (int frame : { 0, 29, 59 }) {
            const QImage picture = DecodeFrame(path, stream, frame);
            ASSERT_FALSE(picture.isNull()) << "stream " << stream << " frame " << frame;
            EXPECT_EQ(picture.width(), stream == 0 ? 640 : 320);
            const FrameStamp stamp = DecodeFrameStamp(picture);
            EXPECT_TRUE(stamp.valid);
            EXPECT_FALSE(stamp.mirrored);
            EXPECT_EQ(stamp.channel, stream);
            EXPECT_EQ(stamp.frameIndex, frame);
            EXPECT_EQ(DecodeFrameIndex(picture), frame);
            // The stamp survives the scaling a screen applies.
            EXPECT_EQ(DecodeFrameIndex(picture.scaled(517, 211)), frame);
        }
    }
    // Front and rear are different pictures, not only different sizes.
    const QImage front = DecodeFrame(path, 0, 10).scaled(320, 180);
    const QImage rear = DecodeFrame(path, 1, 10).convertToFormat(front.format());
    ASSERT_FALSE(front.isNull());
    ASSERT_FALSE(rear.isNull());
    int differing = 0;
    for (int y = 20; y < 180; y += 8) {
        for (int x = 0; x < 320; x += 8)
            differing += std::abs(qGray(front.pixel(x, y)) - qGray(rear.pixel(x, y))) > 30 ? 1 : 0;
    }
    EXPECT_GT(differing, 120); // of 800 points; the grey ramp along the bottom is the same in both
}

TEST(Decode, MirroredAndBrightenedPicturesAreToldApart)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 1.0;
    request.strd = StrdPlacement::RearVideo;
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    const QString path = folder.filePath("test.avi");

    const QImage plain = DecodeFrame(path, 1, 17);
    const QImage mirrored = DecodeFrame(path, 1, 17, QStringLiteral("hflip"));
    const QImage flipped = DecodeFrame(path, 1, 17, QStringLiteral("vflip"));
    const QImage brighter = DecodeFrame(path, 1, 17, QStringLiteral("eq=brightness=0.15"));
    ASSERT_FALSE(plain.isNull() || mirrored.isNull() || flipped.isNull() || brighter.isNull());

    const FrameStamp original = DecodeFrameStamp(plain);
    ASSERT_TRUE(original.valid);
    EXPECT_EQ(original.frameIndex, 17);

    const FrameStamp reversed = DecodeFrameStamp(mirrored);
    EXPECT_TRUE(reversed.valid);
    EXPECT_TRUE(reversed.mirrored);
    EXPECT_EQ(reversed.frameIndex, 17);
    EXPECT_EQ(DecodeFrameIndex(mirrored), -1);

    EXPECT_FALSE(DecodeFrameStamp(flipped).valid);

    const FrameStamp bright = DecodeFrameStamp(brighter);
    EXPECT_TRUE(bright.valid);
    EXPECT_EQ(bright.frameIndex, 17);
    EXPECT_GT(bright.blackLevel, original.blackLevel + 20);

    // A picture made by hand from the stamp layout reads back; a damaged one does not.
    QImage drawn(440, 120, QImage::Format_RGB32);
    drawn.fill(Qt::gray);
    bool cells[recgen::kStampCells];
    recgen::StampCellValues(2, 4321, cells);
    for (int cell = 0; cell < recgen::kStampCells; ++cell) {
        for (int y = 0; y < recgen::StampBandHeight(120); ++y) {
            for (int x = cell * 20; x < cell * 20 + 20; ++x)
                drawn.setPixel(x, y, cells[cell] ? 0xFFFFFFFF : 0xFF000000);
        }
    }
    const FrameStamp handmade = DecodeFrameStamp(drawn);
    EXPECT_TRUE(handmade.valid);
    EXPECT_EQ(handmade.channel, 2);
    EXPECT_EQ(handmade.frameIndex, 4321);
    // Flip one index bit: the parity no longer fits.
    const int bitCell = recgen::kStampFirstIndexCell + 5;
    for (int y = 0; y < recgen::StampBandHeight(120); ++y) {
        for (int x = bitCell * 20; x < bitCell * 20 + 20; ++x)
            drawn.setPixel(x, y, cells[bitCell] ? 0xFF000000 : 0xFFFFFFFF);
    }
    EXPECT_FALSE(DecodeFrameStamp(drawn).valid);
}

TEST(Decode, BitrateIsReachedWithNoise)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 3.0;
    request.frontWidth = 640;
    request.frontHeight = 360;
    const GeneratedFile quiet = Generate(request, folder, QStringLiteral("quiet.avi"));
    ASSERT_TRUE(quiet.ok) << quiet.error.toStdString();

    request.videoBitrateKbps = 4000;
    const GeneratedFile noisy = Generate(request, folder, QStringLiteral("noisy.avi"));
    ASSERT_TRUE(noisy.ok) << noisy.error.toStdString();
    const double kbps = VideoBytes(noisy.riff) * 8.0 / 3.0 / 1000.0;
    EXPECT_GT(kbps, 4000 * 0.8);
    EXPECT_LT(kbps, 4000 * 1.2);
    EXPECT_LT(VideoBytes(quiet.riff) * 8.0 / 3.0 / 1000.0, 1500.0);
    // The noise leaves the stamp readable.
    EXPECT_EQ(DecodeFrameIndex(DecodeFrame(folder.filePath("noisy.avi"), 0, 45)), 45);
}

TEST(Decode, TargetSizeRepeatsTheEncodedPicturesAndStaysDecodable)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 2.0;
    request.videoBitrateKbps = 6000;
    request.targetBytes = 12 << 20;
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    ASSERT_TRUE(file.riff.wellFormed);
    EXPECT_NEAR(double(file.result.sizeBytes), double(request.targetBytes), request.targetBytes * 0.03);
    EXPECT_EQ(file.result.encodedFramesPerStream, 60);
    EXPECT_GT(file.result.videoFramesPerStream, 300);
    EXPECT_DOUBLE_EQ(file.result.durationSeconds, file.result.videoFramesPerStream / 30.0);

    // Sensor data covers the grown recording.
    EXPECT_EQ(file.result.gsensor.size(), int(std::ceil(file.result.durationSeconds * 10 - 1e-9)));
    EXPECT_EQ(file.result.fixes.size(), int(std::ceil(file.result.durationSeconds - 1e-9)));

    const QString path = folder.filePath("test.avi");
    const ProgramResult probe = RunProgram("ffprobe",
        { "-v", "error", "-count_packets", "-show_entries", "stream=nb_read_packets", "-of", "json", path });
    ASSERT_EQ(probe.exitCode, 0);
    const QJsonArray streams = QJsonDocument::fromJson(probe.out).object().value("streams").toArray();
    ASSERT_EQ(streams.size(), 3);
    EXPECT_EQ(
        streams[0].toObject().value("nb_read_packets").toString().toInt(), file.result.videoFramesPerStream);
    EXPECT_EQ(streams[2].toObject().value("nb_read_packets").toString().toInt(), file.result.audioChunks);

    // Frame 65 is the sixth frame of the second pass: it shows encoded frame 5.
    EXPECT_EQ(DecodeFrameIndex(DecodeFrame(path, 1, 65)), 5);
    // The whole repeated stream decodes without a single error.
    const ProgramResult decode
        = RunProgram("ffmpeg", { "-v", "error", "-i", path, "-map", "0:v:1", "-f", "null", "-" });
    EXPECT_EQ(decode.exitCode, 0);
    EXPECT_TRUE(decode.err.trimmed().isEmpty()) << decode.err.constData();
}

} // namespace
} // namespace zq::test
