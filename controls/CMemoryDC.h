#pragma once

#include <QImage>
#include <QPainter>

class QPaintDevice;

namespace zq {

/// An off-screen drawing surface that its owner creates once for a size and keeps: it is a painter on its
/// own image, so everything a control draws lands off screen and reaches the window in one copy.
class CMemoryDC : public QPainter {
public:
    CMemoryDC() = default;
    ~CMemoryDC();
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    /// Creates the image, width × height in logical pixels, at the pixel ratio of `source` (may be null) and
    /// starts painting on it. False when already created (the first image stays) or the size is empty.
    bool Create(
        const QPaintDevice* source, int width, int height, QImage::Format format = QImage::Format_RGB32);
    bool IsCreated() const { return m_created; }

    /// The off-screen picture; painting on it is immediate, so it is current at any time.
    const QImage& Image() const { return m_image; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    /// Copies the (sourceX, sourceY, width, height) part of the picture unscaled to (x, y) of the target.
    void BitBlt(
        QPainter& target, int x, int y, int width, int height, int sourceX = 0, int sourceY = 0) const;

private:
    QImage m_image;
    int m_width = 0;
    int m_height = 0;
    bool m_created = false;
};

/// Copies part of an off-screen picture unscaled, whatever its pixel ratio: source coordinates are logical.
void BlitImage(
    QPainter& target, int x, int y, int width, int height, const QImage& source, int sourceX, int sourceY);

} // namespace zq
