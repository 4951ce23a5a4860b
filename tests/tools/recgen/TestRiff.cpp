#include "TestRiff.h"

namespace zq::test {

namespace {

// Reads the chunks between begin and end; false when a size runs past end.
bool ParseChunks(const QByteArray& bytes, qint64 begin, qint64 end, QVector<RiffChunk>* out)
{
    qint64 pos = begin;
    while (pos < end) {
        if (pos + 8 > end)
            return false;
        RiffChunk chunk;
        chunk.id = bytes.mid(pos, 4);
        chunk.size = U32At(bytes, pos + 4);
        chunk.offset = pos;
        const qint64 payloadEnd = pos + 8 + chunk.size;
        if (payloadEnd > end)
            return false;
        if (chunk.id == "LIST") {
            if (chunk.size < 4)
                return false;
            chunk.listType = bytes.mid(pos + 8, 4);
            if (!ParseChunks(bytes, pos + 12, payloadEnd, &chunk.children))
                return false;
        }
        out->append(chunk);
        pos = payloadEnd + (chunk.size & 1);
    }
    return pos == end;
}

} // namespace

quint16 U16At(const QByteArray& bytes, qsizetype offset)
{
    if (offset < 0 || offset + 2 > bytes.size())
        return 0;
    return quint16(quint8(bytes[offset]) | quint8(bytes[offset + 1]) << 8);
}

quint32 U32At(const QByteArray& bytes, qsizetype offset)
{
    if (offset < 0 || offset + 4 > bytes.size())
        return 0;
    return quint32(U16At(bytes, offset)) | quint32(U16At(bytes, offset + 2)) << 16;
}

const RiffChunk* RiffChunk::child(const QByteArray& childId, const QByteArray& type) const
{
    const QVector<const RiffChunk*> found = childrenWith(childId, type);
    return found.isEmpty() ? nullptr : found.first();
}

QVector<const RiffChunk*> RiffChunk::childrenWith(const QByteArray& childId, const QByteArray& type) const
{
    QVector<const RiffChunk*> found;
    for (const RiffChunk& chunk : children) {
        if (chunk.id == childId && (type.isEmpty() || chunk.listType == type))
            found.append(&chunk);
    }
    return found;
}

RiffFile ParseRiff(const QByteArray& bytes)
{
    RiffFile file;
    file.bytes = bytes;
    if (bytes.size() < 12 || bytes.left(4) != "RIFF")
        return file;
    file.root.id = "RIFF";
    file.root.size = U32At(bytes, 4);
    file.root.listType = bytes.mid(8, 4);
    const qint64 end = 8 + qint64(file.root.size);
    file.wellFormed = end == bytes.size() && ParseChunks(bytes, 12, end, &file.root.children);
    if (!file.wellFormed) {
        // Keep what can be read, for tests of damaged files.
        file.root.children.clear();
        qint64 pos = 12;
        while (pos + 8 <= bytes.size()) {
            RiffChunk chunk;
            chunk.id = bytes.mid(pos, 4);
            chunk.size = U32At(bytes, pos + 4);
            chunk.offset = pos;
            if (chunk.id == "LIST")
                chunk.listType = bytes.mid(pos + 8, 4);
            file.root.children.append(chunk);
            pos += 8 + qint64(chunk.size) + (chunk.size & 1);
        }
    }
    return file;
}

} // namespace zq::test
