#include "CMapPage.h"

#include <QLoggingCategory>

namespace zq {

Q_LOGGING_CATEGORY(lcMapPage, "zq.map.page", QtWarningMsg)

CMapPage::CMapPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
}

void CMapPage::javaScriptConsoleMessage(
    JavaScriptConsoleMessageLevel, const QString& message, int line, const QString& source)
{
    ++m_swallowed;
    qCDebug(lcMapPage) << source << line << message;
}

void CMapPage::javaScriptAlert(const QUrl&, const QString&)
{
    ++m_swallowed;
}

bool CMapPage::javaScriptConfirm(const QUrl&, const QString&)
{
    ++m_swallowed;
    return false;
}

bool CMapPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*)
{
    ++m_swallowed;
    return false;
}

QWebEnginePage* CMapPage::createWindow(WebWindowType)
{
    return nullptr;
}

} // namespace zq
