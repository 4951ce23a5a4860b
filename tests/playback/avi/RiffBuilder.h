#pragma once

#include "ChunkLocations.h"

#include <QByteArray>
#include <ostream>

// Hand-built RIFF bytes for the reader tests. Size fields are what the builder is given, so a test can also
// write sizes that lie.
namespace zq {

inline bool operator==(const ChunkLocations& a, const ChunkLocations& b)
{
    return a.idx1Offset == b.idx1Offset && a.idx1Size == b.idx1Size && a.moviOffset == b.moviOffset
        && a.moviSize == b.moviSize;
}
inline std::ostream& operator<<(std::ostream& out, const ChunkLocations& at)
{
    return out << "idx1 " << at.idx1Offset << "+" << at.idx1Size << ", movi " << at.moviOffset << "+"
               << at.moviSize;
}

namespace test {

QByteArray U16(quint16 value);
QByteArray U32(quint32 value);
/// id, size (the payload's length unless given), payload, and a pad byte when the length is odd.
QByteArray Chunk(const char* id, const QByteArray& payload);
QByteArray ChunkWithSize(const char* id, quint32 size, const QByteArray& payload);
/// "LIST", size, list type, children.
QByteArray List(const char* type, const QByteArray& children);
/// "RIFF", size, "AVI ", children.
QByteArray RiffAvi(const QByteArray& children);
/// 56-byte stream header, 40-byte video format, 20-byte audio format (WAVEFORMATEX with 2 extra bytes).
QByteArray StreamHeader(const char* type, const char* handler);
QByteArray VideoFormat(qint32 width, qint32 height, const char* compression);
QByteArray AudioFormat(quint16 formatTag, quint16 channels, quint32 sampleRate);

/// A small AVI in the recorder's layout: two video streams (the first with userData in its strd) and an
/// audio stream, a movi list of five frames with odd and even sizes, idx1 in front of or behind movi, then
/// tail.
struct TestAvi {
    QByteArray bytes;
    ChunkLocations at;
};
TestAvi BuildTestAvi(bool idx1BeforeMovi, const QByteArray& userData, const QByteArray& tail = {});

} // namespace test
} // namespace zq
