#pragma once

#include <QtGlobal>

// The stamp that every generated picture carries in its top band, shared by the painter (Qt Core only) and
// the reader (FrameStamp.h, which needs QImage).
//
// The band spans the whole width and the top kStampBandDivisor-th of the height. It is cut into
// kStampCells equal cells, each black or white:
//   cell 0 white, cell 1 black         start marker (read from the right on a mirrored picture)
//   cells 2..3                         channel number 0..3, most significant bit first
//   cells 4..19                        frame index 0..65535, most significant bit first
//   cell 20                            parity: the number of white cells among 2..20 is even
//   cell 21 black                      end marker
// A reader averages the middle of each cell and compares it with the midpoint of the two marker cells, so
// scaling, compression and a brightness change leave the stamp readable.
namespace zq::recgen {

constexpr int kStampCells = 22;
constexpr int kStampBandDivisor = 12;
constexpr int kStampMinBandHeightPx = 8;
constexpr int kStampChannelBits = 2;
constexpr int kStampIndexBits = 16;
constexpr int kStampFirstChannelCell = 2;
constexpr int kStampFirstIndexCell = kStampFirstChannelCell + kStampChannelBits;
constexpr int kStampParityCell = kStampFirstIndexCell + kStampIndexBits;
constexpr int kStampEndCell = kStampParityCell + 1;
static_assert(kStampEndCell + 1 == kStampCells);

constexpr int StampBandHeight(int pictureHeight)
{
    const int band = (pictureHeight / kStampBandDivisor) & ~1;
    return band < kStampMinBandHeightPx ? kStampMinBandHeightPx : band;
}

/// Left edge of a cell in a picture of the given width; cell kStampCells gives the right edge.
constexpr int StampCellLeft(int cell, int pictureWidth)
{
    return int(qint64(cell) * pictureWidth / kStampCells);
}

/// Colour of each cell (true: white) for a channel and frame index (taken modulo 65536).
inline void StampCellValues(int channel, int frameIndex, bool (&cells)[kStampCells])
{
    cells[0] = true;
    cells[1] = false;
    for (int bit = 0; bit < kStampChannelBits; ++bit)
        cells[kStampFirstChannelCell + bit] = (channel >> (kStampChannelBits - 1 - bit)) & 1;
    for (int bit = 0; bit < kStampIndexBits; ++bit)
        cells[kStampFirstIndexCell + bit] = (frameIndex >> (kStampIndexBits - 1 - bit)) & 1;
    int whites = 0;
    for (int cell = kStampFirstChannelCell; cell < kStampParityCell; ++cell)
        whites += cells[cell] ? 1 : 0;
    cells[kStampParityCell] = (whites % 2) != 0;
    cells[kStampEndCell] = false;
}

} // namespace zq::recgen
