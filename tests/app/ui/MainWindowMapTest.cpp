#include "CCorvaneDlg.h"
#include "CMapBridge.h"
#include "CMapDlg.h"
#include "CMapViewWnd.h"
#include "CRkButtonCtrl.h"
#include "CRkListCtrl.h"
#include "CRkMapPanelCtrl.h"
#include "CRkSliderCtrl.h"
#include "CRkTextCtrl.h"
#include "CommandIds.h"
#include "FakeVolumes.h"
#include "MainWindowTesting.h"
#include "MapArea.h"
#include "MapRouting.h"
#include "ProgramFolder.h"
#include "RecordingOpener.h"
#include "SensorArrays.h"
#include "SensorsUiTesting.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <gst/gst.h>
#include <gtest/gtest.h>

namespace zq {
namespace {

const bool kGstReady = [] {
    qputenv("ZQ_AUDIO_SINK", "fakesink");
    gst_init(nullptr, nullptr);
    return true;
}();

constexpr int kBoundMs = 30000;

// Row 0 has GPS fixes, row 1 has none (list order: oldest first).
struct Card {
    QTemporaryDir dir;
    QString root;
    bool ok = true;
    Card()
    {
        root = dir.path() + QStringLiteral("/card");
        // Long enough that the steps of a test end before the recording does (and the next row opens).
        ok = test::GenerateRecording(root + QStringLiteral("/NORMAL/20170531_090507D.avi"),
                 { QStringLiteral("--duration"), QStringLiteral("10") })
            && test::GenerateRecording(root + QStringLiteral("/NORMAL/20170531_090527D.avi"),
                { QStringLiteral("--duration"), QStringLiteral("3"), QStringLiteral("--no-gps") });
    }
};

Card& TheCard()
{
    static Card card;
    return card;
}

bool CopyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !CopyFolder(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

QVariant Evaluate(QWebEnginePage* page, const QString& script)
{
    QVariant value;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& result) {
        value = result;
        done = true;
    });
    test::WaitUntil([&] { return done; }, 10000);
    return value;
}

struct MainWindowMapTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(TheCard().ok);
        language.Write(0, { { 251, "No recordings" }, { 266, "Cannot open" } });
        // The window's program folder is the test's: it needs the bundle's page.
        // The card is a removable volume, as the viewer lists only those and folders the user picks.
        volumes = std::make_unique<test::FakeVolumes>(work.path());
        test::FakeVolumes::Disk disk;
        disk.mountPoint = TheCard().root;
        volumes->Add(disk);
        ASSERT_TRUE(
            CopyFolder(test::bundleDir() + QStringLiteral("/map"), ProgramFolder() + QStringLiteral("/map")));
    }
    void TearDown() override
    {
        dlg.reset();
        qunsetenv("ZQ_FORCE_ONLINE");
    }
    void Start(bool online)
    {
        qputenv("ZQ_FORCE_ONLINE", online ? "1" : "0");
        CCorvaneDlg::Options options;
        options.startupNotice = false;
        options.watchVolumes = false;
        dlg = std::make_unique<CCorvaneDlg>(options);
        dlg->show();
        dlg->Opener()->SetSettleMs(50);
        RecordingLibrary& library = dlg->Library();
        library.RefreshSources();
        ASSERT_TRUE(library.OpenSource(library.SourceIndexForPath(TheCard().root)));
    }
    MapArea* Map() const { return dlg->Children().map; }
    bool Shown(QWidget* widget) const { return widget->isVisibleTo(dlg.get()); }
    // Opens a row and waits until it plays and the map area has taken its after-open decision.
    bool Open(int row, MapPanelChoice expected)
    {
        if (dlg->Children().list->GetItemCount() == 0)
            dlg->FillAfterLoad(TheCard().root);
        else {
            dlg->CloseRecording(false);
            dlg->OpenListRow(row);
        }
        return test::WaitUntil(
            [&] {
                return !dlg->IsWorkerBusy() && dlg->GetPlayer().GetState() == 0
                    && dlg->Children().list->SelectedRow() == row && Map()->PanelChoice() == expected;
            },
            kBoundMs);
    }
    bool MapAreaShows(QWidget* panel) const
    {
        const MainChildren& c = dlg->Children();
        for (QWidget* other : { static_cast<QWidget*>(c.mapPanel), static_cast<QWidget*>(c.noDataPanel),
                 static_cast<QWidget*>(c.notConnectedPanel) }) {
            if (Shown(other) != (other == panel))
                return false;
        }
        return true;
    }
    QWebEnginePage* Page() const { return Map()->View()->page(); }

    test::ScopedLanguage language;
    QTemporaryDir work;
    std::unique_ptr<test::FakeVolumes> volumes;
    std::unique_ptr<CCorvaneDlg> dlg;
    test::ModalAnswerer answerer;
};

TEST_F(MainWindowMapTest, OnlineGpsRecordingShowsTheMapWhoseMarkerFollowsPlayback)
{
    Start(true);
    ASSERT_TRUE(test::WaitUntil([&] { return Map()->IsPageRequested(); }, kBoundMs))
        << "online at start-up: the page is requested without an open";
    EXPECT_TRUE(MapAreaShows(dlg->Children().noDataPanel)) << "until a recording opens";
    EXPECT_FALSE(Shown(dlg->Children().Button(kCmdMap)));
    // Without a recording there is no position: a relayout leaves the page alone (no marker at 0, 0).
    ASSERT_TRUE(test::WaitUntil([&] { return Map()->View()->IsPageReady(); }, kBoundMs));
    const int scripts = Map()->View()->ScriptsRun();
    dlg->ApplyLayout(kLayoutVideoOnly);
    dlg->ApplyLayout(kLayoutNormal);
    EXPECT_EQ(Map()->View()->ScriptsRun(), scripts);
    EXPECT_FALSE(Evaluate(Page(), QStringLiteral("zqMap.hasLayer(zqMarker)")).toBool());

    ASSERT_TRUE(Open(0, MapPanelChoice::Map));
    EXPECT_TRUE(MapAreaShows(dlg->Children().mapPanel));
    EXPECT_TRUE(Shown(dlg->Children().Button(kCmdMap)));
    EXPECT_TRUE(Shown(dlg->Children().overlay3) && Shown(dlg->Children().overlay4));
    EXPECT_EQ(Map()->View()->parentWidget(), dlg->Children().mapPanel) << "docked at first";
    EXPECT_EQ(dlg->Children().mapPanel->geometry(), dlg->CurrentLayout().Rect(Child::MapPanel));
    EXPECT_EQ(Map()->View()->size(), dlg->Children().mapPanel->size()) << "the browser fills its panel";

    // The page's marker sits on the fix the player's position maps to, and moves on with it.
    ASSERT_TRUE(test::WaitUntil([&] { return Map()->View()->IsPageReady(); }, kBoundMs));
    const auto marker = [&] {
        return Evaluate(Page(),
            QStringLiteral("zqMap.hasLayer(zqMarker) ? [zqMarker.getLatLng().lat, "
                           "zqMarker.getLatLng().lng] : []"))
            .toList();
    };
    ASSERT_TRUE(test::WaitUntil([&] { return marker().size() == 2; }, kBoundMs));
    const QVariantList first = marker();
    ASSERT_TRUE(test::WaitUntil([&] { return marker() != first; }, kBoundMs)) << "the marker moves";
    dlg->PausePlayback();
    test::WaitUntil([] { return false; }, 300);
    const QVariantList paused = marker();
    EXPECT_NEAR(paused.value(0).toDouble(), Map()->View()->LastLatitude(), 1e-6);
    EXPECT_NEAR(paused.value(1).toDouble(), Map()->View()->LastLongitude(), 1e-6);
    EXPECT_EQ(Evaluate(Page(), QStringLiteral("zqTrackPoints.length")).toInt(), GpsFixes().size())
        << "the whole track was handed over once";

    // A click on the track seeks the player like the position slider: to the nearest fix's time.
    const int last = GpsFixes().size() - 1;
    const qint64 target = Evaluate(Page(),
        QStringLiteral("zqTrackClicked(L.latLng(zqTrackPoints[%1].lat, zqTrackPoints[%1].lon))").arg(last))
                              .toLongLong();
    ASSERT_GT(target, 1000);
    EXPECT_TRUE(
        test::WaitUntil([&] { return std::abs(dlg->GetPlayer().GetPositionMs() - target) < 150; }, kBoundMs));
    EXPECT_EQ(dlg->Children().position->value(), int(target));
    EXPECT_TRUE(answerer.Answered().isEmpty());
}

TEST_F(MainWindowMapTest, MapCommandFloatsUnlessBusyAndOpeningWithoutGpsDocks)
{
    Start(true);
    ASSERT_TRUE(Open(0, MapPanelChoice::Map));
    CMapDlg* floating = Map()->Dialog();

    // While a recording is being opened the map stays where it is.
    dlg->CloseRecording(false);
    dlg->OpenListRow(0);
    ASSERT_TRUE(dlg->IsWorkerBusy());
    EXPECT_FALSE(dlg->RunCommand(kCmdMap));
    EXPECT_EQ(Map()->Placement(), MapPlacement::Docked);
    // A click on the track does not seek either (the worker drives the player).
    Map()->View()->Bridge()->seekTo(2000.0);
    EXPECT_EQ(dlg->Children().position->value(), 0);
    ASSERT_TRUE(test::WaitUntil([&] { return !dlg->IsWorkerBusy(); }, kBoundMs));

    ASSERT_TRUE(dlg->RunCommand(kCmdMap));
    EXPECT_EQ(Map()->Placement(), MapPlacement::Floating);
    EXPECT_TRUE(floating->isVisible());
    EXPECT_EQ(Map()->View()->parentWidget(), floating->Panel());
    EXPECT_FALSE(Shown(dlg->Children().Button(kCmdMap)));
    EXPECT_FALSE(Shown(dlg->Children().overlay3) || Shown(dlg->Children().overlay4));
    // The main window's layout agrees with the map area: a relayout changes nothing of it.
    dlg->ApplyLayout(kLayoutNormal);
    EXPECT_FALSE(Shown(dlg->Children().Button(kCmdMap)) || Shown(dlg->Children().overlay3));
    EXPECT_TRUE(Shown(dlg->Children().mapPanel));
    // The floating window's position line follows the tick in the window's language.
    EXPECT_TRUE(test::WaitUntil([&] { return floating->PositionText()->Latitude() != 0.0f; }, kBoundMs));
    EXPECT_FALSE(floating->Caption()->Runs().isEmpty() || floating->PositionText()->Runs().isEmpty());

    // A recording without GPS brings the map back into the window, with the no-data panel.
    ASSERT_TRUE(Open(1, MapPanelChoice::NoData));
    EXPECT_TRUE(test::WaitUntil([&] { return Map()->Placement() == MapPlacement::Docked; }, kBoundMs));
    EXPECT_FALSE(floating->isVisible());
    EXPECT_EQ(Map()->View()->parentWidget(), dlg->Children().mapPanel);
    EXPECT_TRUE(MapAreaShows(dlg->Children().noDataPanel));
    EXPECT_FALSE(Shown(dlg->Children().Button(kCmdMap)));
    EXPECT_TRUE(Shown(dlg->Children().overlay3));

    // Float again, then the card goes: docked, no data, no position kept.
    ASSERT_TRUE(Open(0, MapPanelChoice::Map));
    ASSERT_TRUE(dlg->RunCommand(kCmdMap));
    ASSERT_TRUE(test::WaitUntil([&] { return Map()->View()->HasPosition(); }, kBoundMs));
    dlg->ResetAfterCardRemoval();
    EXPECT_EQ(Map()->Placement(), MapPlacement::Docked);
    EXPECT_FALSE(floating->isVisible());
    EXPECT_TRUE(MapAreaShows(dlg->Children().noDataPanel));
    EXPECT_FALSE(Map()->View()->HasPosition());
    EXPECT_FALSE(Shown(dlg->Children().Button(kCmdMap)));
    EXPECT_EQ(answerer.Answered(), QStringList { QStringLiteral("message251") });
}

TEST_F(MainWindowMapTest, OfflineShowsTheNotConnectedPanelAndNeverLoadsThePage)
{
    Start(false);
    ASSERT_TRUE(Open(0, MapPanelChoice::NotConnected));
    EXPECT_TRUE(MapAreaShows(dlg->Children().notConnectedPanel));
    EXPECT_FALSE(Shown(dlg->Children().Button(kCmdMap)));
    EXPECT_TRUE(Shown(dlg->Children().overlay3));
    EXPECT_FALSE(Map()->IsPageRequested());
    EXPECT_FALSE(Map()->View()->IsNavigated());

    // The video-only layout hides the whole map area; back in the normal one the same panel returns.
    dlg->ApplyLayout(kLayoutVideoOnly);
    EXPECT_TRUE(MapAreaShows(nullptr));
    EXPECT_FALSE(Shown(dlg->Children().overlay3) || Shown(dlg->Children().Button(kCmdMap)));
    dlg->ApplyLayout(kLayoutNormal);
    EXPECT_TRUE(MapAreaShows(dlg->Children().notConnectedPanel));

    // A late start-up answer does not undo the panel an open has chosen.
    dlg->SetOnline(true);
    EXPECT_TRUE(MapAreaShows(dlg->Children().notConnectedPanel));
    ASSERT_TRUE(Open(1, MapPanelChoice::NoData));
    EXPECT_TRUE(MapAreaShows(dlg->Children().noDataPanel));
    EXPECT_FALSE(Map()->View()->IsNavigated()) << "still offline: nothing is fetched";
}

} // namespace
} // namespace zq
