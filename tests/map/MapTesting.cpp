#include "MapTesting.h"

#include "CMapViewWnd.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEnginePage>
#include <cmath>

namespace zq::test {

QVariant Evaluate(QWebEnginePage* page, const QString& script, int timeoutMs)
{
    QVariant value;
    bool done = false;
    QEventLoop loop;
    page->runJavaScript(script, [&](const QVariant& result) {
        value = result;
        done = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done)
        loop.exec();
    return value;
}

bool WaitForScript(QWebEnginePage* page, const QString& script, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (Evaluate(page, script, timeoutMs).toBool())
            return true;
        QSignalSpy never(page, &QWebEnginePage::titleChanged);
        never.wait(50);
    }
    return false;
}

bool LoadPage(CMapViewWnd* view, int timeoutMs)
{
    QSignalSpy loaded(view, &CMapViewWnd::pageLoaded);
    view->LoadMapPage();
    if (!view->IsNavigated())
        return false;
    if (!view->IsPageReady() && !loaded.wait(timeoutMs))
        return false;
    return view->IsPageReady();
}

CGPSData Fix(double latitudeDegrees, double longitudeDegrees, bool valid)
{
    auto nmea = [](double degrees) {
        const double whole = std::trunc(std::abs(degrees));
        const double value = whole * 100.0 + (std::abs(degrees) - whole) * 60.0;
        return degrees < 0 ? -value : value;
    };
    CGPSData fix;
    fix.valid = valid ? 1 : 0;
    fix.latitude = nmea(latitudeDegrees);
    fix.longitude = nmea(longitudeDegrees);
    return fix;
}

} // namespace zq::test
