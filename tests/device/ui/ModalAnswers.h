#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace zq::test {

/// Answers the modal windows the code under test opens, in order, so no person is needed. Each handler gets
/// the window; what was shown is kept for the test to check. A window without a handler is rejected.
class ModalAnswers : public QObject {
public:
    ModalAnswers()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswers::Poll);
        m_timer.start(20);
    }

    void Then(std::function<void(QWidget*)> handler) { m_handlers.push_back(std::move(handler)); }
    /// Presses a standard button of the next message box.
    void Press(QMessageBox::StandardButton button)
    {
        Then([button](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box && box->button(button))
                box->button(button)->click();
            else
                QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
        });
    }

    QStringList shown; // class name, then the message text of message boxes

private:
    void Poll()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == m_last)
            return;
        m_last = w;
        auto* box = qobject_cast<QMessageBox*>(w);
        shown.append(
            QString::fromLatin1(w->metaObject()->className()) + (box ? ": " + box->text() : QString()));
        if (m_handlers.empty()) {
            QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
            return;
        }
        auto handler = std::move(m_handlers.front());
        m_handlers.pop_front();
        handler(w);
    }

    QTimer m_timer;
    QPointer<QWidget> m_last;
    std::deque<std::function<void(QWidget*)>> m_handlers;
};

} // namespace zq::test
