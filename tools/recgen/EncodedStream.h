#pragma once

#include <QByteArray>
#include <QVector>

namespace zq::recgen {

/// The encoded units of one stream (H.264 access units, raw AAC frames or PCM blocks), back to back in one
/// buffer, in decoding order. Each unit becomes one chunk of the media list.
struct EncodedStream {
    struct Unit {
        qsizetype offset = 0;
        int size = 0;
        bool keyframe = true;
    };
    QByteArray data;
    QVector<Unit> units;

    QByteArray unitBytes(qsizetype index) const
    {
        const Unit& unit = units.at(index);
        return QByteArray::fromRawData(data.constData() + unit.offset, unit.size);
    }
    void append(const char* bytes, int size, bool keyframe)
    {
        units.append({ data.size(), size, keyframe });
        data.append(bytes, size);
    }
};

/// Cuts an H.264 Annex B byte stream into access units, one per picture: a unit begins with the parameter
/// sets, delimiter or SEI in front of a picture, or with the first slice (first_mb_in_slice 0) of a picture
/// that no such NAL unit introduces. A unit holding an IDR slice is a keyframe.
EncodedStream SplitAnnexB(const QByteArray& stream);

/// Cuts an AAC ADTS stream into raw frames (headers removed). *audioSpecificConfig receives the two-byte
/// configuration of the first frame. Stops at the first damaged header.
EncodedStream SplitAdts(const QByteArray& stream, QByteArray* audioSpecificConfig);

} // namespace zq::recgen
