#pragma once

#include "CommandIds.h"

#include <QEvent>
#include <QtGlobal>

namespace zq {

/// A command or private message between the viewer's windows. Buttons send kMsgCommand to their parent
/// (sent, like a click notification); controls post their private messages (posted stays posted).
class WindowMessageEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + 0x0400);

    WindowMessageEvent(int message, qintptr wParam = 0, qintptr lParam = 0)
        : QEvent(kType)
        , m_message(message)
        , m_wParam(wParam)
        , m_lParam(lParam)
    {
    }

    int Message() const { return m_message; }
    qintptr WParam() const { return m_wParam; }
    qintptr LParam() const { return m_lParam; }
    /// The command identifier of a kMsgCommand message.
    int CommandId() const { return int(m_wParam); }

    /// The message of an event, or 0 when it is not a WindowMessageEvent.
    static int MessageOf(const QEvent* event)
    {
        return event && event->type() == kType ? static_cast<const WindowMessageEvent*>(event)->Message() : 0;
    }

private:
    int m_message;
    qintptr m_wParam;
    qintptr m_lParam;
};

} // namespace zq
