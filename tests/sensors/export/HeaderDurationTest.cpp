#include "HeaderDuration.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace zq {
namespace {

QByteArray U32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray Chunk(const char* id, const QByteArray& payload)
{
    QByteArray chunk = QByteArray(id, 4) + U32(quint32(payload.size())) + payload;
    if (payload.size() % 2)
        chunk += '\0';
    return chunk;
}

QByteArray List(const char* type, const QByteArray& content)
{
    return Chunk("LIST", QByteArray(type, 4) + content);
}

QByteArray MainHeader(quint32 microSecPerFrame, quint32 totalFrames)
{
    QByteArray header = U32(microSecPerFrame) + QByteArray(12, '\0') + U32(totalFrames);
    header.resize(56, '\0');
    return Chunk("avih", header);
}

QByteArray StreamHeader(const char* type, quint32 scale, quint32 rate, quint32 length)
{
    QByteArray header
        = QByteArray(type, 4) + QByteArray(16, '\0') + U32(scale) + U32(rate) + U32(0) + U32(length);
    header.resize(56, '\0');
    return List("strl", Chunk("strh", header) + Chunk("strf", QByteArray(40, '\0')));
}

QByteArray Avi(const QByteArray& headerList)
{
    const QByteArray body = QByteArray("AVI ") + List("hdrl", headerList) + List("movi", QByteArray());
    return QByteArray("RIFF") + U32(quint32(body.size())) + body;
}

std::optional<qint64> DurationOf(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return HeaderDurationMs(buffer);
}

TEST(HeaderDurationTest, TheLongestStreamGivesTheDuration)
{
    // 90 frames at 30 fps, and 47 AAC frames of 1024 samples at 16 kHz (3008 ms).
    EXPECT_EQ(DurationOf(Avi(MainHeader(33333, 90) + StreamHeader("vids", 1, 30, 90))), 3000);
    EXPECT_EQ(DurationOf(Avi(MainHeader(33333, 90) + StreamHeader("vids", 1, 30, 90)
                  + StreamHeader("auds", 1024, 16000, 47))),
        3008);
    // 29.97 fps, 1799 frames: 60026.6 ms, whole milliseconds down.
    EXPECT_EQ(DurationOf(Avi(MainHeader(33367, 1799) + StreamHeader("vids", 1001, 30000, 1799))), 60026);
    // The largest fields the header can hold do not overflow.
    EXPECT_GT(DurationOf(Avi(StreamHeader("vids", 0xFFFFFFFF, 1, 0xFFFFFFFF))).value_or(0), 0);
}

TEST(HeaderDurationTest, FallsBackToTheMainHeaderAndElseToNone)
{
    EXPECT_EQ(DurationOf(Avi(MainHeader(40000, 250) + StreamHeader("vids", 1, 0, 250))), 10000);
    EXPECT_EQ(DurationOf(Avi(MainHeader(0, 0) + StreamHeader("vids", 1, 0, 250))), std::nullopt);
    EXPECT_EQ(DurationOf(QByteArray("RIFF\x04\x00\x00\x00WAVE", 12)), std::nullopt);
    EXPECT_EQ(DurationOf(QByteArray()), std::nullopt);
    // Cut inside the stream header: what was read before the cut counts.
    const QByteArray whole = Avi(MainHeader(40000, 250) + StreamHeader("vids", 1, 25, 250));
    EXPECT_EQ(DurationOf(whole.left(whole.indexOf("strh") + 20)), 10000);
}

TEST(HeaderDurationTest, DeeplyNestedListsEndWithoutExhaustingTheStack)
{
    // A damaged header of a hundred thousand stream lists, each inside the one before.
    constexpr int kDepth = 100000;
    const QByteArray inner = StreamHeader("vids", 1, 25, 500);
    QByteArray nested;
    for (int level = 0; level < kDepth; ++level)
        nested += "LIST" + U32(quint32(4 + (kDepth - 1 - level) * 12 + inner.size())) + "strl";
    nested += inner;
    EXPECT_EQ(DurationOf(Avi(MainHeader(40000, 250) + nested)), 10000);
}

} // namespace
} // namespace zq
