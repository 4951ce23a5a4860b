#include "CRkPanelCtrl.h"

#include "CommandIds.h"
#include "WindowMessageEvent.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>

namespace zq {

CRkPanelCtrl::CRkPanelCtrl(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CRkPanelCtrl::event(QEvent* event)
{
    if (WindowMessageEvent::MessageOf(event) == kMsgCommand) {
        const auto* command = static_cast<const WindowMessageEvent*>(event);
        if (QWidget* owner = parentWidget())
            QCoreApplication::postEvent(
                owner, new WindowMessageEvent(kMsgCommand, command->WParam(), command->LParam()));
    }
    return QWidget::event(event);
}

void CRkPanelCtrl::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
}

} // namespace zq
