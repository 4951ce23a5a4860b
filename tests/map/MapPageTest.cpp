#include "CMapPage.h"
#include "CMapViewWnd.h"
#include "MapTesting.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace zq;
using zq::test::Evaluate;
using zq::test::Fix;
using zq::test::WaitForScript;

namespace {

// The bundle's map page in a real web view (offscreen), driven through the view's own calls.
class MapPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_view = std::make_unique<CMapViewWnd>();
        m_view->resize(400, 300);
        m_view->show();
        ASSERT_TRUE(zq::test::LoadPage(m_view.get())) << CMapViewWnd::PagePath().toStdString();
        // The web channel connects right after the page's scripts run.
        ASSERT_TRUE(WaitForScript(page(), "zqBridge !== null"));
    }
    QWebEnginePage* page() const { return m_view->page(); }
    double eval(const QString& script) { return Evaluate(page(), script).toDouble(); }
    /// Runs a call and waits for its result.
    QString run(const QString& text)
    {
        QString result;
        bool done = false;
        m_view->RunScript(text, [&](const QString& value) {
            result = value;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
        return result;
    }
    std::unique_ptr<CMapViewWnd> m_view;
};

TEST_F(MapPageTest, PositionChangeMovesTheMarkerAndKeepsItInView)
{
    EXPECT_EQ(run("javascript:positionChange('37.5', '127.25')"), "ok");
    EXPECT_DOUBLE_EQ(eval("zqMarker.getLatLng().lat"), 37.5);
    EXPECT_DOUBLE_EQ(eval("zqMarker.getLatLng().lng"), 127.25);
    EXPECT_TRUE(Evaluate(page(), "zqMap.getBounds().contains(zqMarker.getLatLng())").toBool());

    // Far away: the map follows the marker.
    EXPECT_EQ(run("javascript:positionChange('-33.8688', '-70.6693')"), "ok");
    EXPECT_DOUBLE_EQ(eval("zqMarker.getLatLng().lat"), -33.8688);
    EXPECT_TRUE(WaitForScript(page(), "zqMap.getBounds().contains(zqMarker.getLatLng())"));

    // Nonsense does not move it; a missing function gives an empty result.
    EXPECT_EQ(run("javascript:positionChange('north', '127')"), "");
    EXPECT_EQ(run("javascript:positionChange('95', '127')"), "");
    EXPECT_DOUBLE_EQ(eval("zqMarker.getLatLng().lat"), -33.8688);
    EXPECT_EQ(run("javascript:noSuchFunction('1')"), "");
}

TEST_F(MapPageTest, PushedFixesMoveTheMarkerOnlyWhenValid)
{
    const QVector<CGPSData> fixes { Fix(37.5, 127.25), Fix(38.0, 128.0, false), Fix(37.75, 127.5) };
    const int before = m_view->ScriptsRun();
    m_view->PushPosition(0, 3000, fixes);
    ASSERT_TRUE(WaitForScript(page(), "zqMarker.getLatLng().lat === 37.5"));
    EXPECT_DOUBLE_EQ(m_view->LastLatitude(), 37.5);

    // Fix 1 is invalid: nothing reaches the page and the last position stays.
    m_view->PushPosition(1500, 3000, fixes);
    EXPECT_EQ(m_view->ScriptsRun(), before + 1);
    EXPECT_DOUBLE_EQ(m_view->LastLatitude(), 37.5);
    EXPECT_DOUBLE_EQ(eval("zqMarker.getLatLng().lat"), 37.5);

    m_view->PushPosition(2500, 3000, fixes);
    ASSERT_TRUE(WaitForScript(page(), "zqMarker.getLatLng().lat === 37.75"));
    EXPECT_DOUBLE_EQ(eval("zqMarker.getLatLng().lng"), 127.5);

    // Beyond the last fix there is no fix at all: the marker stays.
    m_view->PushPosition(3001, 3000, fixes);
    EXPECT_EQ(m_view->ScriptsRun(), before + 2);

    // RepeatPosition pushes the last valid position again.
    EXPECT_EQ(run("javascript:positionChange('10', '10')"), "ok");
    EXPECT_EQ(m_view->RepeatPosition(), 1);
    EXPECT_TRUE(WaitForScript(page(), "zqMarker.getLatLng().lat === 37.75"));
}

TEST_F(MapPageTest, AllInvalidFixesNeverMoveTheMarker)
{
    EXPECT_EQ(run("javascript:positionChange('1.5', '2.5')"), "ok");
    const QVector<CGPSData> fixes { Fix(37.5, 127.25, false), Fix(37.6, 127.3, false) };
    const int before = m_view->ScriptsRun();
    for (qint64 position = 0; position <= 2000; position += 200)
        m_view->PushPosition(position, 2000, fixes);
    EXPECT_EQ(m_view->ScriptsRun(), before);
    EXPECT_DOUBLE_EQ(eval("zqMarker.getLatLng().lat"), 1.5);
    EXPECT_DOUBLE_EQ(m_view->LastLatitude(), 0.0);
}

TEST_F(MapPageTest, TrackDrawsTheValidFixesUnderTheMarker)
{
    QVector<CGPSData> fixes;
    for (int i = 0; i < 10; ++i)
        fixes << Fix(37.5 + 0.001 * i, 127.0 + 0.002 * i, i % 4 != 1); // fixes 1, 5 and 9 invalid
    m_view->SetTrack(fixes, 10000);
    ASSERT_TRUE(WaitForScript(page(), "zqTrack !== null"));
    EXPECT_EQ(eval("zqTrack.getLatLngs().length"), 7);
    EXPECT_EQ(eval("zqTrackPoints.length"), 7);
    // Fitted into view, and the marker's pane lies above the line's.
    EXPECT_TRUE(Evaluate(page(), "zqMap.getBounds().contains(zqTrack.getBounds())").toBool());
    EXPECT_GT(eval("+getComputedStyle(zqMap.getPane('markerPane')).zIndex"),
        eval("+getComputedStyle(zqMap.getPane('overlayPane')).zIndex"));

    // A new recording replaces the track; one without usable fixes removes it.
    m_view->SetTrack({ Fix(1, 1), Fix(1.001, 1.001) }, 1000);
    ASSERT_TRUE(WaitForScript(page(), "zqTrackPoints.length === 2"));
    EXPECT_EQ(eval("zqTrack.getLatLngs().length"), 2);
    m_view->SetTrack({ Fix(1, 1, false) }, 1000);
    EXPECT_TRUE(WaitForScript(page(), "zqTrack === null"));
}

TEST_F(MapPageTest, ArgumentsReachThePageAsTheExactString)
{
    ASSERT_TRUE(
        WaitForScript(page(), "(window.zqEcho = function (a) { window.zqEchoed = a; return a; }, true)"));
    const QString nasty
        = QStringLiteral("it's \"quoted\" \\ back\\slash </script><script>window.zqHacked=1</script>")
        + QStringLiteral(" <!-- \n\t") + QChar(0x2028)
        + QStringLiteral("한글 ${x} `tick`');window.zqHacked=2;//");
    QString result;
    bool done = false;
    m_view->RunScriptCall({ "zqEcho", { nasty } }, [&](const QString& value) {
        result = value;
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
    EXPECT_EQ(result, nasty);
    EXPECT_EQ(Evaluate(page(), "window.zqEchoed").toString(), nasty);
    EXPECT_FALSE(Evaluate(page(), "window.zqHacked !== undefined").toBool());
    // A call written as text with code after it: the extra text only becomes arguments.
    run("javascript:zqEcho('a');window.zqHacked=3;//')");
    EXPECT_FALSE(Evaluate(page(), "window.zqHacked !== undefined").toBool());
}

TEST_F(MapPageTest, ClickingTheTrackSeeksToTheNearestFix)
{
    QVector<CGPSData> fixes;
    for (int i = 0; i < 6; ++i)
        fixes << Fix(37.50 + 0.002 * i, 127.00 + 0.002 * i, i != 2);
    m_view->SetTrack(fixes, 6000); // fix i starts at 1000 i + 1 ms
    ASSERT_TRUE(WaitForScript(page(), "zqTrack !== null"));
    QSignalSpy seeks(m_view.get(), &CMapViewWnd::seekRequested);
    // Clicks at a place on the line; the seeks they asked for, in order.
    auto clickAt = [&](double lat, double lon) {
        seeks.clear();
        Evaluate(
            page(), QString("zqTrack.fire('click', { latlng: L.latLng(%1, %2) }); true").arg(lat).arg(lon));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !seeks.isEmpty(); }, 5000));
        return seeks.isEmpty() ? qint64(-1) : seeks.first().first().toLongLong();
    };

    EXPECT_EQ(clickAt(37.5061, 127.0059), 3001); // just beside fix 3
    EXPECT_EQ(clickAt(37.50, 127.00), 0); // on the first fix
    EXPECT_EQ(clickAt(37.5101, 127.0101), 5001); // past the last fix
    // Where the invalid fix 2 lay, the nearest valid neighbour answers: never fix 2 itself.
    EXPECT_EQ(clickAt(37.5039, 127.0039), 1001);
    EXPECT_EQ(clickAt(37.5041, 127.0041), 3001);

    // The bridge passes on nothing but a sane position from the page.
    seeks.clear();
    Evaluate(page(), "zqBridge.seekTo(-5); zqBridge.seekTo(1e12); zqBridge.seekTo(42); true");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !seeks.isEmpty(); }, 5000));
    QTest::qWait(200);
    ASSERT_EQ(seeks.size(), 1);
    EXPECT_EQ(seeks.first().first().toLongLong(), 42);
}

TEST_F(MapPageTest, RealMouseClickOnTheLineSeeks)
{
    QVector<CGPSData> fixes;
    for (int i = 0; i < 5; ++i)
        fixes << Fix(37.50 + 0.002 * i, 127.00 + 0.003 * i);
    m_view->SetTrack(fixes, 5000);
    ASSERT_TRUE(WaitForScript(page(), "zqTrack !== null"));
    QSignalSpy seeks(m_view.get(), &CMapViewWnd::seekRequested);
    // Where fix 3 is drawn, in the view's pixels; Chromium takes the press and release from Qt.
    const QVariantList point = Evaluate(page(),
        "(function () { var p = zqMap.latLngToContainerPoint([37.506, 127.009]); return [p.x, p.y]; })()")
                                   .toList();
    ASSERT_EQ(point.size(), 2);
    QWidget* target = m_view->focusProxy() ? m_view->focusProxy() : m_view.get();
    const QPoint at(qRound(point[0].toDouble()), qRound(point[1].toDouble()));
    QTest::mouseMove(target, at);
    QTest::qWait(100);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !seeks.isEmpty(); }, 5000));
    EXPECT_EQ(seeks.first().first().toLongLong(), 3001);
}

TEST_F(MapPageTest, WithoutTilesTheTrackAndMarkerStillDrawWithANote)
{
    // This machine cannot reach the tile server, so the page must say so on one line and keep working.
    m_view->SetTrack({ Fix(37.5, 127.0), Fix(37.51, 127.01) }, 2000);
    EXPECT_EQ(run("javascript:positionChange('37.5', '127.0')"), "ok");
    if (Evaluate(page(), "zqTilesLoaded > 0").toBool())
        GTEST_SKIP() << "the tile server is reachable from here";
    ASSERT_TRUE(
        WaitForScript(page(), "getComputedStyle(document.getElementById('note')).display === 'block'", 8000));
    // One line, and the attribution stays uncovered.
    EXPECT_LE(eval("document.getElementById('note').getBoundingClientRect().height"), 20.0);
    EXPECT_TRUE(Evaluate(page(),
        "(function () { var n = document.getElementById('note').getBoundingClientRect();"
        " var a = document.querySelector('.leaflet-control-attribution').getBoundingClientRect();"
        " return n.bottom <= a.top || a.bottom <= n.top || n.right <= a.left || a.right <= n.left; })()")
                    .toBool());
    EXPECT_EQ(eval("zqTrack.getLatLngs().length"), 2);
    EXPECT_TRUE(Evaluate(page(), "zqMap.hasLayer(zqMarker)").toBool());
    // The attribution the tile policy asks for is on the page all the same.
    EXPECT_TRUE(Evaluate(page(),
        "document.querySelector('.leaflet-control-attribution').textContent"
        ".indexOf('OpenStreetMap contributors') >= 0")
                    .toBool());
}

TEST_F(MapPageTest, PageIsSilentAndIdentifiesTheViewer)
{
    const int before = static_cast<CMapPage*>(page())->SwallowedCount();
    EXPECT_FALSE(Evaluate(page(), "console.log('hello'); alert('x'); confirm('sure?')").toBool());
    EXPECT_GE(static_cast<CMapPage*>(page())->SwallowedCount(), before + 3);
    EXPECT_EQ(Evaluate(page(), "navigator.userAgent").toString(), CMapViewWnd::UserAgent());
}

TEST(MapPageLoadTest, CallsBeforeTheRunningPageWaitForItLatestFirst)
{
    CMapViewWnd view;
    view.resize(300, 300);
    // Nothing is requested yet: calls are dropped, there is no page to wait for.
    view.RunScript("javascript:positionChange('1', '1')");
    EXPECT_EQ(view.ScriptsRun(), 0);
    QSignalSpy loaded(&view, &CMapViewWnd::pageLoaded);
    view.LoadMapPage();
    ASSERT_TRUE(view.IsNavigated());
    view.SetTrack({ Fix(37.5, 127.0), Fix(37.51, 127.01) }, 2000);
    view.RunScript("javascript:positionChange('2', '2')");
    view.RunScript("javascript:positionChange('37.5', '127.0')");
    view.LoadMapPage(); // a second request changes nothing
    ASSERT_TRUE(loaded.wait(30000));
    EXPECT_EQ(view.ScriptsRun(), 2); // the track and the latest position
    EXPECT_TRUE(
        WaitForScript(view.page(), "zqMarker.getLatLng().lat === 37.5 && zqTrackPoints.length === 2"));
}

} // namespace
