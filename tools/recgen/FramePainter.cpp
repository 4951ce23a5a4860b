#include "FramePainter.h"

#include "FrameStampLayout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace zq::recgen {

namespace {

// A 5x7 font for the few characters the pictures show; each row is five bits, most significant on the left.
struct Glyph {
    char ch;
    quint8 rows[7];
};
constexpr Glyph kGlyphs[] = {
    { '0', { 0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E } },
    { '1', { 0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E } },
    { '2', { 0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F } },
    { '3', { 0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E } },
    { '4', { 0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02 } },
    { '5', { 0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E } },
    { '6', { 0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E } },
    { '7', { 0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08 } },
    { '8', { 0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E } },
    { '9', { 0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C } },
    { ':', { 0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00 } },
    { '.', { 0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C } },
    { 'F', { 0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10 } },
    { 'R', { 0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11 } },
    { '#', { 0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A } },
};
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr const char* kChannelLetters[] = { "F", "R", "3", "4" };

const Glyph* FindGlyph(char ch)
{
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.ch == ch)
            return &glyph;
    }
    return nullptr;
}

struct Rgb {
    int r, g, b;
};
// Eight bars per channel: the front shows the classic colour bars, the others their own palettes.
constexpr Rgb kBars[4][8] = {
    { { 235, 235, 235 }, { 235, 235, 16 }, { 16, 235, 235 }, { 16, 235, 16 }, { 235, 16, 235 },
        { 235, 16, 16 }, { 16, 16, 235 }, { 40, 40, 40 } },
    { { 20, 90, 80 }, { 30, 140, 120 }, { 60, 190, 170 }, { 120, 60, 160 }, { 160, 90, 200 }, { 90, 30, 110 },
        { 200, 200, 120 }, { 60, 60, 20 } },
    { { 240, 150, 40 }, { 200, 110, 20 }, { 150, 70, 10 }, { 250, 200, 120 }, { 120, 40, 0 },
        { 230, 120, 90 }, { 180, 60, 50 }, { 90, 30, 20 } },
    { { 40, 80, 200 }, { 80, 130, 230 }, { 150, 180, 240 }, { 20, 40, 120 }, { 200, 220, 250 },
        { 60, 100, 160 }, { 10, 20, 60 }, { 110, 150, 200 } },
};
constexpr Rgb kSquareColours[4] = { { 250, 220, 0 }, { 255, 80, 0 }, { 0, 200, 255 }, { 255, 0, 140 } };

} // namespace

FramePainter::FramePainter(int width, int height, int channel, int framesPerSecond, int noiseAmplitude)
    : m_width(width)
    , m_height(height)
    , m_channel(channel & 3)
    , m_fps(std::max(1, framesPerSecond))
    , m_noise(std::clamp(noiseAmplitude, 0, 100))
    , m_band(StampBandHeight(height))
{
    m_background.fill(char(0), qsizetype(width) * height * 3 / 2);
    paintBackground();
    m_frame = m_background;
    m_frame.detach();
    m_random ^= quint64(channel + 1) * 0xD1B54A32D192ED03ull;
}

FramePainter::Yuv FramePainter::FromRgb(int r, int g, int b)
{
    const int y = (66 * r + 129 * g + 25 * b + 128) / 256 + 16;
    const int u = (-38 * r - 74 * g + 112 * b + 128) / 256 + 128;
    const int v = (112 * r - 94 * g - 18 * b + 128) / 256 + 128;
    return { quint8(std::clamp(y, 16, 235)), quint8(std::clamp(u, 16, 240)), quint8(std::clamp(v, 16, 240)) };
}

void FramePainter::fillRect(QByteArray& planes, int x, int y, int width, int height, Yuv colour) const
{
    const int left = std::clamp(x, 0, m_width);
    const int top = std::clamp(y, 0, m_height);
    const int right = std::clamp(x + width, 0, m_width);
    const int bottom = std::clamp(y + height, 0, m_height);
    if (left >= right || top >= bottom)
        return;
    quint8* luma = reinterpret_cast<quint8*>(planes.data());
    for (int row = top; row < bottom; ++row)
        std::memset(luma + qsizetype(row) * m_width + left, colour.y, size_t(right - left));
    // Chroma covers 2x2 pixels; a rectangle on odd edges colours the half-covered chroma samples too.
    const int chromaWidth = m_width / 2;
    quint8* cb = luma + qsizetype(m_width) * m_height;
    quint8* cr = cb + qsizetype(chromaWidth) * (m_height / 2);
    for (int row = top / 2; row < (bottom + 1) / 2; ++row) {
        std::memset(
            cb + qsizetype(row) * chromaWidth + left / 2, colour.u, size_t((right + 1) / 2 - left / 2));
        std::memset(
            cr + qsizetype(row) * chromaWidth + left / 2, colour.v, size_t((right + 1) / 2 - left / 2));
    }
}

void FramePainter::drawText(QByteArray& planes, int x, int y, int scale, const char* text, Yuv colour) const
{
    for (int index = 0; text[index] != '\0'; ++index) {
        const Glyph* glyph = FindGlyph(text[index]);
        const int left = x + index * (kGlyphWidth + 1) * scale;
        if (glyph == nullptr)
            continue;
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int column = 0; column < kGlyphWidth; ++column) {
                if (glyph->rows[row] & (0x10 >> column))
                    fillRect(planes, left + column * scale, y + row * scale, scale, scale, colour);
            }
        }
    }
}

void FramePainter::paintBackground()
{
    const int rampTop = m_height * 3 / 4;
    for (int bar = 0; bar < 8; ++bar) {
        const Rgb& rgb = kBars[m_channel][bar];
        const int left = bar * m_width / 8;
        fillRect(m_background, left, m_band, (bar + 1) * m_width / 8 - left, rampTop - m_band,
            FromRgb(rgb.r, rgb.g, rgb.b));
    }
    // The ramp brightens to the right: a mirrored picture has it the other way round.
    constexpr int kRampSteps = 32;
    for (int step = 0; step < kRampSteps; ++step) {
        const int level = 16 + step * (235 - 16) / (kRampSteps - 1);
        const int left = step * m_width / kRampSteps;
        fillRect(m_background, left, rampTop, (step + 1) * m_width / kRampSteps - left, m_height - rampTop,
            { quint8(level), 128, 128 });
    }
    // The channel's letter on a dark panel in the left third.
    const int panelX = m_width / 16;
    const int panelY = m_band + (rampTop - m_band) / 8;
    const int panelHeight = (rampTop - m_band) * 3 / 4;
    const int scale = std::max(1, (panelHeight - 4) / (kGlyphHeight + 2));
    const int panelWidth = scale * (kGlyphWidth + 2);
    fillRect(m_background, panelX, panelY, panelWidth, panelHeight, FromRgb(16, 16, 16));
    drawText(m_background, panelX + scale, panelY + scale, scale, kChannelLetters[m_channel],
        FromRgb(235, 235, 235));
}

void FramePainter::drawStamp(QByteArray& planes, int frameIndex) const
{
    bool cells[kStampCells];
    StampCellValues(m_channel, frameIndex, cells);
    for (int cell = 0; cell < kStampCells; ++cell) {
        const int left = StampCellLeft(cell, m_width);
        const quint8 level = cells[cell] ? 235 : 16;
        fillRect(planes, left, 0, StampCellLeft(cell + 1, m_width) - left, m_band, { level, 128, 128 });
    }
}

void FramePainter::addNoise(QByteArray& planes)
{
    quint8* luma = reinterpret_cast<quint8*>(planes.data()) + qsizetype(m_band) * m_width;
    const qsizetype count = qsizetype(m_height - m_band) * m_width;
    const int span = 2 * m_noise + 1;
    for (qsizetype index = 0; index < count; index += 8) {
        // xorshift64: fast enough for 1080p at full rate, and every run paints the same noise.
        m_random ^= m_random << 13;
        m_random ^= m_random >> 7;
        m_random ^= m_random << 17;
        quint64 bits = m_random;
        for (qsizetype byte = index; byte < std::min(count, index + 8); ++byte) {
            const int value = luma[byte] + int(bits & 0xFF) % span - m_noise;
            luma[byte] = quint8(std::clamp(value, 0, 255));
            bits >>= 8;
        }
    }
}

const QByteArray& FramePainter::paint(int frameIndex)
{
    std::memcpy(m_frame.data(), m_background.constData(), size_t(m_background.size()));
    const int rampTop = m_height * 3 / 4;
    const int square = std::max(4, (rampTop - m_band) / 4);
    const int travel = std::max(1, m_width - square);
    // The square crosses the picture once every two seconds.
    const int x = int(qint64(frameIndex % (2 * m_fps)) * travel / (2 * m_fps));
    const Rgb& rgb = kSquareColours[m_channel];
    fillRect(
        m_frame, x, rampTop - square - (rampTop - m_band) / 16, square, square, FromRgb(rgb.r, rgb.g, rgb.b));

    const int seconds = frameIndex / m_fps;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d.%02d #%d", (seconds / 60) % 100, seconds % 60,
        frameIndex % m_fps, frameIndex);
    const int scale = std::max(1, m_height / 120);
    const int textHeight = (kGlyphHeight + 2) * scale;
    const int textY = m_band + scale;
    const int textX = m_width * 3 / 8;
    fillRect(m_frame, textX - scale, textY - scale,
        int(std::strlen(text)) * (kGlyphWidth + 1) * scale + scale, textHeight, FromRgb(16, 16, 16));
    drawText(m_frame, textX, textY, scale, text, FromRgb(235, 235, 235));

    if (m_noise > 0)
        addNoise(m_frame);
    drawStamp(m_frame, frameIndex);
    return m_frame;
}

} // namespace zq::recgen
