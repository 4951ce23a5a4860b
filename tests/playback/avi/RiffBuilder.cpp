#include "RiffBuilder.h"

#include <QtEndian>

namespace zq::test {

QByteArray U16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray U32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray ChunkWithSize(const char* id, quint32 size, const QByteArray& payload)
{
    return QByteArray(id, 4) + U32(size) + payload + QByteArray(payload.size() % 2, '\0');
}

QByteArray Chunk(const char* id, const QByteArray& payload)
{
    return ChunkWithSize(id, quint32(payload.size()), payload);
}

QByteArray List(const char* type, const QByteArray& children)
{
    return "LIST" + U32(quint32(children.size() + 4)) + QByteArray(type, 4) + children;
}

QByteArray RiffAvi(const QByteArray& children)
{
    return "RIFF" + U32(quint32(children.size() + 4)) + "AVI " + children;
}

QByteArray StreamHeader(const char* type, const char* handler)
{
    return QByteArray(type, 4) + QByteArray(handler, 4) + QByteArray(48, '\0');
}

QByteArray VideoFormat(qint32 width, qint32 height, const char* compression)
{
    return U32(40) + U32(quint32(width)) + U32(quint32(height)) + U16(1) + U16(24)
        + QByteArray(compression, 4) + QByteArray(20, '\0');
}

QByteArray AudioFormat(quint16 formatTag, quint16 channels, quint32 sampleRate)
{
    return U16(formatTag) + U16(channels) + U32(sampleRate) + U32(sampleRate * 2) + U16(2) + U16(16) + U16(2)
        + U16(0x1012);
}

TestAvi BuildTestAvi(bool idx1BeforeMovi, const QByteArray& userData, const QByteArray& tail)
{
    const auto stream = [](const char* type, const QByteArray& format, const QByteArray& extra) {
        return List("strl",
            Chunk("strh", StreamHeader(type, type[0] == 'v' ? "H264" : "\0\0\0\0")) + Chunk("strf", format)
                + extra);
    };
    const QByteArray hdrl = List("hdrl",
        Chunk("avih", QByteArray(56, '\x11'))
            + stream("vids", VideoFormat(320, 180, "H264"), Chunk("strd", userData))
            + stream("vids", VideoFormat(160, 90, "H264"), {})
            + stream("auds", AudioFormat(0xFF, 1, 22050), {}));
    QByteArray frames;
    QByteArray index;
    const char* const ids[] = { "00dc", "01dc", "02wb", "00dc", "01dc" };
    for (int i = 0; i < 5; ++i) {
        const QByteArray payload(7 + i * 3, char('a' + i));
        // Index offsets count from the "movi" list type, as usual.
        index += QByteArray(ids[i], 4) + U32(0x10) + U32(quint32(4 + frames.size()))
            + U32(quint32(payload.size()));
        frames += Chunk(ids[i], payload);
    }
    const QByteArray movi = List("movi", frames);
    const QByteArray idx1 = Chunk("idx1", index);

    TestAvi avi;
    avi.bytes = RiffAvi(idx1BeforeMovi ? hdrl + idx1 + movi : hdrl + movi + idx1) + tail;
    const quint32 hdrlEnd = 12 + quint32(hdrl.size());
    avi.at.idx1Size = quint32(index.size());
    avi.at.moviSize = quint32(frames.size() + 4);
    avi.at.idx1Offset = idx1BeforeMovi ? hdrlEnd : hdrlEnd + quint32(movi.size());
    avi.at.moviOffset = idx1BeforeMovi ? hdrlEnd + quint32(idx1.size()) : hdrlEnd;
    return avi;
}

} // namespace zq::test
