#include "AviStreamList.h"

#include "RiffBuilder.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zq {
namespace {

using namespace zq::test;

QVector<AviStreamInfo> StreamsOf(QByteArray bytes, bool* ok = nullptr)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QVector<AviStreamInfo> streams;
    const bool result = ReadAviStreamList(buffer, &streams);
    if (ok)
        *ok = result;
    return streams;
}

TEST(AviStreamListTest, ReadsEveryStreamOfTheHeaderListInOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("녹화 é.avi"));
    ASSERT_TRUE(writeFile(path, BuildTestAvi(false, "$I-info").bytes));
    QVector<AviStreamInfo> streams;
    ASSERT_TRUE(ReadAviStreamList(path, &streams));
    ASSERT_EQ(streams.size(), 3);
    EXPECT_EQ(streams[0].type, "vids");
    EXPECT_EQ(streams[0].handler, "H264");
    EXPECT_EQ(streams[0].compression, "H264");
    EXPECT_EQ(streams[0].width, 320);
    EXPECT_EQ(streams[0].height, 180);
    EXPECT_TRUE(streams[0].hasStrd);
    EXPECT_EQ(streams[1].width, 160);
    EXPECT_FALSE(streams[1].hasStrd);
    EXPECT_EQ(streams[2].type, "auds");
    EXPECT_EQ(streams[2].formatTag, 0xFF);
    EXPECT_EQ(streams[2].channels, 1);
    EXPECT_EQ(streams[2].sampleRate, 22050u);
}

TEST(AviStreamListTest, PassesOverChunksAndListsItDoesNotKnow)
{
    // An odd-sized JUNK (and its pad byte) in front of strh, an odml list, a bottom-up (negative) height and
    // a 16-byte PCM format.
    const QByteArray strl = List("strl",
        Chunk("JUNK", QByteArray(5, 'j')) + Chunk("strh", StreamHeader("vids", "h264"))
            + Chunk("strf", VideoFormat(640, -360, "avc1")) + Chunk("indx", QByteArray(24, '\0')));
    const QByteArray pcm = List("strl",
        Chunk("strh", StreamHeader("auds", "\0\0\0\0")) + Chunk("strf", AudioFormat(1, 2, 48000).left(16)));
    const QByteArray bytes = RiffAvi(Chunk("JUNK", QByteArray(3, 'x'))
        + List("hdrl",
            Chunk("avih", QByteArray(56, '\0')) + List("odml", Chunk("dmlh", QByteArray(248, '\0'))) + strl
                + pcm)
        + List("movi", Chunk("00dc", "frame")));
    const QVector<AviStreamInfo> streams = StreamsOf(bytes);
    ASSERT_EQ(streams.size(), 2);
    EXPECT_EQ(streams[0].compression, "avc1");
    EXPECT_EQ(streams[0].height, -360);
    EXPECT_EQ(streams[1].formatTag, 1);
    EXPECT_EQ(streams[1].sampleRate, 48000u);
}

TEST(AviStreamListTest, RefusesOtherFilesAndKeepsWhatADamagedHeaderHolds)
{
    bool ok = true;
    QByteArray wave = RiffAvi(QByteArray());
    wave.replace(8, 4, "WAVE");
    StreamsOf(wave, &ok);
    EXPECT_FALSE(ok);
    QVector<AviStreamInfo> streams { AviStreamInfo {} };
    EXPECT_FALSE(ReadAviStreamList(QStringLiteral("/nonexistent/missing.avi"), &streams));
    EXPECT_TRUE(streams.isEmpty());

    // Cut inside the second stream's format: the first stream is whole, the second has no size yet.
    const QByteArray whole = BuildTestAvi(false, "$I").bytes;
    const qsizetype secondFormat = whole.indexOf("strf", whole.indexOf("strf") + 4);
    streams = StreamsOf(whole.left(secondFormat + 14), &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(streams.size(), 2);
    EXPECT_EQ(streams[0].width, 320);
    EXPECT_EQ(streams[1].type, "vids");
    EXPECT_EQ(streams[1].width, 0);
}

} // namespace
} // namespace zq
