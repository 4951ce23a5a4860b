#include "CRkScreenCtrl.h"

#include "Menu149.h"

#include <QMouseEvent>
#include <QPainter>

namespace zq {

namespace {

constexpr QRgb kNoPictureColor = qRgb(0, 0, 0);

} // namespace

CRkScreenCtrl::CRkScreenCtrl(QWidget* parent)
    : CRkWindow(parent)
{
}

bool CRkScreenCtrl::Create(QWidget* parent, int id, int x, int y, int width, int height)
{
    return CreateWindow(parent, QStringLiteral("RkScreenWnd"), id, x, y, width, height, false);
}

void CRkScreenCtrl::PresentFrame(const QImage& frame)
{
    m_frame = frame;
    update(VideoRect());
}

void CRkScreenCtrl::RepaintFrame()
{
    update();
}

void CRkScreenCtrl::SetVideoRect(const QRect& rect)
{
    m_videoRect = rect;
    update();
}

void CRkScreenCtrl::ClearFrame()
{
    m_frame = QImage();
    update();
}

QRect CRkScreenCtrl::VideoRect() const
{
    return m_videoRect.isEmpty() ? rect() : m_videoRect;
}

void CRkScreenCtrl::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect video = VideoRect();
    if (m_frame.isNull() || !video.contains(event->rect())) {
        painter.fillRect(event->rect(), QColor(kNoPictureColor));
    }
    if (!m_frame.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(video, m_frame);
    }
}

void CRkScreenCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        // The commands go to the owner, so the main window handles them as its own.
        ShowLanguageMenu(m_language, event->globalPosition().toPoint(), parentWidget());
    }
    QWidget::mousePressEvent(event);
}

} // namespace zq
