#include "CMapViewWnd.h"

#include "CMapBridge.h"
#include "CMapPage.h"
#include "MapTrack.h"
#include "ProgramFolder.h"
#include "SampleIndexForTime.h"
#include "SensorArrays.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace zq {
namespace {

CMapViewWnd* g_instance = nullptr;

// The channel's client script ships inside Qt's WebChannel library; it goes into the page before the
// page's own scripts run, so the page needs no file of its own for it.
void AddWebChannelScript(QWebEnginePage* page)
{
    QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QWebEngineScript script;
    script.setName(QStringLiteral("qwebchannel"));
    script.setSourceCode(QString::fromUtf8(file.readAll()));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    page->scripts().insert(script);
}

} // namespace

CMapViewWnd::CMapViewWnd(QWidget* parent)
    : QWebEngineView(parent)
{
    g_instance = this;
    setObjectName(QStringLiteral("MapViewWnd"));
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    profile->setHttpUserAgent(UserAgent());
    m_page = new CMapPage(profile, this);
    m_page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    m_page->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    m_page->setBackgroundColor(QColor(51, 51, 51));
    AddWebChannelScript(m_page);
    m_bridge = new CMapBridge(this);
    m_channel = new QWebChannel(this);
    m_channel->registerObject(QStringLiteral("mapBridge"), m_bridge);
    m_page->setWebChannel(m_channel);
    connect(m_bridge, &CMapBridge::seekRequested, this, &CMapViewWnd::seekRequested);
    setPage(m_page);
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(m_page, &QWebEnginePage::loadFinished, this, &CMapViewWnd::OnLoadFinished);
}

CMapViewWnd::~CMapViewWnd()
{
    if (g_instance == this)
        g_instance = nullptr;
    // The page goes before the view that shows it.
    delete m_page;
    m_page = nullptr;
}

CMapViewWnd* CMapViewWnd::Instance()
{
    return g_instance;
}

QString CMapViewWnd::UserAgent()
{
    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty())
        version = QStringLiteral("1.0");
    return QStringLiteral("ZQ481K-Viewer-Linux/%1 (dash camera recording viewer; Qt WebEngine)").arg(version);
}

QString CMapViewWnd::PagePath()
{
    const QString folder = ProgramFolder();
    if (folder.isEmpty())
        return {};
    return folder + QStringLiteral("/map/map.htm");
}

void CMapViewWnd::LoadMapPage()
{
    if (m_navigated)
        return;
    const QString path = PagePath();
    if (path.isEmpty())
        return;
    load(QUrl::fromLocalFile(path));
    m_navigated = true;
}

void CMapViewWnd::OnLoadFinished(bool ok)
{
    m_pageReady = ok;
    if (ok) {
        const QList<PendingCall> pending = std::exchange(m_pending, {});
        for (const PendingCall& p : pending)
            Execute(p.call, p.onResult);
    }
    emit pageLoaded(ok);
}

void CMapViewWnd::PushPosition(qint64 positionMs, qint64 durationMs)
{
    PushPosition(positionMs, durationMs, GpsFixes());
}

void CMapViewWnd::PushPosition(qint64 positionMs, qint64 durationMs, const QVector<CGPSData>& fixes)
{
    if (!m_navigated || fixes.isEmpty())
        return;
    const auto index = SampleIndexForTime(positionMs, durationMs, fixes.size());
    if (!index || fixes[*index].valid == 0)
        return;
    m_lastLatitude = LatitudeDegrees(fixes[*index]);
    m_lastLongitude = LongitudeDegrees(fixes[*index]);
    m_hasPosition = true;
    RunScript(PositionScriptText(m_lastLatitude, m_lastLongitude));
}

void CMapViewWnd::ForgetPosition()
{
    m_lastLatitude = 0.0;
    m_lastLongitude = 0.0;
    m_hasPosition = false;
}

int CMapViewWnd::RepeatPosition()
{
    RunScript(PositionScriptText(m_lastLatitude, m_lastLongitude));
    return 1;
}

void CMapViewWnd::SetTrack(const QVector<CGPSData>& fixes, qint64 durationMs)
{
    RunScriptCall({ QStringLiteral("setTrack"), { TrackJson(fixes, durationMs) } });
}

void CMapViewWnd::RunScript(const QString& text, std::function<void(const QString&)> onResult)
{
    if (text.isEmpty())
        return;
    RunScriptCall(ParseScriptText(text), std::move(onResult));
}

void CMapViewWnd::RunScriptCall(const ScriptCall& call, std::function<void(const QString&)> onResult)
{
    if (BuildScriptCall(call).isEmpty())
        return;
    if (m_pageReady) {
        Execute(call, std::move(onResult));
        return;
    }
    if (!m_navigated)
        return;
    // Only the latest call of each function matters once the page is there.
    m_pending.removeIf([&](const PendingCall& p) { return p.call.function == call.function; });
    m_pending.append({ call, std::move(onResult) });
}

void CMapViewWnd::Execute(const ScriptCall& call, std::function<void(const QString&)> onResult)
{
    ++m_scriptsRun;
    const QString script = BuildScriptCall(call);
    if (!onResult) {
        m_page->runJavaScript(script);
        return;
    }
    QPointer<CMapViewWnd> self(this);
    m_page->runJavaScript(script, [self, onResult](const QVariant& result) {
        if (self)
            onResult(result.isValid() && !result.isNull() ? result.toString() : QString());
    });
}

} // namespace zq
