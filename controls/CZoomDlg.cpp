#include "CZoomDlg.h"

#include "TextLookup.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimerEvent>

namespace zq {

namespace {

constexpr QRgb kSelfFillColor = qRgb(150, 150, 150);
constexpr int kTitleTextId = 208;

} // namespace

CZoomDlg::CZoomDlg(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_timer.start(kTickIntervalMs, this);
}

void CZoomDlg::ShowZoom()
{
    setWindowTitle(Text(kTitleTextId));
    show();
    m_shown = true;
}

void CZoomDlg::HideZoom()
{
    hide();
    m_shown = false;
}

QRect CZoomDlg::SourceRect(
    const QPoint& cursor, const QSize& clientSize, const QRect& virtualScreen, int zoomFactor)
{
    if (zoomFactor <= 0)
        return {};
    const int width = clientSize.width() / zoomFactor;
    const int height = clientSize.height() / zoomFactor;
    int x = qMax(cursor.x() - width / 2, virtualScreen.left());
    int y = qMax(cursor.y() - height / 2, virtualScreen.top());
    if (x + width > virtualScreen.left() + virtualScreen.width())
        x = virtualScreen.left() + virtualScreen.width() - width;
    if (y + height > virtualScreen.top() + virtualScreen.height())
        y = virtualScreen.top() + virtualScreen.height() - height;
    return { x, y, width, height };
}

QImage CZoomDlg::Magnify(const QImage& capture, const QRect& virtualScreen, const QRect& ownClientArea,
    const QPoint& cursor, const QSize& clientSize, int zoomFactor)
{
    if (clientSize.isEmpty())
        return {};
    QImage picture(clientSize, QImage::Format_RGB32);
    picture.fill(QColor(kSelfFillColor));
    const QRect source = SourceRect(cursor, clientSize, virtualScreen, zoomFactor);
    if (capture.isNull() || source.isEmpty())
        return picture;

    // Work in capture pixels: the capture starts at the virtual screen's top-left corner.
    const QPoint origin = virtualScreen.topLeft();
    QImage greyed = capture.convertToFormat(QImage::Format_RGB32);
    {
        QPainter painter(&greyed);
        painter.fillRect(ownClientArea.translated(-origin), QColor(kSelfFillColor));
    }
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QRectF part = QRectF(source.translated(-origin));
    const qreal ratio = capture.devicePixelRatio();
    painter.drawImage(
        QRect(QPoint(0, 0), clientSize), greyed, QRectF(part.topLeft() * ratio, part.size() * ratio));
    return picture;
}

void CZoomDlg::Tick()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect virtualScreen = screen->virtualGeometry();
    // Window 0 is the whole virtual desktop.
    const QImage capture = screen->grabWindow(0).toImage();
    const QRect ownClientArea(mapToGlobal(QPoint(0, 0)), size());
    m_picture = Magnify(capture, virtualScreen, ownClientArea, QCursor::pos(), size(), m_zoomFactor);
    update();
}

void CZoomDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer.timerId()) {
        QDialog::timerEvent(event);
        return;
    }
    if (m_shown && isVisible())
        Tick();
}

void CZoomDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_picture.isNull() || m_picture.size() != size())
        painter.fillRect(rect(), QColor(kSelfFillColor));
    if (!m_picture.isNull())
        painter.drawImage(0, 0, m_picture);
}

void CZoomDlg::closeEvent(QCloseEvent* event)
{
    // Closing from the title bar only hides the window; the Zoom command shows it again.
    event->ignore();
    HideZoom();
}

void CZoomDlg::reject()
{
    HideZoom();
}

} // namespace zq
