#include "FrameStamp.h"

#include "FrameStampLayout.h"

#include <QColor>

namespace zq::recgen {

namespace {

constexpr int kMinContrast = 48;

// Mean grey of the middle of one cell: its edges blur in compression and scaling.
int CellLevel(const QImage& image, int cell, int band)
{
    const int left = StampCellLeft(cell, image.width());
    const int right = StampCellLeft(cell + 1, image.width());
    const int x0 = left + (right - left) * 3 / 10;
    const int x1 = std::max(x0 + 1, left + (right - left) * 7 / 10);
    const int y0 = band / 4;
    const int y1 = std::max(y0 + 1, band * 3 / 4);
    qint64 sum = 0;
    qint64 count = 0;
    for (int y = y0; y < y1 && y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = x0; x < x1 && x < image.width(); ++x) {
            sum += qGray(line[x]);
            ++count;
        }
    }
    return count > 0 ? int(sum / count) : 0;
}

FrameStamp ReadCells(const int (&levels)[kStampCells])
{
    FrameStamp stamp;
    stamp.whiteLevel = levels[0];
    stamp.blackLevel = levels[1];
    if (stamp.whiteLevel - stamp.blackLevel < kMinContrast)
        return stamp;
    const int threshold = (stamp.whiteLevel + stamp.blackLevel) / 2;
    bool cells[kStampCells];
    for (int cell = 0; cell < kStampCells; ++cell)
        cells[cell] = levels[cell] > threshold;
    if (cells[kStampEndCell])
        return stamp;
    int channel = 0;
    for (int bit = 0; bit < kStampChannelBits; ++bit)
        channel = (channel << 1) | (cells[kStampFirstChannelCell + bit] ? 1 : 0);
    int index = 0;
    for (int bit = 0; bit < kStampIndexBits; ++bit)
        index = (index << 1) | (cells[kStampFirstIndexCell + bit] ? 1 : 0);
    bool expected[kStampCells];
    StampCellValues(channel, index, expected);
    if (expected[kStampParityCell] != cells[kStampParityCell])
        return stamp;
    stamp.valid = true;
    stamp.channel = channel;
    stamp.frameIndex = index;
    return stamp;
}

} // namespace

FrameStamp DecodeFrameStamp(const QImage& picture)
{
    if (picture.isNull() || picture.width() < kStampCells * 2 || picture.height() < kStampMinBandHeightPx)
        return {};
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const int band = StampBandHeight(image.height());
    int levels[kStampCells];
    int reversed[kStampCells];
    for (int cell = 0; cell < kStampCells; ++cell) {
        levels[cell] = CellLevel(image, cell, band);
        reversed[kStampCells - 1 - cell] = levels[cell];
    }
    FrameStamp stamp = ReadCells(levels);
    if (stamp.valid)
        return stamp;
    FrameStamp mirrored = ReadCells(reversed);
    if (mirrored.valid) {
        mirrored.mirrored = true;
        return mirrored;
    }
    return stamp;
}

int DecodeFrameIndex(const QImage& picture)
{
    const FrameStamp stamp = DecodeFrameStamp(picture);
    return stamp.valid && !stamp.mirrored ? stamp.frameIndex : -1;
}

} // namespace zq::recgen
