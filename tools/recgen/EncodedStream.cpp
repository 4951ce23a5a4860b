#include "EncodedStream.h"

namespace zq::recgen {

namespace {

constexpr int kNalSlice = 1;
constexpr int kNalIdr = 5;
constexpr int kNalSei = 6;
constexpr int kNalSps = 7;
constexpr int kNalPps = 8;
constexpr int kNalDelimiter = 9;

struct NalUnit {
    qsizetype start = 0; // first byte of the start code
    qsizetype header = 0; // the NAL header byte
};

QVector<NalUnit> FindNalUnits(const QByteArray& stream)
{
    QVector<NalUnit> units;
    const auto* bytes = reinterpret_cast<const quint8*>(stream.constData());
    const qsizetype size = stream.size();
    for (qsizetype index = 0; index + 3 < size; ++index) {
        if (bytes[index] != 0 || bytes[index + 1] != 0 || bytes[index + 2] != 1)
            continue;
        // A four-byte start code belongs to the unit it starts, so the zero goes with it.
        const qsizetype start = (index > 0 && bytes[index - 1] == 0) ? index - 1 : index;
        units.append({ start, index + 3 });
        index += 2;
    }
    return units;
}

} // namespace

EncodedStream SplitAnnexB(const QByteArray& stream)
{
    EncodedStream result;
    const QVector<NalUnit> nals = FindNalUnits(stream);
    const auto* bytes = reinterpret_cast<const quint8*>(stream.constData());
    qsizetype unitStart = -1;
    bool unitHasSlice = false;
    bool unitIsKey = false;
    auto closeUnit = [&](qsizetype end) {
        if (unitStart >= 0 && unitHasSlice)
            result.append(stream.constData() + unitStart, int(end - unitStart), unitIsKey);
        unitStart = -1;
        unitHasSlice = false;
        unitIsKey = false;
    };
    for (const NalUnit& nal : nals) {
        const int type = bytes[nal.header] & 0x1F;
        const bool slice = type == kNalSlice || type == kNalIdr;
        // first_mb_in_slice is the first Exp-Golomb code of the slice header; a leading 1 bit means 0.
        const bool firstSlice = slice && nal.header + 1 < stream.size() && (bytes[nal.header + 1] & 0x80);
        const bool prefix = type == kNalSei || type == kNalSps || type == kNalPps || type == kNalDelimiter;
        if ((prefix && unitHasSlice) || (firstSlice && unitHasSlice))
            closeUnit(nal.start);
        if (unitStart < 0)
            unitStart = nal.start;
        if (slice)
            unitHasSlice = true;
        if (type == kNalIdr)
            unitIsKey = true;
    }
    closeUnit(stream.size());
    return result;
}

EncodedStream SplitAdts(const QByteArray& stream, QByteArray* audioSpecificConfig)
{
    EncodedStream result;
    const auto* bytes = reinterpret_cast<const quint8*>(stream.constData());
    const qsizetype size = stream.size();
    qsizetype pos = 0;
    while (pos + 7 <= size) {
        if (bytes[pos] != 0xFF || (bytes[pos + 1] & 0xF6) != 0xF0)
            break;
        const bool hasCrc = (bytes[pos + 1] & 0x01) == 0;
        const int headerSize = hasCrc ? 9 : 7;
        const int frameLength
            = ((bytes[pos + 3] & 0x03) << 11) | (bytes[pos + 4] << 3) | (bytes[pos + 5] >> 5);
        if (frameLength <= headerSize || pos + frameLength > size)
            break;
        if (result.units.isEmpty() && audioSpecificConfig != nullptr) {
            const int objectType = ((bytes[pos + 2] >> 6) & 0x03) + 1;
            const int frequencyIndex = (bytes[pos + 2] >> 2) & 0x0F;
            const int channelConfig = ((bytes[pos + 2] & 0x01) << 2) | (bytes[pos + 3] >> 6);
            const int config = (objectType << 11) | (frequencyIndex << 7) | (channelConfig << 3);
            audioSpecificConfig->clear();
            audioSpecificConfig->append(char(config >> 8));
            audioSpecificConfig->append(char(config & 0xFF));
        }
        result.append(stream.constData() + pos + headerSize, frameLength - headerSize, true);
        pos += frameLength;
    }
    return result;
}

} // namespace zq::recgen
