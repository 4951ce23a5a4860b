#include "HeaderDuration.h"

#include "RiffCursor.h"

#include <QFile>

namespace zq {

namespace {

constexpr qint64 kHeaderBytes = 56; // "avih" and "strh" payloads
constexpr qsizetype kMainMicroSecPerFrame = 0;
constexpr qsizetype kMainTotalFrames = 16;
constexpr qsizetype kStreamScale = 20;
constexpr qsizetype kStreamRate = 24;
constexpr qsizetype kStreamLength = 32;
constexpr quint64 kMaxSeconds = quint64(1) << 40; // far beyond any recording; keeps the sums in range

struct Chunk {
    quint32 id = 0;
    qint64 payload = 0;
    qint64 end = 0; // payload end, clamped to the enclosing list
    qint64 next = 0; // payload end plus the pad byte
};

bool ReadChunk(RiffCursor& cursor, qint64 limit, Chunk* chunk)
{
    quint32 size = 0;
    if (limit - cursor.pos() < 8 || !cursor.readU32(&chunk->id) || !cursor.readU32(&size))
        return false;
    chunk->payload = cursor.pos();
    chunk->end = qMin(chunk->payload + qint64(size), limit);
    chunk->next = chunk->payload + qint64(size) + (size & 1);
    return true;
}

struct Lengths {
    qint64 longestStreamMs = -1;
    qint64 mainHeaderMs = -1;
};

/// Reads "avih" and the "strh" of every "strl" list; stream lists are entered one level deep only, so a
/// damaged file cannot nest them without end.
void ReadHeaderList(RiffCursor& cursor, qint64 listEnd, bool inStreamList, Lengths* lengths)
{
    Chunk chunk;
    while (ReadChunk(cursor, listEnd, &chunk)) {
        quint32 listType = 0;
        if (chunk.id == FourCC("LIST") && cursor.readU32(&listType) && listType == FourCC("strl")) {
            if (!inStreamList)
                ReadHeaderList(cursor, chunk.end, true, lengths);
        } else if (chunk.id == FourCC("avih")) {
            const QByteArray header = cursor.read(qMin(chunk.end - chunk.payload, kHeaderBytes));
            const quint64 micros
                = quint64(LoadU32(header, kMainMicroSecPerFrame)) * LoadU32(header, kMainTotalFrames);
            if (micros > 0)
                lengths->mainHeaderMs = qint64(micros / 1000);
        } else if (chunk.id == FourCC("strh")) {
            const QByteArray header = cursor.read(qMin(chunk.end - chunk.payload, kHeaderBytes));
            const quint32 rate = LoadU32(header, kStreamRate);
            if (rate > 0) {
                // length * scale fits 64 bits; the milliseconds are split so that nothing overflows.
                const quint64 units = quint64(LoadU32(header, kStreamLength)) * LoadU32(header, kStreamScale);
                const quint64 whole = qMin<quint64>(units / rate, kMaxSeconds);
                const qint64 ms = qint64(whole * 1000 + (units % rate) * 1000 / rate);
                lengths->longestStreamMs = qMax(lengths->longestStreamMs, ms);
            }
        }
        if (chunk.next > listEnd || !cursor.seek(chunk.next))
            return;
    }
}

} // namespace

std::optional<qint64> HeaderDurationMs(QIODevice& device)
{
    RiffCursor cursor(device);
    if (!cursor.readAviHeader())
        return std::nullopt;
    Lengths lengths;
    Chunk chunk;
    while (ReadChunk(cursor, cursor.size(), &chunk)) {
        quint32 listType = 0;
        if (chunk.id == FourCC("LIST") && cursor.readU32(&listType) && listType == FourCC("hdrl")) {
            ReadHeaderList(cursor, chunk.end, false, &lengths);
            break;
        }
        if (!cursor.seek(chunk.next))
            break;
    }
    if (lengths.longestStreamMs > 0)
        return lengths.longestStreamMs;
    if (lengths.mainHeaderMs > 0)
        return lengths.mainHeaderMs;
    return std::nullopt;
}

std::optional<qint64> HeaderDurationMs(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return HeaderDurationMs(file);
}

} // namespace zq
