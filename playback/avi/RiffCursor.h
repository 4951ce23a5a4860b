#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QtGlobal>

namespace zq {

/// A four-character code as the little-endian 32-bit value it is stored as, so ids compare as whole values.
constexpr quint32 FourCC(const char (&text)[5])
{
    return quint32(quint8(text[0])) | quint32(quint8(text[1])) << 8 | quint32(quint8(text[2])) << 16
        | quint32(quint8(text[3])) << 24;
}

/// Reads RIFF chunk headers and payloads from a random-access device. Every read reports what it got, so a
/// truncated file or a size that points past the end never turns into a read past a buffer.
class RiffCursor {
public:
    explicit RiffCursor(QIODevice& device);

    qint64 pos() const { return m_pos; }
    qint64 size() const { return m_size; }
    qint64 remaining() const { return m_size > m_pos ? m_size - m_pos : 0; }

    /// Moves to an absolute offset; false (and the position unchanged) outside 0 .. size.
    bool seek(qint64 offset);
    /// Moves on by count bytes (count may be negative); false when the target lies outside the file.
    bool skip(qint64 count) { return seek(m_pos + count); }

    /// Reads a little-endian 32-bit value; false when fewer than four bytes remain.
    bool readU32(quint32* value);
    /// Reads up to count bytes (fewer at the end of the file); the position moves by what was read.
    QByteArray read(qint64 count);
    /// True when the first 12 bytes are "RIFF", any size, "AVI "; leaves the position at 12.
    bool readAviHeader();

private:
    QIODevice& m_device;
    qint64 m_pos = 0;
    qint64 m_size = 0;
};

/// Little-endian fields of a header structure held in memory; zero when the structure is too short.
quint32 LoadU32(const QByteArray& bytes, qsizetype offset);
quint16 LoadU16(const QByteArray& bytes, qsizetype offset);

} // namespace zq
