#include "AviStreamList.h"

#include "RiffCursor.h"

#include <QFile>

namespace zq {

namespace {

constexpr qint64 kChunkHeaderBytes = 8;
constexpr qint64 kStreamHeaderBytes = 56; // AVISTREAMHEADER without its id and size
constexpr qint64 kBitmapInfoHeaderBytes = 40; // BITMAPINFOHEADER
constexpr qint64 kWaveFormatBytes = 16; // the WAVEFORMAT part of WAVEFORMATEX

struct ChunkSpan {
    quint32 id = 0;
    quint32 size = 0;
    qint64 payload = 0; // offset of the payload
    qint64 end = 0; // end of the payload, clamped to the enclosing span
    qint64 next = 0; // where the next sibling begins (payload, size and pad byte)
};

/// Reads the chunk header at the cursor; false when no whole header fits before limit.
bool ReadChunk(RiffCursor& cursor, qint64 limit, ChunkSpan* chunk)
{
    if (limit - cursor.pos() < kChunkHeaderBytes)
        return false;
    if (!cursor.readU32(&chunk->id) || !cursor.readU32(&chunk->size))
        return false;
    chunk->payload = cursor.pos();
    const qint64 declaredEnd = chunk->payload + qint64(chunk->size);
    chunk->end = qMin(declaredEnd, limit);
    chunk->next = declaredEnd + (chunk->size & 1);
    return true;
}

QByteArray FourCCAt(const QByteArray& bytes, qsizetype offset)
{
    return bytes.size() - offset >= 4 ? bytes.mid(offset, 4) : QByteArray();
}

void ReadStreamFormat(const QByteArray& format, AviStreamInfo* stream)
{
    if (stream->type == "vids") {
        stream->width = qint32(LoadU32(format, 4));
        stream->height = qint32(LoadU32(format, 8));
        stream->compression = FourCCAt(format, 16);
    } else if (stream->type == "auds") {
        stream->formatTag = LoadU16(format, 0);
        stream->channels = LoadU16(format, 2);
        stream->sampleRate = LoadU32(format, 4);
    }
}

/// Walks one "strl" list: "strh" starts a stream, "strf" and "strd" describe the latest one.
void ReadStreamList(RiffCursor& cursor, qint64 listEnd, QVector<AviStreamInfo>* streams)
{
    bool haveStream = false;
    ChunkSpan chunk;
    while (ReadChunk(cursor, listEnd, &chunk)) {
        if (chunk.id == FourCC("strh")) {
            const QByteArray header = cursor.read(qMin(chunk.end - chunk.payload, kStreamHeaderBytes));
            AviStreamInfo stream;
            stream.type = FourCCAt(header, 0);
            stream.handler = FourCCAt(header, 4);
            streams->append(stream);
            haveStream = true;
        } else if (chunk.id == FourCC("strf") && haveStream) {
            const qint64 wanted = streams->last().type == "vids" ? kBitmapInfoHeaderBytes : kWaveFormatBytes;
            ReadStreamFormat(cursor.read(qMin(chunk.end - chunk.payload, wanted)), &streams->last());
        } else if (chunk.id == FourCC("strd") && haveStream) {
            streams->last().hasStrd = true;
        }
        if (chunk.next > listEnd || !cursor.seek(chunk.next))
            return;
    }
}

} // namespace

bool ReadAviStreamList(QIODevice& device, QVector<AviStreamInfo>* streams)
{
    streams->clear();
    RiffCursor cursor(device);
    if (!cursor.readAviHeader())
        return false;
    const qint64 fileEnd = cursor.size();
    ChunkSpan chunk;
    while (ReadChunk(cursor, fileEnd, &chunk)) {
        quint32 listType = 0;
        if (chunk.id == FourCC("LIST") && chunk.end - chunk.payload >= 4 && cursor.readU32(&listType)) {
            if (listType == FourCC("movi"))
                return true; // the header list always comes before the media
            if (listType == FourCC("hdrl")) {
                ChunkSpan inner;
                while (ReadChunk(cursor, chunk.end, &inner)) {
                    quint32 innerType = 0;
                    if (inner.id == FourCC("LIST") && inner.end - inner.payload >= 4
                        && cursor.readU32(&innerType) && innerType == FourCC("strl"))
                        ReadStreamList(cursor, inner.end, streams);
                    if (inner.next > chunk.end || !cursor.seek(inner.next))
                        break;
                }
                return true;
            }
        }
        if (!cursor.seek(chunk.next))
            break;
    }
    return true;
}

bool ReadAviStreamList(const QString& path, QVector<AviStreamInfo>* streams)
{
    streams->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return ReadAviStreamList(file, streams);
}

} // namespace zq
