#pragma once

#include "CGPSData.h"
#include "MapScript.h"

#include <QList>
#include <QVector>
#include <QWebEngineView>
#include <functional>

class QWebChannel;

namespace zq {

class CMapBridge;
class CMapPage;

/// The map browser: one web view for the whole process, created by the main window and moved between the
/// docked panel and the floating window. It loads the page once, then calls the page's functions; calls
/// made before the page has finished loading wait for it (the latest call of each function only).
class CMapViewWnd : public QWebEngineView {
    Q_OBJECT
public:
    /// The window identifier the main window gives the browser.
    static constexpr int kWindowId = 2091;

    explicit CMapViewWnd(QWidget* parent = nullptr);
    ~CMapViewWnd() override;

    /// The one map view of the process, or nullptr before it is made or after it is gone.
    static CMapViewWnd* Instance();
    /// The User-Agent every request of the map carries (the tile server asks for an identifying one).
    static QString UserAgent();
    /// <program folder>/map/map.htm; empty when the program folder is unknown.
    static QString PagePath();

    /// Requests the page once; does nothing when already requested or when the program folder is empty.
    void LoadMapPage();
    bool IsNavigated() const { return m_navigated; }
    /// True once the page has finished loading successfully.
    bool IsPageReady() const { return m_pageReady; }

    /// Moves the marker to the fix that the position maps to, when that fix is valid; otherwise the
    /// marker stays. Reads the process-wide fixes; the overload takes them from the caller.
    void PushPosition(qint64 positionMs, qint64 durationMs);
    void PushPosition(qint64 positionMs, qint64 durationMs, const QVector<CGPSData>& fixes);
    /// Pushes the last position again; always 1.
    int RepeatPosition();
    /// True once a valid fix was pushed since the start or the last ForgetPosition.
    bool HasPosition() const { return m_hasPosition; }
    /// Back to no position (0, 0), as when no recording is open.
    void ForgetPosition();
    double LastLatitude() const { return m_lastLatitude; }
    double LastLongitude() const { return m_lastLongitude; }

    /// Hands the page the recording's track (its valid fixes with their playback positions).
    void SetTrack(const QVector<CGPSData>& fixes, qint64 durationMs);

    /// Runs a call written as text ("javascript:f('a', 'b')"); its result, when the function returns one,
    /// arrives later through `onResult` (empty text otherwise). Nobody waits.
    void RunScript(const QString& text, std::function<void(const QString&)> onResult = {});
    /// Runs a call of a page function with string arguments.
    void RunScriptCall(const ScriptCall& call, std::function<void(const QString&)> onResult = {});
    /// How many calls have been handed to the page so far.
    int ScriptsRun() const { return m_scriptsRun; }

    CMapPage* MapPage() const { return m_page; }
    CMapBridge* Bridge() const { return m_bridge; }

signals:
    /// The user clicked the track: seek playback there (milliseconds).
    void seekRequested(qint64 positionMs);
    /// The page finished loading (or failed to).
    void pageLoaded(bool ok);

private:
    void OnLoadFinished(bool ok);
    void Execute(const ScriptCall& call, std::function<void(const QString&)> onResult);

    struct PendingCall {
        ScriptCall call;
        std::function<void(const QString&)> onResult;
    };

    bool m_navigated = false;
    double m_lastLatitude = 0.0;
    double m_lastLongitude = 0.0;
    bool m_hasPosition = false;
    bool m_pageReady = false;
    int m_scriptsRun = 0;
    QList<PendingCall> m_pending;
    CMapPage* m_page = nullptr;
    QWebChannel* m_channel = nullptr;
    CMapBridge* m_bridge = nullptr;
};

} // namespace zq
