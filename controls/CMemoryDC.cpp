#include "CMemoryDC.h"

#include <QPaintDevice>

namespace zq {

CMemoryDC::~CMemoryDC()
{
    // The painter must let go of the image before the image member is destroyed.
    if (isActive())
        end();
}

bool CMemoryDC::Create(const QPaintDevice* source, int width, int height, QImage::Format format)
{
    if (m_created || width <= 0 || height <= 0)
        return false;
    const qreal ratio = source ? source->devicePixelRatioF() : 1.0;
    QImage image(qRound(width * ratio), qRound(height * ratio), format);
    if (image.isNull())
        return false;
    image.setDevicePixelRatio(ratio);
    // A fresh compatible bitmap is black; start from the same picture every time.
    image.fill(Qt::black);
    m_image = std::move(image);
    m_width = width;
    m_height = height;
    if (!begin(&m_image)) {
        m_image = QImage();
        return false;
    }
    m_created = true;
    return true;
}

void CMemoryDC::BitBlt(QPainter& target, int x, int y, int width, int height, int sourceX, int sourceY) const
{
    if (m_created)
        BlitImage(target, x, y, width, height, m_image, sourceX, sourceY);
}

void BlitImage(
    QPainter& target, int x, int y, int width, int height, const QImage& source, int sourceX, int sourceY)
{
    if (source.isNull() || width <= 0 || height <= 0)
        return;
    const qreal ratio = source.devicePixelRatio();
    target.drawImage(QRectF(x, y, width, height), source,
        QRectF(sourceX * ratio, sourceY * ratio, width * ratio, height * ratio));
}

} // namespace zq
