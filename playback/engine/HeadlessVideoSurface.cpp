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
    NotifyDisplaySizeChanged();
}

QSize HeadlessVideoSurface::DisplaySize() const
{
    if (!m_shown)
        return {};
    return m_videoRect.isValid() ? m_videoRect.size() : m_clientSize;
}

void HeadlessVideoSurface::SetShown(bool shown)
{
    m_shown = shown;
    NotifyDisplaySizeChanged();
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
        painter.setRenderHint(QPainter::SmoothPixmapTransform, m_frame.size() != m_videoRect.size());
        painter.drawImage(m_videoRect, m_frame);
    }
    return image;
}

} // namespace zq
