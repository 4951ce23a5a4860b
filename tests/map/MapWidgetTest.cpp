#include "CMapBridge.h"
#include "CMapDlg.h"
#include "CMapNoConnectedWnd.h"
#include "CMapNoDataWnd.h"
#include "CMapViewWnd.h"
#include "CRkButtonCtrl.h"
#include "CRkMapPanelCtrl.h"
#include "CRkTextCtrl.h"
#include "CommandIds.h"
#include "MapArea.h"
#include "MapTesting.h"
#include "Online.h"
#include "SampleIndexForTime.h"
#include "SensorArrays.h"
#include "WindowMessageEvent.h"

#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace zq;
using zq::test::Fix;
using zq::test::WaitForScript;

namespace {

const QRect kPanelRect(749, 88, 276, 200);

QVector<CGPSData> Track(int count, bool valid = true)
{
    QVector<CGPSData> fixes;
    for (int i = 0; i < count; ++i)
        fixes << Fix(37.5 + 0.001 * i, 127.0 + 0.001 * i, valid);
    return fixes;
}

// A stand-in for the main window: the map area's panels, its map button and the two overlays that go
// with a docked map.
class MapAreaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qunsetenv("ZQ_FORCE_ONLINE");
        platform::OnlineCheck::Instance().Forget();
        m_main.resize(1034, 742);
        m_button = new QWidget(&m_main);
        m_caption = new QWidget(&m_main);
        m_position = new QWidget(&m_main);
        m_area = new MapArea(&m_main, 0);
        m_area->SetMainWindowControls(m_button, m_caption, m_position);
        m_area->SetPanelGeometry(kPanelRect);
        m_main.show();
    }
    void TearDown() override { qunsetenv("ZQ_FORCE_ONLINE"); }
    bool shown(QWidget* widget) const { return widget->isVisibleTo(&m_main); }
    bool LoadPage()
    {
        m_area->StartUp(true);
        QSignalSpy loaded(m_area->View(), &CMapViewWnd::pageLoaded);
        return m_area->View()->IsPageReady() || (loaded.wait(30000) && m_area->View()->IsPageReady());
    }
    /// Sends a mouse event to the floating window at a point of its own, with the left button held or not.
    void mouse(QEvent::Type type, const QPoint& local, bool held)
    {
        CMapDlg* dlg = m_area->Dialog();
        QMouseEvent event(type, QPointF(local), QPointF(dlg->mapToGlobal(local)), Qt::LeftButton,
            held ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dlg, &event);
    }

    QWidget m_main;
    QWidget* m_button = nullptr;
    QWidget* m_caption = nullptr;
    QWidget* m_position = nullptr;
    MapArea* m_area = nullptr;
};

TEST_F(MapAreaTest, StartUpShowsTheNoDataPanelAndRequestsThePageOnlyOnline)
{
    m_area->StartUp(false);
    EXPECT_TRUE(shown(m_area->NoDataPanel()));
    EXPECT_FALSE(shown(m_area->NotConnectedPanel()));
    EXPECT_FALSE(shown(m_area->MapPanel()));
    EXPECT_FALSE(shown(m_button));
    EXPECT_FALSE(m_area->IsPageRequested());
    EXPECT_EQ(m_area->NoDataPanel()->geometry(), kPanelRect);
    EXPECT_EQ(m_area->MapPanel()->geometry(), kPanelRect);
    // The browser sits in the docked panel from the start and fills it.
    EXPECT_EQ(m_area->View()->parentWidget(), m_area->MapPanel());
    EXPECT_EQ(m_area->MapPanel()->Hosted(), m_area->View());
    EXPECT_EQ(m_area->View()->geometry(), QRect(QPoint(0, 0), kPanelRect.size()));
    m_area->StartUp(true);
    EXPECT_TRUE(m_area->IsPageRequested());
}

TEST_F(MapAreaTest, PanelAfterAnOpenFollowsTheForcedConnection)
{
    m_area->StartUp(false);
    auto openAndWait = [&](const QVector<CGPSData>& fixes) {
        const QVector<CGPSData> before;
        m_area->AfterOpenWhenOnlineKnown(fixes, 6000);
        // The answer comes back queued: the panels change on the next turn of the event loop.
        QTest::qWait(50);
    };

    qputenv("ZQ_FORCE_ONLINE", "0");
    openAndWait(Track(6));
    EXPECT_EQ(m_area->PanelChoice(), MapPanelChoice::NotConnected);
    EXPECT_TRUE(shown(m_area->NotConnectedPanel()));
    EXPECT_FALSE(shown(m_area->MapPanel()) || shown(m_area->NoDataPanel()) || shown(m_button));
    EXPECT_FALSE(m_area->IsPageRequested());

    qputenv("ZQ_FORCE_ONLINE", "1");
    openAndWait(Track(6));
    EXPECT_EQ(m_area->PanelChoice(), MapPanelChoice::Map);
    EXPECT_TRUE(shown(m_area->MapPanel()));
    EXPECT_TRUE(shown(m_button));
    EXPECT_FALSE(shown(m_area->NotConnectedPanel()) || shown(m_area->NoDataPanel()));
    EXPECT_TRUE(m_area->IsPageRequested());
    EXPECT_TRUE(m_area->IsMapActive());

    // No GPS at all: the no-data panel, whatever the connection says.
    openAndWait({});
    EXPECT_EQ(m_area->PanelChoice(), MapPanelChoice::NoData);
    EXPECT_TRUE(shown(m_area->NoDataPanel()));
    EXPECT_FALSE(shown(m_area->MapPanel()) || shown(m_area->NotConnectedPanel()) || shown(m_button));
    EXPECT_FALSE(m_area->IsMapActive());

    // A later open wins over an earlier one whose answer has not come yet.
    m_area->AfterOpenWhenOnlineKnown(Track(3), 3000);
    m_area->AfterOpenWhenOnlineKnown({}, 3000);
    QTest::qWait(50);
    EXPECT_EQ(m_area->PanelChoice(), MapPanelChoice::NoData);

    // In the video-only layout none of the three panels shows, and the choice comes back with the normal one.
    openAndWait(Track(6));
    m_area->SetLayoutMode(kLayoutVideoOnly);
    EXPECT_FALSE(shown(m_area->MapPanel()) || shown(m_area->NoDataPanel()) || shown(m_button));
    m_area->SetLayoutMode(kLayoutNormal);
    EXPECT_TRUE(shown(m_area->MapPanel()) && shown(m_button));
}

TEST_F(MapAreaTest, MapButtonFloatsAndTheCloseButtonDocks)
{
    m_area->StartUp(true);
    m_area->AfterOpen(Track(6), true, 6000);
    CMapDlg* dlg = m_area->Dialog();
    CMapViewWnd* view = m_area->View();
    EXPECT_FALSE(dlg->isVisible());

    m_area->FloatMap();
    EXPECT_EQ(m_area->Placement(), MapPlacement::Floating);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->geometry().size(), QSize(300, 300));
    EXPECT_EQ(view->parentWidget(), dlg->Panel());
    EXPECT_EQ(dlg->Panel()->Hosted(), view);
    EXPECT_EQ(m_area->MapPanel()->Hosted(), nullptr); // the old panel forgot the browser
    EXPECT_EQ(view->geometry(), QRect(0, 0, 290, 235));
    EXPECT_TRUE(view->isVisible());
    EXPECT_FALSE(shown(m_button) || shown(m_caption) || shown(m_position));

    // Escape does not close it.
    QTest::keyClick(dlg, Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(m_area->Placement(), MapPlacement::Floating);

    QTest::mouseClick(dlg->CloseButton(), Qt::LeftButton);
    EXPECT_EQ(m_area->Placement(), MapPlacement::Docked);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(view->parentWidget(), m_area->MapPanel());
    EXPECT_EQ(dlg->Panel()->Hosted(), nullptr);
    EXPECT_EQ(view->geometry(), QRect(QPoint(0, 0), kPanelRect.size()));
    EXPECT_TRUE(shown(m_button) && shown(m_caption) && shown(m_position));

    // Docked in the video-only layout: the button and both overlays stay hidden.
    m_area->SetLayoutMode(kLayoutVideoOnly);
    m_area->FloatMap();
    dlg->close(); // closing it by the window system docks too, it never loses the map
    EXPECT_EQ(m_area->Placement(), MapPlacement::Docked);
    EXPECT_FALSE(shown(m_button) || shown(m_caption) || shown(m_position));
}

TEST_F(MapAreaTest, OpeningWithoutGpsWhileFloatingDocksTheMap)
{
    m_area->StartUp(true);
    m_area->AfterOpen(Track(4), true, 4000);
    m_area->FloatMap();
    ASSERT_TRUE(m_area->Dialog()->isVisible());
    // With GPS but no connection the floating window stays where it is.
    m_area->AfterOpen(Track(4), false, 4000);
    EXPECT_EQ(m_area->Placement(), MapPlacement::Floating);
    EXPECT_FALSE(shown(m_button));

    m_area->AfterOpen({}, true, 4000);
    EXPECT_EQ(m_area->Placement(), MapPlacement::Docked);
    EXPECT_FALSE(m_area->Dialog()->isVisible());
    EXPECT_EQ(m_area->View()->parentWidget(), m_area->MapPanel());
    EXPECT_TRUE(shown(m_area->NoDataPanel()));
    EXPECT_FALSE(shown(m_area->MapPanel()) || shown(m_button));

    // The card goes away while floating: the same.
    m_area->AfterOpen(Track(4), true, 4000);
    m_area->FloatMap();
    m_area->ResetForNoRecording();
    EXPECT_EQ(m_area->Placement(), MapPlacement::Docked);
    EXPECT_TRUE(shown(m_area->NoDataPanel()));
    EXPECT_FALSE(m_area->IsMapActive());
}

TEST_F(MapAreaTest, ResizingTheFloatingWindowPushesThePositionAgain)
{
    ASSERT_TRUE(LoadPage());
    const QVector<CGPSData> fixes = Track(4);
    // The push after a resize reads the process-wide fixes, as the tick does.
    ReplaceSensorArrays({ {}, fixes });
    m_area->AfterOpen(fixes, true, 4000);
    m_area->OnTick(2500, 4000); // fix 2
    m_area->FloatMap();
    CMapDlg* dlg = m_area->Dialog();
    // The page is moved back to somewhere else, so only a new push can bring the marker home.
    m_area->View()->RunScript("javascript:positionChange('1', '1')");
    ASSERT_TRUE(WaitForScript(m_area->View()->page(), "zqMarker.getLatLng().lat === 1"));
    const int before = m_area->View()->ScriptsRun();

    dlg->resize(420, 380);
    // A top-level window hears of its new size from the window system, a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_area->View()->ScriptsRun() == before + 1; }, 5000));
    EXPECT_TRUE(WaitForScript(m_area->View()->page(), "Math.abs(zqMarker.getLatLng().lat - 37.502) < 1e-9"));
    // Laid out for the new size, and the browser follows its panel.
    EXPECT_EQ(dlg->Panel()->geometry(), QRect(5, 35, 410, 315));
    EXPECT_EQ(dlg->CloseButton()->geometry(), QRect(380, 5, 30, 24));
    EXPECT_EQ(dlg->PositionText()->geometry(), QRect(5, 354, 300, 20));
    ClearSensorArrays();
    EXPECT_EQ(m_area->View()->size(), QSize(410, 315));
    // The tick's position reaches the floating window's position line.
    EXPECT_FLOAT_EQ(dlg->PositionText()->Latitude(), 37.502f);

    // Message 1025 lays the window out again without a resize.
    dlg->CloseButton()->move(0, 0);
    QCoreApplication::postEvent(dlg, new WindowMessageEvent(kMsgLayoutMapWindow));
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg->CloseButton()->geometry(), QRect(380, 5, 30, 24));
}

TEST_F(MapAreaTest, MarkerFollowsTheTickThroughTheRecording)
{
    ASSERT_TRUE(LoadPage());
    QVector<CGPSData> fixes = Track(10);
    fixes[6].valid = 0;
    ReplaceSensorArrays({ {}, fixes });
    m_area->AfterOpen(fixes, true, 10000);
    // Every 200 ms of playback the marker goes where the fix of that moment lies; fix 6 is invalid, so
    // while it applies the marker waits on fix 5.
    for (qint64 position = 0; position <= 10000; position += 200) {
        m_area->OnTick(position, 10000);
        const auto index = SampleIndexForTime(position, 10000, fixes.size());
        ASSERT_TRUE(index.has_value());
        const int expected = *index == 6 ? 5 : int(*index);
        const QString script = QStringLiteral("Math.abs(zqMarker.getLatLng().lat - %1) < 1e-9")
                                   .arg(37.5 + 0.001 * expected, 0, 'f', 6);
        ASSERT_TRUE(WaitForScript(m_area->View()->page(), script, 5000)) << position;
    }
    ClearSensorArrays();
}

TEST_F(MapAreaTest, TickWithInvalidFixesMovesNothing)
{
    ASSERT_TRUE(LoadPage());
    const QVector<CGPSData> fixes = Track(5, false);
    m_area->AfterOpen(fixes, true, 5000);
    EXPECT_EQ(m_area->PanelChoice(), MapPanelChoice::Map); // GPS records, though none valid
    const int before = m_area->View()->ScriptsRun();
    for (qint64 position = 0; position <= 5000; position += 200)
        m_area->OnTick(position, 5000, fixes);
    // Only the track went out (with no point in it); the marker was never pushed.
    EXPECT_LE(m_area->View()->ScriptsRun(), before + 1);
    EXPECT_EQ(m_area->View()->LastLatitude(), 0.0);
    EXPECT_FALSE(WaitForScript(m_area->View()->page(), "zqMap.hasLayer(zqMarker)", 500));
    EXPECT_EQ(m_area->Dialog()->PositionText()->Latitude(), 0.0f);
    EXPECT_TRUE(m_area->View()->isVisible());
}

TEST_F(MapAreaTest, TrackClickSeeksThroughTheArea)
{
    QSignalSpy seeks(m_area, &MapArea::seekRequested);
    m_area->View()->Bridge()->seekTo(1234.0);
    ASSERT_EQ(seeks.size(), 1);
    EXPECT_EQ(seeks.first().first().toLongLong(), 1234);
}

TEST_F(MapAreaTest, FloatingWindowMovesAndResizesByTheMouse)
{
    m_area->FloatMap();
    CMapDlg* dlg = m_area->Dialog();
    dlg->setGeometry(800, 100, 400, 400);
    const QRect start = dlg->geometry();

    // A press inside drags the window by the pointer's offset.
    mouse(QEvent::MouseButtonPress, QPoint(100, 20), true);
    mouse(QEvent::MouseMove, QPoint(130, 60), true);
    mouse(QEvent::MouseButtonRelease, QPoint(130, 60), false);
    EXPECT_EQ(dlg->geometry(), start.translated(30, 40));

    // A press on the bottom-right corner resizes, never below 300 by 300.
    const QRect moved = dlg->geometry();
    mouse(QEvent::MouseButtonPress, QPoint(395, 395), true);
    mouse(QEvent::MouseMove, QPoint(445, 415), true);
    EXPECT_EQ(dlg->geometry(), QRect(moved.topLeft(), QSize(450, 420)));
    mouse(QEvent::MouseMove, QPoint(100, 100), true);
    EXPECT_EQ(dlg->geometry(), QRect(moved.topLeft(), QSize(300, 300)));
    mouse(QEvent::MouseButtonRelease, QPoint(100, 100), false);
    // Released: moving the pointer changes nothing any more.
    mouse(QEvent::MouseMove, QPoint(200, 200), false);
    EXPECT_EQ(dlg->geometry(), QRect(moved.topLeft(), QSize(300, 300)));
    dlg->resize(100, 100);
    EXPECT_EQ(dlg->size(), QSize(300, 300));
}

TEST(MapPanelTest, OnlyTheNewPanelHostsTheBrowser)
{
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    CRkMapPanelCtrl first;
    CRkMapPanelCtrl second;
    ASSERT_TRUE(first.Create(&owner, 1, 0, 0, 200, 100));
    ASSERT_TRUE(second.Create(&owner, 2, 300, 0, 250, 150));
    EXPECT_EQ(first.objectName(), "RkMapPanelCtrl");
    QWidget browser;
    HostIn(&first, &browser);
    EXPECT_EQ(first.Hosted(), &browser);
    EXPECT_EQ(browser.geometry(), QRect(0, 0, 200, 100));

    HostIn(&second, &browser);
    EXPECT_EQ(first.Hosted(), nullptr);
    EXPECT_EQ(second.Hosted(), &browser);
    EXPECT_EQ(browser.parentWidget(), &second);
    second.resize(320, 180);
    EXPECT_EQ(browser.size(), QSize(320, 180));
    // Resizing the panel that forgot the browser leaves the browser alone.
    first.resize(50, 50);
    EXPECT_EQ(browser.size(), QSize(320, 180));

    // Message 2025 posted by anyone sets what the panel hosts.
    QCoreApplication::postEvent(
        &first, new WindowMessageEvent(kMsgMapPanelChild, reinterpret_cast<qintptr>(&browser)));
    QCoreApplication::processEvents();
    EXPECT_EQ(first.Hosted(), &browser);
}

TEST(MapStandInTest, PicturesByLanguageCentredOnGrey)
{
    QWidget owner;
    CMapNoDataWnd noData;
    CMapNoConnectedWnd notConnected;
    ASSERT_TRUE(noData.Create(&owner, 1, 0, 0, 276, 200));
    ASSERT_TRUE(notConnected.Create(&owner, 2, 0, 0, 276, 200));
    EXPECT_FALSE(noData.isVisibleTo(&owner)); // created hidden
    EXPECT_EQ(noData.objectName(), "RkMapNoDataWnd");
    EXPECT_EQ(notConnected.objectName(), "RkNotConnectedWnd");

    const std::pair<int, std::pair<int, int>> table[] = { { 0, { 190, 191 } }, { 1, { 155, 148 } },
        { 2, { 1118, 1119 } }, { 10, { 1325, 1326 } }, { 11, { 1164, 1165 } } };
    for (const auto& [language, ids] : table) {
        notConnected.SetLanguage(language);
        noData.SetLanguage(language);
        EXPECT_EQ(notConnected.ImageId(), ids.first) << language;
        EXPECT_EQ(noData.ImageId(), ids.second) << language;
    }

    const QColor grey(51, 51, 51);
    for (CMapStandInWnd* panel : std::initializer_list<CMapStandInWnd*> { &noData, &notConnected }) {
        panel->SetLanguage(0);
        const QImage english = panel->Render();
        EXPECT_EQ(english.pixelColor(0, 0), grey);
        EXPECT_EQ(english.pixelColor(275, 199), grey);
        // Something of the picture lies on the centre line, the same distance in from both sides.
        const QImage picture = QImage(QStringLiteral(":/skin/png/%1.png").arg(panel->ImageId()));
        ASSERT_FALSE(picture.isNull());
        const int left = (276 - picture.width()) / 2;
        const int top = (200 - picture.height()) / 2;
        QImage expected(276, 200, QImage::Format_RGB32);
        expected.fill(grey);
        QPainter(&expected).drawImage(left, top, picture);
        EXPECT_EQ(english, expected);

        panel->SetLanguage(1);
        EXPECT_NE(panel->Render(), english); // Korean words
        panel->SetLanguage(12);
        QImage plain(276, 200, QImage::Format_RGB32);
        plain.fill(grey);
        EXPECT_EQ(panel->Render(), plain);
    }
}

} // namespace
