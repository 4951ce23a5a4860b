#pragma once

#include <QWebEnginePage>

namespace zq {

/// The map's web page: silent. Console messages and script dialogs never reach the user (a dialog is
/// answered "no" at once), and the page never opens windows of its own.
class CMapPage : public QWebEnginePage {
    Q_OBJECT
public:
    CMapPage(QWebEngineProfile* profile, QObject* parent);

    /// How many console messages and dialogs were swallowed (for diagnostics).
    int SwallowedCount() const { return m_swallowed; }

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
        const QString& source) override;
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(
        const QUrl& origin, const QString& message, const QString& defaultValue, QString* result) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    int m_swallowed = 0;
};

} // namespace zq
