#include "GeneratedFile.h"

#include <QFile>
#include <QFileInfo>

namespace zq::test {
namespace {

using recgen::AudioKind;
using recgen::RecordingRequest;
using recgen::StrdPlacement;

QByteArrayList TopLevelIds(const RiffFile& riff)
{
    QByteArrayList ids;
    for (const RiffChunk& chunk : riff.root.children)
        ids << (chunk.id == "LIST" ? "LIST:" + chunk.listType : chunk.id);
    return ids;
}

struct IndexEntry {
    QByteArray id;
    quint32 flags;
    quint32 offset;
    quint32 size;
};

QVector<IndexEntry> IndexEntries(const RiffFile& riff)
{
    QVector<IndexEntry> entries;
    const RiffChunk* idx1 = riff.root.child("idx1");
    if (idx1 == nullptr)
        return entries;
    const QByteArray payload = riff.payload(*idx1);
    for (qsizetype pos = 0; pos + 16 <= payload.size(); pos += 16)
        entries.append({ payload.mid(pos, 4), U32At(payload, pos + 4), U32At(payload, pos + 8),
            U32At(payload, pos + 12) });
    return entries;
}

// Every index entry, counted from the "movi" fourcc, must land on a chunk header with its id and size, in
// the order of the media list.
void ExpectIndexMatchesMovi(const RiffFile& riff)
{
    const RiffChunk* movi = riff.root.child("LIST", "movi");
    ASSERT_NE(movi, nullptr);
    const QVector<IndexEntry> entries = IndexEntries(riff);
    ASSERT_EQ(entries.size(), movi->children.size());
    const qint64 base = movi->offset + 8;
    for (int index = 0; index < entries.size(); ++index) {
        const IndexEntry& entry = entries[index];
        const RiffChunk& chunk = movi->children[index];
        ASSERT_EQ(base + entry.offset, chunk.offset) << "entry " << index;
        EXPECT_EQ(riff.bytes.mid(base + entry.offset, 4), entry.id) << "entry " << index;
        EXPECT_EQ(entry.id, chunk.id);
        EXPECT_EQ(entry.size, chunk.size);
    }
}

TEST(RecordingLayout, DefaultRecordingHasTheRecorderChunkTree)
{
    QTemporaryDir folder;
    const GeneratedFile file = Generate(RecordingRequest {}, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    ASSERT_TRUE(file.riff.wellFormed);
    EXPECT_EQ(file.riff.root.listType, "AVI ");
    EXPECT_EQ(file.result.sizeBytes, file.riff.bytes.size());
    EXPECT_EQ(qint64(file.riff.root.size) + 8, file.riff.bytes.size());
    EXPECT_EQ(
        TopLevelIds(file.riff), (QByteArrayList { "LIST:hdrl", "LIST:INFO", "JUNK", "LIST:movi", "idx1" }));

    const RiffChunk* hdrl = file.riff.root.child("LIST", "hdrl");
    ASSERT_NE(hdrl, nullptr);
    ASSERT_FALSE(hdrl->children.isEmpty());
    EXPECT_EQ(hdrl->children.first().id, "avih");
    const QByteArray avih = file.riff.payload(hdrl->children.first());
    ASSERT_EQ(avih.size(), 56);
    EXPECT_EQ(U32At(avih, 0), 33333u); // microseconds per frame at 30 frames per second
    EXPECT_EQ(U32At(avih, 16), 90u); // total frames of 3 s
    EXPECT_EQ(U32At(avih, 24), 3u); // streams
    EXPECT_EQ(U32At(avih, 32), 320u);
    EXPECT_EQ(U32At(avih, 36), 180u);
    EXPECT_NE(U32At(avih, 12) & 0x10, 0u) << "AVIF_HASINDEX";

    const QVector<const RiffChunk*> strls = StreamLists(file.riff);
    ASSERT_EQ(strls.size(), 3);
    for (int stream = 0; stream < 3; ++stream) {
        const RiffChunk* strh = strls[stream]->child("strh");
        ASSERT_NE(strh, nullptr);
        ASSERT_EQ(strh->size, 56u);
        ASSERT_EQ(strls[stream]->children.first().id, "strh") << "strh comes first";
        ASSERT_EQ(strls[stream]->children.at(1).id, "strf") << "strf follows it";
        EXPECT_NE(strls[stream]->child("JUNK"), nullptr);
    }
    const QByteArray videoStrh = file.riff.payload(*strls[0]->child("strh"));
    EXPECT_EQ(videoStrh.left(8), "vidsH264");
    EXPECT_EQ(U32At(videoStrh, 20), 1u); // scale
    EXPECT_EQ(U32At(videoStrh, 24), 30u); // rate
    EXPECT_EQ(U32At(videoStrh, 32), 90u); // length in frames
    const QByteArray videoStrf = file.riff.payload(*strls[0]->child("strf"));
    ASSERT_EQ(videoStrf.size(), 40);
    EXPECT_EQ(videoStrf.mid(16, 4), "H264");
    EXPECT_EQ(U32At(videoStrf, 4), 320u);
    EXPECT_EQ(U32At(videoStrf, 8), 180u);

    // AAC: WAVEFORMATEX tag 0xFF with the two-byte AudioSpecificConfig (LC, 16000 Hz = index 8, mono).
    const QByteArray audioStrh = file.riff.payload(*strls[2]->child("strh"));
    EXPECT_EQ(audioStrh.left(4), "auds");
    const QByteArray audioStrf = file.riff.payload(*strls[2]->child("strf"));
    ASSERT_EQ(audioStrf.size(), 20);
    EXPECT_EQ(U16At(audioStrf, 0), 0xFFu);
    EXPECT_EQ(U16At(audioStrf, 2), 1u);
    EXPECT_EQ(U32At(audioStrf, 4), 16000u);
    EXPECT_EQ(U16At(audioStrf, 16), 2u);
    EXPECT_EQ(quint8(audioStrf[18]), 0x14);
    EXPECT_EQ(quint8(audioStrf[19]), 0x08);

    // The strd block sits in the first video stream header and holds exactly what was reported.
    ASSERT_NE(strls[0]->child("strd"), nullptr);
    EXPECT_EQ(file.riff.payload(*strls[0]->child("strd")), file.result.userData);
    EXPECT_EQ(strls[1]->child("strd"), nullptr);
    EXPECT_EQ(strls[2]->child("strd"), nullptr);
}

TEST(RecordingLayout, IndexPointsAtEveryChunkWithKeyframesOnceASecond)
{
    QTemporaryDir folder;
    const GeneratedFile file = Generate(RecordingRequest {}, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    ExpectIndexMatchesMovi(file.riff);

    const RiffChunk* movi = file.riff.root.child("LIST", "movi");
    const QVector<IndexEntry> entries = IndexEntries(file.riff);
    QMap<QByteArray, int> counts;
    QMap<QByteArray, QVector<int>> keyframes;
    for (const IndexEntry& entry : entries) {
        const int number = counts[entry.id]++;
        if (entry.flags & 0x10)
            keyframes[entry.id].append(number);
    }
    EXPECT_EQ(counts.value("00dc"), 90);
    EXPECT_EQ(counts.value("01dc"), 90);
    EXPECT_EQ(counts.value("02wb"), 47); // 3 s of 1024-sample frames at 16000 Hz, rounded up
    EXPECT_EQ(file.result.audioChunks, 47);
    EXPECT_EQ(keyframes.value("00dc"), (QVector<int> { 0, 30, 60 }));
    EXPECT_EQ(keyframes.value("01dc"), (QVector<int> { 0, 30, 60 }));
    EXPECT_EQ(keyframes.value("02wb").size(), 47);

    // One access unit per chunk, Annex B; keyframes carry their parameter sets and an IDR slice.
    int frame = 0;
    for (const RiffChunk& chunk : movi->children) {
        if (chunk.id != "00dc")
            continue;
        const QByteArray payload = file.riff.payload(chunk);
        EXPECT_TRUE(
            payload.startsWith(QByteArray("\0\0\0\1", 4)) || payload.startsWith(QByteArray("\0\0\1", 3)));
        const bool key = frame % 30 == 0;
        EXPECT_EQ(payload.contains(QByteArray("\0\0\1\x67", 4)), key) << "frame " << frame;
        EXPECT_EQ(payload.contains(QByteArray("\0\0\1\x65", 4)), key) << "frame " << frame;
        ++frame;
    }

    // Chunks are interleaved by time: a chunk never starts before one written earlier.
    double last = 0.0;
    QMap<QByteArray, int> seen;
    for (const RiffChunk& chunk : movi->children) {
        const int number = seen[chunk.id]++;
        const double start = chunk.id.endsWith("wb") ? number * 1024.0 / 16000.0 : number / 30.0;
        EXPECT_GE(start + 1e-9, last) << chunk.id.constData() << " " << number;
        last = std::max(last, start);
    }
}

TEST(RecordingLayout, IndexInFrontOfMoviKeepsOffsetsFromMovi)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.idx1BeforeMovi = true;
    request.durationSeconds = 1.0;
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    ASSERT_TRUE(file.riff.wellFormed);
    EXPECT_EQ(
        TopLevelIds(file.riff), (QByteArrayList { "LIST:hdrl", "LIST:INFO", "JUNK", "idx1", "LIST:movi" }));
    ExpectIndexMatchesMovi(file.riff);
}

TEST(RecordingLayout, OddJunkInFrontOfIndexIsPadded)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 0.5;
    request.junkBeforeIdx1Bytes = 33;
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    ASSERT_TRUE(file.riff.wellFormed);
    const QByteArrayList ids = TopLevelIds(file.riff);
    ASSERT_EQ(ids.size(), 6);
    EXPECT_EQ(ids.mid(3), (QByteArrayList { "LIST:movi", "JUNK", "idx1" }));
    const RiffChunk& junk = file.riff.root.children[4];
    EXPECT_EQ(junk.size, 33u);
    EXPECT_EQ(file.riff.root.children[5].offset, junk.offset + 8 + 34);
    ExpectIndexMatchesMovi(file.riff);
}

struct PlacementCase {
    StrdPlacement placement;
    int streamWithStrd; // -1: none
};

void PrintTo(const PlacementCase& test, std::ostream* out)
{
    *out << "strd in stream " << test.streamWithStrd;
}

std::string PlacementName(const ::testing::TestParamInfo<PlacementCase>& info)
{
    const char* names[] = { "FirstVideo", "RearVideo", "Audio", "None" };
    return names[int(info.param.placement)];
}

class StrdPlacementTest : public ::testing::TestWithParam<PlacementCase> { };

TEST_P(StrdPlacementTest, BlockSitsInTheChosenStreamHeaderOnly)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 0.5;
    request.strd = GetParam().placement;
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    const QVector<const RiffChunk*> strls = StreamLists(file.riff);
    ASSERT_EQ(strls.size(), 3);
    for (int stream = 0; stream < strls.size(); ++stream) {
        const RiffChunk* strd = strls[stream]->child("strd");
        if (stream == GetParam().streamWithStrd) {
            ASSERT_NE(strd, nullptr);
            EXPECT_TRUE(file.riff.payload(*strd).startsWith("$I"));
            EXPECT_EQ(file.riff.payload(*strd), file.result.userData);
        } else {
            EXPECT_EQ(strd, nullptr) << "stream " << stream;
        }
    }
    if (GetParam().streamWithStrd < 0) {
        EXPECT_TRUE(file.result.userData.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Placements, StrdPlacementTest,
    ::testing::Values(PlacementCase { StrdPlacement::FirstVideo, 0 },
        PlacementCase { StrdPlacement::RearVideo, 1 }, PlacementCase { StrdPlacement::Audio, 2 },
        PlacementCase { StrdPlacement::None, -1 }),
    PlacementName);

struct StreamCase {
    int videoStreams;
    AudioKind audio;
};

void PrintTo(const StreamCase& test, std::ostream* out)
{
    *out << test.videoStreams << " video, audio kind " << int(test.audio);
}

std::string StreamSetName(const ::testing::TestParamInfo<StreamCase>& info)
{
    const char* audio[] = { "NoAudio", "Aac", "Pcm" };
    return std::to_string(info.param.videoStreams) + "Video" + audio[int(info.param.audio)];
}

class StreamSetTest : public ::testing::TestWithParam<StreamCase> { };

TEST_P(StreamSetTest, HeadersAndChunkIdsFollowTheStreams)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.videoStreams = GetParam().videoStreams;
    request.audio = GetParam().audio;
    request.frontWidth = 256;
    request.frontHeight = 144;
    request.rearWidth = 160;
    request.rearHeight = 90;
    request.durationSeconds = 1.0;
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    ASSERT_TRUE(file.riff.wellFormed);
    ExpectIndexMatchesMovi(file.riff);

    const int audioStreams = GetParam().audio == AudioKind::None ? 0 : 1;
    const int streams = GetParam().videoStreams + audioStreams;
    const QVector<const RiffChunk*> strls = StreamLists(file.riff);
    ASSERT_EQ(strls.size(), streams);
    EXPECT_EQ(U32At(file.riff.payload(file.riff.root.child("LIST", "hdrl")->children.first()), 24),
        quint32(streams));
    for (int stream = 0; stream < GetParam().videoStreams; ++stream) {
        const QByteArray strf = file.riff.payload(*strls[stream]->child("strf"));
        EXPECT_EQ(U32At(strf, 4), stream == 0 ? 256u : 160u) << "stream " << stream;
        EXPECT_EQ(U32At(strf, 8), stream == 0 ? 144u : 90u) << "stream " << stream;
    }

    QMap<QByteArray, int> counts;
    for (const RiffChunk& chunk : file.riff.root.child("LIST", "movi")->children)
        ++counts[chunk.id];
    QMap<QByteArray, int> expected;
    for (int stream = 0; stream < GetParam().videoStreams; ++stream)
        expected[QByteArray::number(stream).rightJustified(2, '0') + "dc"] = 30;
    const QByteArray audioId = QByteArray::number(GetParam().videoStreams).rightJustified(2, '0') + "wb";
    if (GetParam().audio == AudioKind::Aac)
        expected[audioId] = 16;
    if (GetParam().audio == AudioKind::Pcm)
        expected[audioId] = 10;
    EXPECT_EQ(counts, expected);

    if (GetParam().audio == AudioKind::Pcm) {
        // 16-bit mono PCM: tag 1, a second of samples in blocks of a tenth.
        const QByteArray strh = file.riff.payload(*strls.last()->child("strh"));
        const QByteArray strf = file.riff.payload(*strls.last()->child("strf"));
        EXPECT_EQ(U16At(strf, 0), 1u);
        EXPECT_EQ(U32At(strf, 4), 16000u);
        EXPECT_EQ(U32At(strf, 8), 32000u);
        EXPECT_EQ(U16At(strf, 12), 2u);
        EXPECT_EQ(U16At(strf, 14), 16u);
        EXPECT_EQ(U32At(strh, 20) * 16000u, U32At(strh, 24)); // scale / rate = one sample
        EXPECT_EQ(U32At(strh, 32), 16000u); // length in samples
        for (const RiffChunk& chunk : file.riff.root.child("LIST", "movi")->children) {
            if (chunk.id == audioId) {
                EXPECT_EQ(chunk.size, 3200u);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Streams, StreamSetTest,
    ::testing::Values(StreamCase { 1, AudioKind::None }, StreamCase { 1, AudioKind::Aac },
        StreamCase { 2, AudioKind::Pcm }, StreamCase { 4, AudioKind::Aac }, StreamCase { 4, AudioKind::Pcm }),
    StreamSetName);

TEST(RecordingLayout, TruncationCutsTheFinishedFile)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 1.0;
    const GeneratedFile whole = Generate(request, folder, QStringLiteral("whole.avi"));
    ASSERT_TRUE(whole.ok) << whole.error.toStdString();
    const qint64 fullSize = whole.result.sizeBytes;

    request.truncateAt = fullSize / 2 + 1;
    const GeneratedFile cut = Generate(request, folder, QStringLiteral("cut.avi"));
    ASSERT_TRUE(cut.ok) << cut.error.toStdString();
    EXPECT_EQ(cut.result.sizeBytes, request.truncateAt);
    EXPECT_EQ(QFileInfo(folder.filePath("cut.avi")).size(), request.truncateAt);
    EXPECT_FALSE(cut.riff.wellFormed);
    // The header still claims the whole file: that is what makes it a truncated recording.
    EXPECT_EQ(qint64(cut.riff.root.size) + 8, fullSize);
    EXPECT_EQ(cut.riff.bytes, whole.riff.bytes.left(request.truncateAt)) << "the generator is deterministic";

    request.truncateAt = fullSize + 1000;
    const GeneratedFile longer = Generate(request, folder, QStringLiteral("longer.avi"));
    ASSERT_TRUE(longer.ok);
    EXPECT_EQ(longer.result.sizeBytes, fullSize);
    EXPECT_TRUE(longer.riff.wellFormed);
}

TEST(RecordingLayout, RefusesWhatItCannotWrite)
{
    QTemporaryDir folder;
    auto refuses = [&](const RecordingRequest& request) {
        const QString path = folder.filePath("refused.avi");
        QString error;
        const bool written = recgen::WriteRecording(path, request, nullptr, &error);
        return !written && !error.isEmpty() && !QFile::exists(path)
            && !recgen::CheckRecordingRequest(request).isEmpty();
    };
    RecordingRequest request;
    request.videoStreams = 3;
    EXPECT_TRUE(refuses(request));
    request = {};
    request.frontWidth = 321;
    EXPECT_TRUE(refuses(request));
    request = {};
    request.videoStreams = 1;
    request.strd = StrdPlacement::RearVideo;
    EXPECT_TRUE(refuses(request));
    request = {};
    request.audio = AudioKind::None;
    request.strd = StrdPlacement::Audio;
    EXPECT_TRUE(refuses(request));
    request = {};
    request.durationSeconds = 0.0;
    EXPECT_TRUE(refuses(request));
    EXPECT_TRUE(recgen::CheckRecordingRequest(RecordingRequest {}).isEmpty());
}

TEST(RecordingLayout, FailingEncoderOrDiskIsReported)
{
    QTemporaryDir folder;
    QString error;
    qputenv("ZQ_FFMPEG", folder.filePath("no-such-ffmpeg").toLocal8Bit());
    const bool written
        = recgen::WriteRecording(folder.filePath("a.avi"), RecordingRequest {}, nullptr, &error);
    qunsetenv("ZQ_FFMPEG");
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.contains("ffmpeg")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(folder.filePath("a.avi")));

    error.clear();
    EXPECT_FALSE(recgen::WriteRecording(
        folder.filePath("missing/folder/a.avi"), RecordingRequest {}, nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(RecordingFileName, FollowsTheRecorderGrammar)
{
    const QDateTime local(QDate(2017, 5, 31), QTime(9, 5, 7));
    EXPECT_EQ(recgen::RecordingFileName(local, 'D'), "20170531_090507D.avi");
    const QString event = recgen::RecordingFileName(QDateTime(QDate(2018, 12, 1), QTime(23, 59, 58)), 'E');
    EXPECT_EQ(event, "20181201_235958E.avi");
    EXPECT_EQ(event.at(15), QLatin1Char('E'));
    EXPECT_EQ(recgen::RecordingFileName(local, 'M').mid(15), "M.avi");
}

} // namespace
} // namespace zq::test
