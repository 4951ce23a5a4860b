#include "CMapDlg.h"
#include "CMapNoConnectedWnd.h"
#include "CMapNoDataWnd.h"
#include "CMapViewWnd.h"
#include "CRkTextCtrl.h"
#include "MapArea.h"
#include "MapTesting.h"
#include "OptionFile.h"
#include "SensorArrays.h"

#include <QDir>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace zq;
using zq::test::Fix;
using zq::test::WaitForScript;

namespace {

// Pictures of the map area in its four states and two languages, for a person to look at
// (ZQ_MAP_SHOTS_DIR, else map-shots/ in the build folder). Each picture is also checked for what must be
// on it.
class MapScreenshotTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        TheOptionFile().m_language = GetParam();
        TheOptionFile().LoadLanguageDll();
        m_dir = qEnvironmentVariable("ZQ_MAP_SHOTS_DIR", QStringLiteral(ZQ_BINARY_DIR "/map-shots"));
        QDir().mkpath(m_dir);
        m_main.setStyleSheet(QStringLiteral("background: rgb(10, 10, 10)"));
        m_main.resize(300, 260);
        m_caption = new CRkTextCtrl(&m_main);
        m_caption->Create(&m_main, 1, 0, 5, 200, 20);
        m_caption->SetKind(CRkTextCtrl::kKindMapCaption);
        m_caption->SetBackground(QColor(20, 20, 20));
        m_position = new CRkTextCtrl(&m_main);
        m_position->Create(&m_main, 2, 0, 236, 270, 20);
        m_position->SetKind(CRkTextCtrl::kKindPosition);
        m_position->SetBackground(QColor(20, 20, 20));
        m_area = new MapArea(&m_main, GetParam());
        m_area->SetMainWindowControls(nullptr, m_caption, m_position);
        m_area->SetPanelGeometry(QRect(12, 30, 276, 200));
        m_main.show();
    }
    QString name(const QString& what) const
    {
        return QStringLiteral("%1/%2-%3.png").arg(m_dir, what, GetParam() == 0 ? "en" : "ko");
    }
    /// Waits until painting and the web view's frames have settled.
    void settle(int ms = 700) { QTest::qWait(ms); }
    static bool hasColour(const QImage& image, const QColor& colour, int tolerance)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.red() - colour.red()) <= tolerance
                    && std::abs(c.green() - colour.green()) <= tolerance
                    && std::abs(c.blue() - colour.blue()) <= tolerance)
                    return true;
            }
        return false;
    }

    QString m_dir;
    QWidget m_main;
    CRkTextCtrl* m_caption = nullptr;
    CRkTextCtrl* m_position = nullptr;
    MapArea* m_area = nullptr;
};

TEST_P(MapScreenshotTest, StandInPanels)
{
    m_area->StartUp(false);
    settle(100);
    const QImage noData = m_main.grab().toImage();
    ASSERT_TRUE(noData.save(name("no-data")));
    m_area->AfterOpen({ Fix(37.5, 127.0) }, false, 1000);
    settle(100);
    const QImage notConnected = m_main.grab().toImage();
    ASSERT_TRUE(notConnected.save(name("not-connected")));
    // The panel's grey and words on it (white-ish pixels), different between the two.
    EXPECT_TRUE(hasColour(noData, QColor(51, 51, 51), 0));
    EXPECT_TRUE(hasColour(noData, QColor(230, 230, 230), 25));
    EXPECT_NE(noData, notConnected);
}

TEST_P(MapScreenshotTest, DockedAndFloatingMap)
{
    m_area->StartUp(true);
    QSignalSpy loaded(m_area->View(), &CMapViewWnd::pageLoaded);
    ASSERT_TRUE(m_area->View()->IsPageReady() || loaded.wait(30000));
    QVector<CGPSData> fixes;
    for (int i = 0; i < 40; ++i)
        fixes << Fix(37.5665 + 0.0004 * i, 126.9780 + 0.0007 * i + 0.0002 * (i % 5), true);
    ReplaceSensorArrays({ {}, fixes });
    m_area->AfterOpen(fixes, true, 40000);
    m_area->OnTick(20000, 40000);
    m_position->SetCoordinates(37.5741f, 126.9913f);
    ASSERT_TRUE(WaitForScript(m_area->View()->page(), "zqMap.hasLayer(zqMarker) && zqTrack !== null"));
    settle(5000); // the tile requests fail and the note comes up
    const QImage docked = m_main.grab().toImage();
    ASSERT_TRUE(docked.save(name("docked")));
    // The marker's red and the track's blue are on the picture.
    EXPECT_TRUE(hasColour(docked, QColor(0xe0, 0x30, 0x20), 30));
    EXPECT_TRUE(hasColour(docked, QColor(0x2a, 0x7f, 0xff), 40));

    m_area->FloatMap();
    m_area->Dialog()->resize(360, 320);
    m_area->OnTick(30000, 40000);
    settle(2500);
    const QImage floating = m_area->Dialog()->grab().toImage();
    ASSERT_TRUE(floating.save(name("floating")));
    ASSERT_TRUE(m_main.grab().toImage().save(name("main-while-floating")));
    EXPECT_EQ(floating.size(), QSize(360, 320));
    EXPECT_TRUE(hasColour(floating, QColor(0xe0, 0x30, 0x20), 30));
    EXPECT_EQ(floating.pixelColor(2, 100), QColor(30, 30, 30));
    ClearSensorArrays();
}

INSTANTIATE_TEST_SUITE_P(Languages, MapScreenshotTest, ::testing::Values(0, 1));

} // namespace
