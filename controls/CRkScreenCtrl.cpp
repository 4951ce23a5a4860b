#include "CRkScreenCtrl.h"

#include "Menu149.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

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
    NotifyDisplaySizeChanged();
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

QSize CRkScreenCtrl::DisplaySize() const
{
    if (!isVisible())
        return {};
    return (QSizeF(VideoRect().size()) * devicePixelRatioF()).toSize();
}

void CRkScreenCtrl::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect video = VideoRect();
    if (m_frame.isNull() || !video.contains(event->rect())) {
        painter.fillRect(event->rect(), QColor(kNoPictureColor));
    }
    if (!m_frame.isNull()) {
        // The engine delivers frames of the rectangle's size: those are copied as they are. Only a
        // frame made before a resize is stretched, smoothly, until the next one arrives.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, m_frame.size() != DisplaySize());
        painter.drawImage(QRectF(video), m_frame, QRectF(m_frame.rect()));
    }
}

void CRkScreenCtrl::resizeEvent(QResizeEvent* event)
{
    // A video rectangle that covered the whole screen keeps covering it.
    if (!m_videoRect.isEmpty() && m_videoRect == QRect(QPoint(0, 0), event->oldSize()))
        m_videoRect = rect();
    CRkWindow::resizeEvent(event);
    NotifyDisplaySizeChanged();
}

void CRkScreenCtrl::showEvent(QShowEvent* event)
{
    CRkWindow::showEvent(event);
    NotifyDisplaySizeChanged();
}

void CRkScreenCtrl::hideEvent(QHideEvent* event)
{
    CRkWindow::hideEvent(event);
    NotifyDisplaySizeChanged();
}

void CRkScreenCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        // The commands go to the owner, so the main window handles them as its own. The press stops here:
        // the window behind would open a second menu under this one, left open when this one closes.
        ShowLanguageMenu(m_language, event->globalPosition().toPoint(), parentWidget());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

} // namespace zq
