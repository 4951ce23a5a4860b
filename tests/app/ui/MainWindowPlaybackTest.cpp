#include "CCorvaneDlg.h"
#include "CRkButtonCtrl.h"
#include "CRkListCtrl.h"
#include "CRkScreenCtrl.h"
#include "CRkTextCtrl.h"
#include "CommandIds.h"
#include "FakeVolumes.h"
#include "MainWindowTesting.h"
#include "PlaybackController.h"
#include "RecordingOpener.h"
#include "SensorArrays.h"
#include "SensorsUiTesting.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <gst/gst.h>
#include <gtest/gtest.h>

namespace zq {
namespace {

const bool kGstReady = [] {
    qputenv("ZQ_AUDIO_SINK", "fakesink");
    // The map area's panel depends on the connection: these tests run offline whatever the machine has.
    qputenv("ZQ_FORCE_ONLINE", "0");
    gst_init(nullptr, nullptr);
    QFont::insertSubstitution(QStringLiteral("돋움"), QStringLiteral("NanumGothic"));
    return true;
}();

constexpr int kBoundMs = 30000;

// One card for the whole program: generating recordings is the slow part.
struct Card {
    QTemporaryDir dir;
    QString root;
    QString repairName = QStringLiteral("20170531_090547E.avi");
    bool ok = true;
    Card()
    {
        root = dir.path() + QStringLiteral("/card");
        const QStringList two = { QStringLiteral("--duration"), QStringLiteral("2") };
        ok = test::GenerateRecording(root + QStringLiteral("/NORMAL/20170531_090507D.avi"), two)
            && test::GenerateRecording(root + QStringLiteral("/NORMAL/20170531_090527D.avi"),
                two + QStringList { QStringLiteral("--no-gps") })
            && test::GenerateRecording(root + QStringLiteral("/EVENT/") + repairName,
                two + QStringList { QStringLiteral("--idx1-before-movi") });
    }
};

Card& TheCard()
{
    static Card card;
    return card;
}

CCorvaneDlg::Options Options()
{
    CCorvaneDlg::Options options;
    options.startupNotice = false;
    return options;
}

struct PlaybackTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(TheCard().ok);
        language.Write(0, { { 251, "No recordings" }, { 266, "Cannot open" } });
        volumes = std::make_unique<test::FakeVolumes>(work.path());
        test::FakeVolumes::Disk disk;
        disk.mountPoint = TheCard().root;
        volumes->Add(disk);
        dlg = std::make_unique<CCorvaneDlg>(Options());
        dlg->show();
        dlg->Opener()->SetSettleMs(50);
    }
    void TearDown() override { dlg.reset(); }

    void LoadCard()
    {
        RecordingLibrary& library = dlg->Library();
        library.RefreshSources();
        ASSERT_TRUE(library.OpenSource(library.SourceIndexForPath(TheCard().root)));
        dlg->FillAfterLoad(TheCard().root);
    }
    bool WaitPlaying()
    {
        return test::WaitUntil(
            [this] { return !dlg->IsWorkerBusy() && dlg->GetPlayer().GetState() == 0 && dlg->FrontShown(); },
            kBoundMs);
    }
    bool FramesArrive(const CRkScreenCtrl* screen)
    {
        const QImage first = screen->Frame();
        return test::WaitUntil(
            [&] { return !screen->Frame().isNull() && screen->Frame() != first; }, kBoundMs);
    }
    void Save(const QString& name)
    {
        dlg->grab().save(
            QStringLiteral(ZQ_BINARY_DIR) + QStringLiteral("/mainwin-") + name + QStringLiteral(".png"));
    }

    test::ScopedLanguage language;
    QTemporaryDir work;
    std::unique_ptr<test::FakeVolumes> volumes;
    std::unique_ptr<CCorvaneDlg> dlg;
    test::ModalAnswerer answerer;
};

TEST_F(PlaybackTest, CardFillsTheListAndRowZeroPlaysOnBothScreens)
{
    LoadCard();
    EXPECT_EQ(dlg->Children().list->GetItemCount(), 3);
    EXPECT_TRUE(dlg->Children().Button(kCmdCategoryAll)->IsSelected());
    EXPECT_TRUE(dlg->Children().Button(kCmdCategoryEvent)->IsButtonEnabled());
    EXPECT_FALSE(dlg->Children().Button(kCmdCategoryParking)->IsButtonEnabled());
    EXPECT_FALSE(dlg->SourceRoot().isEmpty()) << "the card is the source";
    ASSERT_TRUE(WaitPlaying());
    EXPECT_EQ(dlg->CurrentFileName(), QStringLiteral("20170531_090507D.avi"));
    EXPECT_TRUE(dlg->Children().Button(kCmdChannelAll)->isVisibleTo(dlg.get())) << "two channels";
    EXPECT_TRUE(dlg->Children().Button(kCmdPause)->isVisibleTo(dlg.get()));
    EXPECT_FALSE(dlg->Children().Button(kCmdPlay)->isVisibleTo(dlg.get()));
    EXPECT_TRUE(FramesArrive(dlg->Children().front));
    EXPECT_TRUE(dlg->Controller()->TickRunning());
    EXPECT_TRUE(test::WaitUntil([this] { return dlg->Children().overlay1->Position() > 0; }, kBoundMs))
        << "the time overlay moves";
    EXPECT_TRUE(dlg->Children().noDataPanel->isHidden()) << "this recording has GPS fixes";
    EXPECT_TRUE(dlg->Children().notConnectedPanel->isVisibleTo(dlg.get())) << "and the test is offline";
    Save(QStringLiteral("layout1-view1"));

    dlg->SetChannelView(kViewBoth);
    EXPECT_TRUE(FramesArrive(dlg->Children().rear));
    Save(QStringLiteral("layout1-view3"));
    dlg->SetChannelView(kViewRear);
    EXPECT_FALSE(dlg->Children().front->isVisibleTo(dlg.get()));
    EXPECT_TRUE(FramesArrive(dlg->Children().rear));
    Save(QStringLiteral("layout1-view2"));
    dlg->ApplyLayout(kLayoutVideoOnly);
    dlg->SetChannelView(kViewBoth);
    EXPECT_TRUE(FramesArrive(dlg->Children().front));
    Save(QStringLiteral("layout2-view3"));
    EXPECT_TRUE(answerer.Answered().isEmpty());
}

TEST_F(PlaybackTest, EndOfEachRecordingOpensTheNextAndTheLastGoesIdle)
{
    LoadCard();
    ASSERT_TRUE(WaitPlaying());
    // Row 1 has no GPS: the no-data panel stands in the map area.
    ASSERT_TRUE(test::WaitUntil(
        [this] { return dlg->CurrentFileName().endsWith(QLatin1String("527D.avi")); }, kBoundMs));
    ASSERT_TRUE(WaitPlaying());
    EXPECT_TRUE(dlg->Children().noDataPanel->isVisibleTo(dlg.get()));
    EXPECT_TRUE(dlg->Children().notConnectedPanel->isHidden());
    // Row 2 needs a repair: it plays from its copy in the temporary folder.
    ASSERT_TRUE(test::WaitUntil(
        [this] { return dlg->CurrentFileName() == TheCard().repairName && !dlg->IsWorkerBusy(); }, kBoundMs));
    const QString copy = dlg->TemporaryFolderPath() + QStringLiteral("/20170531_090547E_REPAIR.avi");
    EXPECT_EQ(dlg->Opener()->RepairPath(), copy);
    EXPECT_TRUE(QFile::exists(copy));
    EXPECT_FALSE(GpsFixes().isEmpty()) << "sensor records come from the recording as chosen";
    // After the last row: idle picture, front view, row 0 selected, nothing playing.
    ASSERT_TRUE(test::WaitUntil([this] { return !dlg->FrontShown() && !dlg->IsWorkerBusy(); }, kBoundMs));
    EXPECT_FALSE(QFile::exists(copy)) << "the copy lives only while its recording is open";
    EXPECT_EQ(dlg->Children().list->SelectedRow(), 0);
    EXPECT_EQ(dlg->ChannelView(), kViewFront);
    EXPECT_NE(dlg->GetPlayer().GetState(), 0);
    EXPECT_TRUE(answerer.Answered().isEmpty());
}

TEST_F(PlaybackTest, RemovingTheCardResetsTheWindowAndSaysSo)
{
    LoadCard();
    ASSERT_TRUE(WaitPlaying());
    volumes->Remove(QStringLiteral("sdb"));
    ASSERT_TRUE(test::WaitUntil(
        [this] { return answerer.Answered().contains(QStringLiteral("message251")); }, kBoundMs));
    EXPECT_EQ(dlg->Children().list->GetItemCount(), 0);
    EXPECT_TRUE(dlg->SourceRoot().isEmpty());
    EXPECT_FALSE(dlg->FrontShown() || dlg->RearShown());
    EXPECT_FALSE(dlg->Children().Button(kCmdCategoryAll)->IsButtonEnabled());
    EXPECT_FALSE(dlg->Children().Button(kCmdPlay)->IsButtonEnabled());
    EXPECT_FALSE(dlg->Children().Button(kCmdChannelAll)->isVisibleTo(dlg.get()));
    EXPECT_NE(dlg->GetPlayer().GetState(), 0);
    EXPECT_EQ(dlg->Children().overlay1->Duration(), 0);
}

TEST_F(PlaybackTest, AFileThatIsNotARecordingSaysSoOnceAndTheWindowKeepsWorking)
{
    const QString junk = work.path() + QStringLiteral("/20170531_091000D.avi");
    ASSERT_TRUE(test::writeFile(junk, QByteArray(4096, 'x')));
    dlg->Library().RefreshSources();
    dlg->Library().OpenSource(dlg->Library().SourceCount() - 1, DroppedPaths { { junk } });
    dlg->FillAfterLoad(junk);
    ASSERT_TRUE(test::WaitUntil([this] { return !dlg->IsWorkerBusy(); }, kBoundMs));
    EXPECT_EQ(answerer.Answered(), QStringList { QStringLiteral("message266") });
    EXPECT_FALSE(dlg->FrontShown());
    // The next drop plays.
    LoadCard();
    EXPECT_TRUE(WaitPlaying());
}

TEST_F(PlaybackTest, CommandsWaitForTheWorkerAndADoubleClickIsServedAfterIt)
{
    LoadCard();
    dlg->Opener()->SetSettleMs(600);
    ASSERT_TRUE(WaitPlaying());
    QList<int> ran;
    dlg->Commands().Add(kCmdPlay, [&] { ran << kCmdPlay; });
    dlg->OnRowDoubleClicked(1);
    dlg->OpenListRow(2); // an open in progress when timer 4 fires
    EXPECT_TRUE(dlg->IsWorkerBusy());
    EXPECT_FALSE(dlg->RunCommand(kCmdPlay));
    ASSERT_TRUE(test::WaitUntil(
        [this] { return dlg->CurrentFileName().endsWith(QLatin1String("527D.avi")); }, kBoundMs))
        << "the waiting row opens once the worker is done";
    ASSERT_TRUE(test::WaitUntil([this] { return !dlg->IsWorkerBusy(); }, kBoundMs));
    EXPECT_TRUE(dlg->RunCommand(kCmdPlay));
    EXPECT_EQ(ran, QList<int> { kCmdPlay });
}

TEST_F(PlaybackTest, ADroppedFolderListsAndPlaysAfterTheLoadingDialog)
{
    // What a drop on the window or the list hands over (the list reports its drops the same way).
    QTimer::singleShot(
        0, dlg.get(), [this] { dlg->HandleDrop({ TheCard().root + QStringLiteral("/NORMAL") }); });
    // The loading dialog shows for three seconds, then the list fills and row 0 opens.
    ASSERT_TRUE(test::WaitUntil([this] { return dlg->Children().list->GetItemCount() == 2; }, kBoundMs))
        << answerer.Answered().join(QLatin1Char(' ')).toStdString() << " entries "
        << dlg->Library().EntryCount();
    EXPECT_TRUE(WaitPlaying());
    EXPECT_TRUE(dlg->Children().Button(kCmdCategoryNormal)->IsButtonEnabled());
    EXPECT_FALSE(dlg->Children().Button(kCmdCategoryEvent)->IsButtonEnabled());
    EXPECT_TRUE(dlg->SourceRoot().isEmpty() || dlg->SourceRoot().startsWith(TheCard().root))
        << dlg->SourceRoot().toStdString();
}

TEST_F(PlaybackTest, ANewOpenStopsTheRunningWorkerAndDropsItsChanges)
{
    LoadCard();
    dlg->Opener()->SetSettleMs(2000);
    dlg->OpenListRow(1);
    dlg->Opener()->SetSettleMs(50);
    dlg->OpenListRow(0);
    ASSERT_TRUE(WaitPlaying());
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg->CurrentFileName(), QStringLiteral("20170531_090507D.avi"));
    EXPECT_TRUE(answerer.Answered().isEmpty());
}

} // namespace
} // namespace zq
