#include "RiffCursor.h"

#include <QtEndian>

namespace zq {

RiffCursor::RiffCursor(QIODevice& device)
    : m_device(device)
    , m_pos(device.pos())
    , m_size(device.size())
{
}

bool RiffCursor::seek(qint64 offset)
{
    if (offset < 0 || offset > m_size)
        return false;
    if (offset != m_pos && !m_device.seek(offset))
        return false;
    m_pos = offset;
    return true;
}

bool RiffCursor::readU32(quint32* value)
{
    uchar bytes[4];
    if (remaining() < 4 || m_device.read(reinterpret_cast<char*>(bytes), 4) != 4) {
        // Whatever a failed read left behind, keep the cursor where the device is.
        m_pos = m_device.pos();
        return false;
    }
    m_pos += 4;
    *value = qFromLittleEndian<quint32>(bytes);
    return true;
}

QByteArray RiffCursor::read(qint64 count)
{
    const qint64 wanted = qBound<qint64>(0, count, remaining());
    QByteArray bytes = m_device.read(wanted);
    m_pos = m_device.pos();
    return bytes;
}

bool RiffCursor::readAviHeader()
{
    quint32 riff = 0;
    quint32 riffSize = 0;
    quint32 form = 0;
    if (!seek(0) || !readU32(&riff) || !readU32(&riffSize) || !readU32(&form))
        return false;
    return riff == FourCC("RIFF") && form == FourCC("AVI ");
}

quint32 LoadU32(const QByteArray& bytes, qsizetype offset)
{
    if (offset < 0 || bytes.size() - offset < 4)
        return 0;
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 LoadU16(const QByteArray& bytes, qsizetype offset)
{
    if (offset < 0 || bytes.size() - offset < 2)
        return 0;
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

} // namespace zq
