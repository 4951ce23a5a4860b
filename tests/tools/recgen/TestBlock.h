#pragma once

#include "GeneratedFile.h"

#include <cmath>

// Reading the user-data block the way the viewer walks it, for the tests.
namespace zq::test {

struct Record {
    char type;
    QByteArray bytes;
};

// Walks the block as the viewer does; *complete says whether the walk used up the whole block.
inline QVector<Record> WalkBlock(const QByteArray& block, bool* complete)
{
    QVector<Record> records;
    qsizetype pos = 0;
    *complete = false;
    bool first = true;
    while (pos < block.size()) {
        if (block[pos] != '$' || pos + 1 >= block.size())
            return records;
        const char type = block[pos + 1];
        qsizetype length = 0;
        if (type == 'I') {
            length = first ? 30 : 18;
        } else if (type == 'M') {
            length = 16;
        } else if (type == 'G') {
            const qsizetype next = block.indexOf('$', pos + 1);
            length = (next < 0 ? block.size() : next) - pos;
        } else {
            return records;
        }
        if (pos + length > block.size())
            return records;
        records.append({ type, block.mid(pos, length) });
        pos += length;
        first = false;
    }
    *complete = true;
    return records;
}

inline QVector<QByteArray> RecordsOf(const QVector<Record>& records, char type)
{
    QVector<QByteArray> found;
    for (const Record& record : records) {
        if (record.type == type)
            found.append(record.bytes);
    }
    return found;
}

// The sensor rule: value = magnitude byte + 1, negative when the sign byte is below 128.
inline recgen::GSample DecodeSample(const QByteArray& record)
{
    auto axis = [&](int index) {
        const int value = quint8(record[2 + index]) + 1;
        return quint8(record[5 + index]) < 128 ? -value : value;
    };
    return { axis(0), axis(1), axis(2) };
}

inline bool ChecksumIsRight(const QByteArray& sentence)
{
    const qsizetype star = sentence.indexOf('*');
    if (!sentence.startsWith('$') || star < 0 || star + 3 != sentence.size())
        return false;
    quint8 sum = 0;
    for (qsizetype index = 1; index < star; ++index)
        sum ^= quint8(sentence[index]);
    bool ok = false;
    const int written = sentence.mid(star + 1, 2).toInt(&ok, 16);
    return ok && written == sum && sentence.mid(star + 1, 2) == sentence.mid(star + 1, 2).toUpper();
}

inline double NmeaDegrees(const QByteArray& field, const QByteArray& hemisphere)
{
    const double raw = field.toDouble();
    const double degrees = std::floor(raw / 100.0);
    const double value = degrees + (raw - degrees * 100.0) / 60.0;
    return (hemisphere == "S" || hemisphere == "W") ? -value : value;
}

// The strd payload of the first stream header list that has one.
inline QByteArray BlockOf(const RiffFile& riff)
{
    for (const RiffChunk* strl : StreamLists(riff)) {
        if (strl->child("strd") != nullptr)
            return riff.payload(*strl->child("strd"));
    }
    return {};
}

} // namespace zq::test
