#pragma once

#include "CGPSData.h"

#include <QVariant>
#include <QVector>

class QWebEnginePage;

namespace zq {
class CMapViewWnd;
}

namespace zq::test {

/// Runs JavaScript in the page and waits (at most `timeoutMs`) for its value.
QVariant Evaluate(QWebEnginePage* page, const QString& script, int timeoutMs = 10000);
/// Waits until the script yields true, polling; false on timeout.
bool WaitForScript(QWebEnginePage* page, const QString& script, int timeoutMs = 10000);
/// Loads the bundle's map page into the view and waits until it has loaded; false when it did not.
bool LoadPage(CMapViewWnd* view, int timeoutMs = 30000);

/// A fix at decimal degrees (converted to the recorder's ddmm.mmmm), valid or not.
CGPSData Fix(double latitudeDegrees, double longitudeDegrees, bool valid = true);

} // namespace zq::test
