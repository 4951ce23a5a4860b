#include "GuiThread.h"

#include <QCoreApplication>
#include <QThread>

namespace zq {

bool OnGuiThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}

void RunOnGuiThread(std::function<void()> fn)
{
    if (OnGuiThread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(fn), Qt::QueuedConnection);
}

} // namespace zq
