#include "HeadlessVideoSurface.h"

#include <QPainter>

namespace zq {

HeadlessVideoSurface::HeadlessVideoSurface(QSize clientSize)
    : m_clientSize(clientSize)
{
}

void HeadlessVideoSurface::PresentFrame(const QImage& frame)
{
    m_frame = frame;
    ++m_framesPresented;
}

void HeadlessVideoSurface::RepaintFrame()
{
    ++m_repaints;
}

void HeadlessVideoSurface::SetVideoRect(const QRect& rect)
{
    m_videoRect = rect;
}

QRect HeadlessVideoSurface::ClientRect() const
{
    return QRect(QPoint(0, 0), m_clientSize);
}

void HeadlessVideoSurface::ClearFrame()
{
    m_frame = QImage();
    ++m_clears;
}

QImage HeadlessVideoSurface::Paint() const
{
    QImage image(m_clientSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    if (!m_frame.isNull() && m_videoRect.isValid()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(m_videoRect, m_frame);
    }
    return image;
}

} // namespace zq
