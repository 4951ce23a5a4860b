#include "ReadAviInfo.h"

#include "RiffCursor.h"

#include <QFile>
#include <QLoggingCategory>
#include <cstring>

namespace zq {

namespace {

// Header size mismatches are worth a look while debugging, not a line on every run.
Q_LOGGING_CATEGORY(lcAvi, "zq.avi", QtInfoMsg)

constexpr qint64 kMainHeaderBytes = 56; // "avih" and "strh" are read as 56-byte headers
constexpr qint64 kVideoFormatBytes = 40; // "strf" behind a "vids" stream header
constexpr qint64 kAudioFormatBytes = 20; // "strf" behind an "auds" stream header
constexpr qsizetype kSensorRecordBytes = 16;
// A real block holds about 1 MB per hour of driving; a larger size field is damage, and reading it whole
// would pull the media into memory.
constexpr qint64 kMaxUserDataBytes = 64 << 20;

} // namespace

bool ExtractInfoRecord(const QByteArray& block, AviInfo* info)
{
    const qsizetype size = block.size();
    qsizetype offset = 0;
    while (offset + 1 < size && block[offset] == '$') {
        const char type = block[offset + 1];
        if (type == 'G') {
            const qsizetype next = block.indexOf('$', offset + 2);
            if (next < 0)
                return false;
            offset = next;
        } else if (type == 'M') {
            offset += kSensorRecordBytes;
        } else if (type == 'I') {
            // A record cut short by the end of the block is no information record.
            if (size - offset < AviInfo::kInfoRecordBytes)
                return false;
            std::memcpy(info->infoRecord.data(), block.constData() + offset, AviInfo::kInfoRecordBytes);
            info->userData = block.mid(offset + AviInfo::kInfoRecordBytes);
            info->userDataSize = quint32(info->userData.size());
            return true;
        } else {
            return false;
        }
    }
    return false;
}

bool ReadAviInfo(QIODevice& device, AviInfo* info)
{
    RiffCursor cursor(device);
    if (!cursor.readAviHeader())
        return false;

    quint32 streamType = 0; // type of the latest "strh", which decides how much of "strf" is read
    for (;;) {
        quint32 id = 0;
        quint32 size = 0;
        if (!cursor.readU32(&id) || !cursor.readU32(&size) || id == 0 || qint32(size) < 1)
            return true;
        const qint64 payload = cursor.pos();
        const qint64 next = payload + qint64(size) + (size & 1);

        if (id == FourCC("LIST")) {
            quint32 listType = 0;
            if (!cursor.readU32(&listType))
                return true;
            continue; // every list is entered, whatever its type
        }
        if (id == FourCC("strd")) {
            // The payload may claim more than the file holds; only what is there is read.
            ExtractInfoRecord(cursor.read(qMin<qint64>(size, kMaxUserDataBytes)), info);
            return true;
        }
        qint64 wanted = -1;
        if (id == FourCC("avih") || id == FourCC("strh"))
            wanted = kMainHeaderBytes;
        else if (id == FourCC("strf"))
            wanted = streamType == FourCC("vids") ? kVideoFormatBytes
                : streamType == FourCC("auds")    ? kAudioFormatBytes
                                                  : 0;
        if (wanted >= 0) {
            // Never read past the chunk: a short header is read as far as it goes.
            const QByteArray header = cursor.read(qMin<qint64>(wanted, size));
            if (header.size() != qint64(size))
                qCDebug(lcAvi, "          # data_size(%d) != size(%d)", int(header.size()), qint32(size));
            if (id == FourCC("strh"))
                streamType = LoadU32(header, 0);
        }
        if (!cursor.seek(next))
            return true;
    }
}

bool ReadAviInfo(const QString& path, AviInfo* info)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return ReadAviInfo(file, info);
}

} // namespace zq
