#include "CRkVolumeCtrl.h"

#include "CommandIds.h"
#include "SkinDraw.h"
#include "WindowMessageEvent.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

namespace zq {

namespace {

constexpr int kEmptyBarBitmap = 20001;
constexpr int kFilledBarBitmap = 20002;
// A click maps onto eleven columns, one per level 0..10.
constexpr int kClickColumns = 11;

} // namespace

CRkVolumeCtrl::CRkVolumeCtrl(QWidget* parent)
    : CRkWindow(parent)
{
}

bool CRkVolumeCtrl::Create(QWidget* parent, int id, int x, int y, int width, int height)
{
    return CreateWindow(parent, QStringLiteral("RkVolumeWnd"), id, x, y, width, height);
}

void CRkVolumeCtrl::SetLevel(int level)
{
    m_level = qBound(0, level, kMaxLevel);
    m_showMuted = false;
    update();
}

void CRkVolumeCtrl::DrawMuted()
{
    m_showMuted = true;
    update();
}

void CRkVolumeCtrl::DrawLevel()
{
    m_showMuted = false;
    update();
}

int CRkVolumeCtrl::LevelFromPoint(int x) const
{
    if (x < 0)
        return 0;
    if (x >= width())
        return kMaxLevel;
    // A bar narrower than eleven pixels has columns of one pixel rather than none.
    const int column = qMax(1, width() / kClickColumns);
    return qBound(0, x / column, kMaxLevel);
}

void CRkVolumeCtrl::paintEvent(QPaintEvent*)
{
    const int level = m_showMuted ? 0 : m_level;
    QPainter target(this);
    CMemDC2 dc(&target, rect());
    DrawBitmap(dc, kEmptyBarBitmap, 0, 0, width(), height());
    DrawBitmap(dc, kFilledBarBitmap, 0, 0, (width() / kMaxLevel) * level, height());
}

void CRkVolumeCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    SetLevel(LevelFromPoint(event->position().toPoint().x()));
    repaint();
    // Posted, so the owner acts on it after the click has been drawn.
    if (QWidget* owner = parentWidget())
        QCoreApplication::postEvent(owner, new WindowMessageEvent(kMsgVolumeChanged, m_level, 0));
}

} // namespace zq
