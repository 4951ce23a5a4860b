#include "MainWindowTesting.h"

#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

namespace zq::test {

bool WaitUntil(const std::function<bool()>& condition, int boundMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > boundMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

bool GenerateRecording(const QString& path, const QStringList& options)
{
    QDir().mkpath(QFileInfo(path).path());
    QProcess tool;
    tool.start(bundleDir() + QStringLiteral("/zq481k-tool"),
        QStringList { QStringLiteral("generate") } + options + QStringList { path });
    return tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

ModalAnswerer::ModalAnswerer()
{
    m_timer.setInterval(50);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible()) {
                m_answered << box->objectName();
                box->accept();
            }
        }
    });
    m_timer.start();
}

} // namespace zq::test
