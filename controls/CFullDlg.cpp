#include "CFullDlg.h"

#include "SkinDraw.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

namespace zq {

namespace {

constexpr QRgb kBackgroundColor = qRgb(10, 10, 10);

} // namespace

CFullDlg::CFullDlg(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPoint at(0, 0);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        at = screen->geometry().topLeft() + CentredPosition(screen->size(), QSize(m_width, m_height));
    setGeometry(at.x(), at.y(), m_width, m_height);
}

QPoint CFullDlg::CentredPosition(const QSize& screenSize, const QSize& windowSize)
{
    return { (screenSize.width() - windowSize.width()) / 2, (screenSize.height() - windowSize.height()) / 2 };
}

void CFullDlg::paintEvent(QPaintEvent* event)
{
    QPainter target(this);
    CMemDC2 dc(&target, event->rect());
    dc.fillRect(event->rect(), QColor(kBackgroundColor));
}

} // namespace zq
