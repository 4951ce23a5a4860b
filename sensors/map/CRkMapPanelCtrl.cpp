#include "CRkMapPanelCtrl.h"

#include "CommandIds.h"
#include "WindowMessageEvent.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>

namespace zq {

CRkMapPanelCtrl::CRkMapPanelCtrl(QWidget* parent)
    : CRkWindow(parent)
{
}

bool CRkMapPanelCtrl::Create(QWidget* parent, int id, int x, int y, int width, int height)
{
    return CreateWindow(parent, QStringLiteral("RkMapPanelCtrl"), id, x, y, width, height, true);
}

bool CRkMapPanelCtrl::event(QEvent* event)
{
    if (WindowMessageEvent::MessageOf(event) == kMsgMapPanelChild) {
        const auto* message = static_cast<const WindowMessageEvent*>(event);
        m_hosted = reinterpret_cast<QWidget*>(message->WParam());
        return true;
    }
    return CRkWindow::event(event);
}

void CRkMapPanelCtrl::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor::fromRgb(kBackground));
}

void CRkMapPanelCtrl::resizeEvent(QResizeEvent* event)
{
    CRkWindow::resizeEvent(event);
    if (m_hosted)
        m_hosted->setGeometry(rect());
}

void HostIn(CRkMapPanelCtrl* panel, QWidget* browser)
{
    if (!panel || !browser)
        return;
    if (QWidget* oldParent = browser->parentWidget()) {
        WindowMessageEvent forget(kMsgMapPanelChild, 0);
        QCoreApplication::sendEvent(oldParent, &forget);
    }
    const bool shown = !browser->isHidden();
    browser->setParent(panel);
    panel->SetHosted(browser);
    browser->setGeometry(panel->rect());
    if (shown)
        browser->show();
}

} // namespace zq
