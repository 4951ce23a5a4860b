#include "MainCommands.h"

#include "CCorvaneDlg.h"
#include "CFileLoadDlg.h"
#include "CRkButtonCtrl.h"
#include "CRkGsensorCtrl.h"
#include "CRkListCtrl.h"
#include "CRkScreenCtrl.h"
#include "CRkSimpleSliderCtrl.h"
#include "CRkTextCtrl.h"
#include "CRkVolumeCtrl.h"
#include "CommandIds.h"
#include "FakeVolumes.h"
#include "MainWindowTesting.h"
#include "Menu149.h"
#include "OptionFile.h"
#include "PlaybackController.h"
#include "RecordingOpener.h"
#include "SensorsUiTesting.h"
#include "TestSupport.h"
#include "WindowMessageEvent.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <gst/gst.h>
#include <gtest/gtest.h>

namespace zq {
namespace {

const bool kGstReady = [] {
    qputenv("ZQ_AUDIO_SINK", "fakesink");
    gst_init(nullptr, nullptr);
    QFont::insertSubstitution(QStringLiteral("돋움"), QStringLiteral("NanumGothic"));
    return true;
}();

constexpr int kBoundMs = 30000;

// Print, Setting and Map are registered by their own units (report, settings dialog, map routing).
const QList<int> kOwnUnits = { kCmdPrint, kCmdSetting, kCmdMap };

const QList<int> kAllIdentifiers = { kCmdOpen, kCmdCapture, kCmdLayoutToggle, kCmdPrint, kCmdSetting,
    kCmdZoom, kCmdAbout, kCmdMinimize, kCmdMaximize, kCmdClose, kCmdMerge, kCmdPrev, kCmdRewind, kCmdPlay,
    kCmdFastForward, kCmdPause, kCmdNext, kCmdSpeedDefault, kCmdBrightDefault, kCmdMute, kCmdMap,
    kCmdCategoryAll, kCmdCategoryEvent, kCmdCategoryNormal, kCmdCategoryParking, kCmdChannelFront,
    kCmdChannelRear, kCmdChannelAll, kCmdRearMirror, kMenuOpen, kMenuPlayPause, kMenuPrevious, kMenuNext,
    kMenuDarken, kMenuBrighten, kMenuBrightDefault, kMenuFast, kMenuSlow, kMenuSpeedDefault, kMenuVolumeUp,
    kMenuVolumeDown, kMenuMute, kMenuCategoryAll, kMenuCategoryInfinite, kMenuCategoryEvent,
    kMenuCategoryParking };

CCorvaneDlg::Options Quiet()
{
    CCorvaneDlg::Options options;
    options.startupNotice = false;
    options.watchVolumes = false;
    return options;
}

void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(target, &press);
}

// Mean difference of the grey levels of two pictures of one size (0 same .. 255).
double MeanAbsoluteDifference(const QImage& a, const QImage& b)
{
    const QImage ga = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage gb = b.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y < ga.height(); ++y)
        for (int x = 0; x < ga.width(); ++x)
            sum += std::abs(int(ga.constScanLine(y)[x]) - int(gb.constScanLine(y)[x]));
    return sum / std::max(1, ga.width() * ga.height());
}

void CollectCommands(const QMenu* menu, QList<int>* ids)
{
    for (const QAction* action : menu->actions()) {
        if (action->menu())
            CollectCommands(action->menu(), ids);
        else if (!action->isSeparator())
            *ids << action->data().toInt();
    }
}

struct CommandsTest : ::testing::Test {
    void SetUp() override
    {
        language.Write(0, { { 251, "No recordings" }, { 266, "Cannot open" } });
        dlg = std::make_unique<CCorvaneDlg>(Quiet());
        dlg->show();
    }
    const MainChildren& Kids() { return dlg->Children(); }

    test::ScopedLanguage language;
    std::unique_ptr<CCorvaneDlg> dlg;
};

TEST_F(CommandsTest, EveryIdentifierAndMenuItemHasExactlyOneHandler)
{
    const QVector<int>& registered = dlg->Handlers().Registered();
    for (int id : kAllIdentifiers) {
        EXPECT_TRUE(dlg->Commands().Has(id)) << id;
        if (kOwnUnits.contains(id)) {
            EXPECT_FALSE(registered.contains(id)) << id;
            continue;
        }
        // Close is the window's own handler; every other one is registered once by the command unit.
        EXPECT_EQ(registered.count(id), id == kCmdClose ? 0 : 1) << id;
    }
    for (int position = 0; position < kMenu149SubmenuCount; ++position) {
        std::unique_ptr<QMenu> menu(BuildSubmenu149(position, dlg.get()));
        ASSERT_TRUE(menu) << position;
        QList<int> ids;
        CollectCommands(menu.get(), &ids);
        EXPECT_FALSE(ids.isEmpty()) << position;
        for (int id : ids)
            EXPECT_EQ(registered.count(id), 1) << "menu " << position << " command " << id;
    }
}

TEST_F(CommandsTest, MenuCommandsReachTheirHandlersThroughTheWindow)
{
    std::unique_ptr<QMenu> menu(BuildSubmenu149(MainSubmenuPosition(0), dlg.get()));
    QList<QAction*> all;
    std::function<void(QMenu*)> walk = [&](QMenu* m) {
        for (QAction* a : m->actions())
            a->menu() ? walk(a->menu()) : void(all << a);
    };
    walk(menu.get());
    for (QAction* action : all)
        if (action->data().toInt() == kMenuFast)
            action->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(Kids().speedSlider->value(), 60);
}

QMenu* OpenPopup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* menu = qobject_cast<QMenu*>(w); menu && menu->isVisible())
            return menu;
    return nullptr;
}

TEST_F(CommandsTest, ARightPressLeftOfTheListShowsTheMenuOfTheOptionLanguage)
{
    const struct {
        int language;
        const char* name;
    } cases[] = { { 0, "en" }, { 1, "ko" }, { 2, "de" } };
    QStringList firstTexts;
    for (const auto& c : cases) {
        TheOptionFile().m_language = c.language;
        const QPointF at(100, 300);
        QMouseEvent press(QEvent::MouseButtonPress, at, dlg->mapToGlobal(at), Qt::RightButton,
            Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dlg.get(), &press);
        QMenu* menu = nullptr;
        ASSERT_TRUE(test::WaitUntil([&] { return (menu = OpenPopup()) != nullptr; }, 5000)) << c.name;
        firstTexts << menu->actions().first()->text();
        QList<int> ids;
        CollectCommands(menu, &ids);
        EXPECT_EQ(ids.first(), kMenuOpen);
        EXPECT_EQ(ids.size(), 13) << c.name;
        menu->grab().save(QStringLiteral(ZQ_BINARY_DIR) + QStringLiteral("/context-menu-")
            + QLatin1String(c.name) + QStringLiteral(".png"));
        menu->close();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(firstTexts[0], QStringLiteral("Open(ctrl+o)"));
    EXPECT_NE(firstTexts[1], firstTexts[0]);
    EXPECT_NE(firstTexts[2], firstTexts[0]);
    TheOptionFile().m_language = 0;
    // Right of the list's left edge there is no menu.
    const QPointF right(dlg->width() - 20, 300);
    QMouseEvent press(QEvent::MouseButtonPress, right, dlg->mapToGlobal(right), Qt::RightButton,
        Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg.get(), &press);
    QCoreApplication::processEvents();
    EXPECT_EQ(OpenPopup(), nullptr);
}

TEST_F(CommandsTest, SpeedAndBrightnessStepsStayInRangeAndGiveTheRates)
{
    for (int i = 0; i < 3; ++i)
        dlg->RunCommand(kMenuFast);
    EXPECT_EQ(Kids().speedSlider->value(), 80);
    EXPECT_NEAR(Kids().overlay1->Rate(), 1.6f, 1e-4);
    dlg->RunCommand(kCmdSpeedDefault);
    for (int i = 0; i < 4; ++i)
        dlg->RunCommand(kMenuSlow);
    EXPECT_EQ(Kids().speedSlider->value(), 10);
    EXPECT_NEAR(Kids().overlay1->Rate(), 0.28f, 1e-4);
    for (int i = 0; i < 3; ++i)
        dlg->RunCommand(kMenuSlow);
    EXPECT_EQ(Kids().speedSlider->value(), 0) << "never below 0";
    for (int i = 0; i < 7; ++i)
        dlg->RunCommand(kMenuBrighten);
    EXPECT_EQ(Kids().brightSlider->value(), 100) << "never above 100";
    dlg->RunCommand(kMenuDarken);
    EXPECT_EQ(Kids().brightSlider->value(), 90);
    Key(dlg.get(), Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    EXPECT_EQ(Kids().brightSlider->value(), 50);
}

TEST_F(CommandsTest, CtrlKeysOtherThanOAreSwallowedAndCharactersRunTheirCommands)
{
    for (int i = 0; i < 3; ++i)
        dlg->RunCommand(kMenuFast);
    Key(dlg.get(), Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
    EXPECT_EQ(Kids().speedSlider->value(), 80) << "Ctrl+S does not reset the speed";
    Key(dlg.get(), Qt::Key_M, Qt::ControlModifier, QStringLiteral("\x0d"));
    EXPECT_FALSE(dlg->IsMuted());
    Key(dlg.get(), Qt::Key_S, Qt::ShiftModifier, QStringLiteral("S"));
    EXPECT_EQ(Kids().speedSlider->value(), 50);
    Key(dlg.get(), Qt::Key_M, Qt::NoModifier, QStringLiteral("m"));
    EXPECT_TRUE(dlg->IsMuted());
}

TEST_F(CommandsTest, VolumeKeysStopAtTheEndsAndUnmute)
{
    CRkVolumeCtrl* volume = Kids().volume;
    volume->SetLevel(5);
    Key(Kids().list, Qt::Key_Up);
    EXPECT_EQ(volume->Level(), 6) << "the focused list does not take the arrow";
    volume->SetLevel(10);
    Key(dlg.get(), Qt::Key_Up);
    EXPECT_EQ(volume->Level(), 10);
    dlg->SetMute(true);
    Key(dlg.get(), Qt::Key_Up);
    EXPECT_FALSE(dlg->IsMuted()) << "volume up unmutes even at the top";
    EXPECT_EQ(volume->Level(), 10);
    volume->SetLevel(1);
    Key(dlg.get(), Qt::Key_Down);
    Key(dlg.get(), Qt::Key_Down);
    EXPECT_EQ(volume->Level(), 0);
    // The volume control's message unmutes too.
    dlg->SetMute(true);
    WindowMessageEvent changed(kMsgVolumeChanged, 4, 0);
    QCoreApplication::sendEvent(dlg.get(), &changed);
    EXPECT_FALSE(dlg->IsMuted());
}

TEST_F(CommandsTest, TransportKeysDoNothingWithoutARecording)
{
    Key(dlg.get(), Qt::Key_Space);
    Key(dlg.get(), Qt::Key_PageDown);
    dlg->RunCommand(kCmdRewind);
    dlg->RunCommand(kCmdFastForward);
    dlg->RunCommand(kCmdCapture);
    EXPECT_FALSE(dlg->IsWorkerBusy());
    EXPECT_FALSE(Kids().Button(kCmdPause)->isVisibleTo(dlg.get()));
    EXPECT_FALSE(dlg->FrontShown());
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(CommandsTest, TitleStripDoubleClickMaximisesAndRestores)
{
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(300, 20), QPointF(300, 20), Qt::LeftButton,
        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg.get(), &dbl);
    EXPECT_TRUE(dlg->isMaximized());
    dlg->RunCommand(kCmdMaximize);
    EXPECT_FALSE(dlg->isMaximized());
}

// One card with short recordings for the playback cases.
struct Card {
    QTemporaryDir dir;
    QString root;
    bool ok = true;
    Card()
    {
        root = dir.path() + QStringLiteral("/card");
        const QStringList six = { QStringLiteral("--duration"), QStringLiteral("6") };
        ok = test::GenerateRecording(root + QStringLiteral("/NORMAL/20170531_090507D.avi"), six)
            && test::GenerateRecording(root + QStringLiteral("/NORMAL/20170531_090527D.avi"), six)
            && test::GenerateRecording(root + QStringLiteral("/EVENT/20170531_090547E.avi"), six);
    }
};

Card& TheCard()
{
    static Card card;
    return card;
}

struct PlayingTest : CommandsTest {
    void SetUp() override
    {
        ASSERT_TRUE(TheCard().ok);
        volumes = std::make_unique<test::FakeVolumes>(work.path());
        test::FakeVolumes::Disk disk;
        disk.mountPoint = TheCard().root;
        volumes->Add(disk);
        CommandsTest::SetUp();
        dlg->Opener()->SetSettleMs(50);
        RecordingLibrary& library = dlg->Library();
        library.RefreshSources();
        ASSERT_TRUE(library.OpenSource(library.SourceIndexForPath(TheCard().root)));
        dlg->FillAfterLoad(TheCard().root);
        ASSERT_TRUE(WaitState(0));
    }
    bool WaitState(int state)
    {
        return test::WaitUntil(
            [this, state] { return !dlg->IsWorkerBusy() && dlg->GetPlayer().GetState() == state; }, kBoundMs);
    }
    bool WaitPosition(const std::function<bool(qint64)>& ok)
    {
        return test::WaitUntil([&] { return ok(dlg->GetPlayer().GetPositionMs()); }, kBoundMs);
    }
    QString File() { return dlg->CurrentFileName(); }

    QTemporaryDir work;
    std::unique_ptr<test::FakeVolumes> volumes;
};

TEST_F(PlayingTest, SpacePausesAndResumesAndPlayWhileStoppedReopens)
{
    Key(dlg.get(), Qt::Key_Space);
    EXPECT_EQ(dlg->GetPlayer().GetState(), 1);
    EXPECT_TRUE(Kids().Button(kCmdPlay)->isVisibleTo(dlg.get()));
    Key(dlg.get(), Qt::Key_Space);
    EXPECT_EQ(dlg->GetPlayer().GetState(), 0);
    const QString file = File();
    dlg->CloseRecording(false);
    Key(dlg.get(), Qt::Key_Space);
    EXPECT_FALSE(dlg->IsWorkerBusy()) << "space while stopped does nothing";
    dlg->RunCommand(kCmdPlay);
    ASSERT_TRUE(WaitState(0)) << "Play while stopped reopens the current row";
    EXPECT_EQ(File(), file);
}

TEST_F(PlayingTest, PageUpOnTheFirstRowStaysAndPageDownOpensTheNext)
{
    const QString first = File();
    Key(dlg.get(), Qt::Key_PageUp);
    dlg->RunCommand(kCmdPrev);
    EXPECT_FALSE(dlg->IsWorkerBusy());
    EXPECT_EQ(dlg->GetPlayer().GetState(), 0);
    EXPECT_EQ(File(), first);
    Key(dlg.get(), Qt::Key_PageDown);
    ASSERT_TRUE(test::WaitUntil([&] { return File() != first && !dlg->IsWorkerBusy(); }, kBoundMs));
    EXPECT_EQ(Kids().list->CurrentRow(), 1);
    Key(dlg.get(), Qt::Key_PageUp);
    ASSERT_TRUE(test::WaitUntil([&] { return File() == first && !dlg->IsWorkerBusy(); }, kBoundMs));
}

TEST_F(PlayingTest, RewindStopsAtZeroAndFastForwardEndsTheRecordingAtTheNextTick)
{
    dlg->GetPlayer().SeekMs(3000);
    ASSERT_TRUE(WaitPosition([](qint64 p) { return p >= 2900; }));
    dlg->RunCommand(kCmdRewind);
    EXPECT_TRUE(WaitPosition([](qint64 p) { return p < 1500; })) << "5 s back from about 3 s is 0";
    const QString first = File();
    const qint64 duration = dlg->GetPlayer().GetDurationMs();
    dlg->GetPlayer().SeekMs(qint32(duration - 2000));
    ASSERT_TRUE(WaitPosition([&](qint64 p) { return p >= duration - 2100; }));
    dlg->RunCommand(kCmdFastForward);
    ASSERT_TRUE(test::WaitUntil([&] { return File() != first && !dlg->IsWorkerBusy(); }, 3000))
        << "the end is reached at once, not after the remaining two seconds of play";
}

TEST_F(PlayingTest, CategoryCommandsRefillTheListAndKeepTheOpenRecordingMarked)
{
    CRkListCtrl* list = Kids().list;
    ASSERT_EQ(list->GetItemCount(), 3);
    dlg->RunCommand(kCmdCategoryParking);
    EXPECT_EQ(list->GetItemCount(), 3) << "no parking recordings: the button is disabled";
    dlg->RunCommand(kMenuCategoryEvent);
    EXPECT_EQ(list->GetItemCount(), 1);
    EXPECT_TRUE(Kids().Button(kCmdCategoryEvent)->IsSelected());
    EXPECT_FALSE(Kids().Button(kCmdCategoryAll)->IsSelected());
    EXPECT_EQ(list->CurrentRow(), -1) << "the playing recording is not an event";
    EXPECT_EQ(list->SelectedRow(), 0);
    dlg->RunCommand(kCmdCategoryNormal);
    EXPECT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->CurrentRow(), 0);
    EXPECT_EQ(dlg->GetPlayer().GetState(), 0) << "refilling does not touch playback";
}

TEST_F(PlayingTest, BusyRefusesEveryCommandButClose)
{
    dlg->Opener()->SetSettleMs(1500);
    dlg->OpenListRow(1);
    ASSERT_TRUE(dlg->IsWorkerBusy());
    const int speed = Kids().speedSlider->value();
    for (int id : dlg->Handlers().Registered())
        EXPECT_FALSE(dlg->RunCommand(id)) << id;
    Key(dlg.get(), Qt::Key_S, Qt::NoModifier, QStringLiteral("s"));
    EXPECT_EQ(Kids().speedSlider->value(), speed);
    EXPECT_TRUE(dlg->RunCommand(kCmdClose));
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(PlayingTest, RateAndBrightnessReachTheEngineAndAPausedFrameIsRedrawn)
{
    for (int i = 0; i < 3; ++i)
        dlg->RunCommand(kMenuFast);
    Key(dlg.get(), Qt::Key_Space);
    ASSERT_EQ(dlg->GetPlayer().GetState(), 1);
    const QImage before = Kids().front->Frame();
    for (int i = 0; i < 5; ++i)
        dlg->RunCommand(kMenuBrighten);
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            const QImage now = Kids().front->Frame();
            return !now.isNull() && now != before;
        },
        kBoundMs))
        << "the still frame shows the new brightness";
    Key(dlg.get(), Qt::Key_Space);
    EXPECT_TRUE(test::WaitUntil([this] { return dlg->Children().overlay1->Rate() > 1.59f; }, kBoundMs));
}

TEST_F(PlayingTest, FrameStepsMoveThePausedPicture)
{
    dlg->GetPlayer().SeekMs(2000);
    ASSERT_TRUE(WaitPosition([](qint64 p) { return p >= 1900; }));
    Key(dlg.get(), Qt::Key_Space);
    ASSERT_EQ(dlg->GetPlayer().GetState(), 1);
    // The picture on screen and its time, once the keys' seeks have their frames.
    struct Shown {
        QImage frame;
        qint64 ms = -1;
    };
    const auto shown = [this] {
        EXPECT_TRUE(test::WaitUntil([this] { return !dlg->GetPlayer().IsSeekPending(); }, kBoundMs));
        Shown now;
        EXPECT_TRUE(dlg->GetPlayer().CaptureFrame(0, &now.frame, &now.ms));
        return now;
    };
    const Shown start = shown();
    Key(dlg.get(), Qt::Key_Period, Qt::NoModifier, QStringLiteral("."));
    const Shown stepped = shown();
    EXPECT_GT(stepped.ms, start.ms);
    EXPECT_LT(stepped.ms, start.ms + 70) << "one frame on, not a jump";
    EXPECT_NE(stepped.frame, start.frame);
    EXPECT_NEAR(double(dlg->GetPlayer().GetPositionMs()), double(stepped.ms), 40) << "the position follows";
    Key(dlg.get(), Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","));
    const Shown back = shown();
    EXPECT_EQ(back.frame, start.frame) << "back to the first picture";
    EXPECT_LT(back.ms, stepped.ms);
    EXPECT_EQ(dlg->GetPlayer().GetState(), 1);
}

TEST_F(PlayingTest, APressOnTheGraphSeeksToTheTimeUnderThePointer)
{
    CRkGsensorCtrl* graph = Kids().graph;
    const qint64 duration = dlg->GetPlayer().GetDurationMs();
    const GsensorGeometry g = GsensorGeometry::ForClientSize(graph->width(), graph->height());
    const int x = g.left + (g.right - g.left) * 3 / 4;
    EXPECT_NEAR(double(graph->PositionAt(x)), duration * 0.75, duration * 0.02);
    EXPECT_EQ(graph->PositionAt(-50), 0);
    EXPECT_EQ(graph->PositionAt(graph->width() + 50), duration);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, graph->height() / 2),
        graph->mapToGlobal(QPointF(x, graph->height() / 2)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(graph, &press);
    EXPECT_TRUE(WaitPosition([&](qint64 p) { return p >= duration * 0.7; }));
}

TEST_F(PlayingTest, CaptureWritesBothTracksLikeTheToolAndOffersTheFolder)
{
    QTemporaryDir out;
    TheOptionFile().m_saveDirectory = out.path();
    language.Write(0, { { 145, " saved. Open the folder?" } });
    dlg->GetPlayer().SeekMs(3000);
    ASSERT_TRUE(WaitPosition([](qint64 p) { return p >= 2900; }));
    QList<QUrl> opened;
    dlg->Handlers().SetFolderOpener([&](const QUrl& url) { opened << url; });
    QString boxText;
    QTimer yes;
    QObject::connect(&yes, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                boxText = box->text();
                box->button(QMessageBox::Yes)->click();
            }
    });
    yes.start(50);
    dlg->RunCommand(kCmdCapture);
    yes.stop();
    EXPECT_EQ(dlg->GetPlayer().GetState(), 1) << "a capture leaves playback paused";
    const QStringList files
        = QDir(out.path()).entryList({ QStringLiteral("*.jpg") }, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 2) << files.join(' ').toStdString();
    EXPECT_TRUE(files[0].startsWith(QStringLiteral("20170531_090507D-")));
    EXPECT_TRUE(files[0].endsWith(QStringLiteral("(Track1).jpg")));
    EXPECT_TRUE(files[1].endsWith(QStringLiteral("(Track2).jpg")));
    EXPECT_TRUE(boxText.startsWith(out.path())) << boxText.toStdString();
    EXPECT_TRUE(boxText.endsWith(QStringLiteral(" saved. Open the folder?")));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), out.path());

    // The tool's pictures at the same position look the same.
    QTemporaryDir toolOut;
    const qint64 at = dlg->GetPlayer().GetPositionMs();
    QProcess tool;
    tool.start(test::bundleDir() + QStringLiteral("/zq481k-tool"),
        { QStringLiteral("snapshot"), TheCard().root + QStringLiteral("/NORMAL/20170531_090507D.avi"),
            QStringLiteral("--at"), QString::number(at / 1000.0, 'f', 3), QStringLiteral("--out"),
            toolOut.path() });
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QStringList toolFiles
        = QDir(toolOut.path()).entryList({ QStringLiteral("*.jpg") }, QDir::Files, QDir::Name);
    ASSERT_EQ(toolFiles.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QImage ours(out.filePath(files[i]));
        const QImage theirs(toolOut.filePath(toolFiles[i]));
        ASSERT_EQ(ours.size(), theirs.size());
        EXPECT_LT(MeanAbsoluteDifference(ours, theirs), 12.0) << i;
    }
}

TEST_F(CommandsTest, PickedFilesGoThroughTheLoadingDialogAndPlay)
{
    ASSERT_TRUE(TheCard().ok);
    const QString picked = TheCard().root + QStringLiteral("/EVENT/20170531_090547E.avi");
    test::ModalAnswerer answerer;
    int mode = 0;
    QTimer::singleShot(
        500, [&] { mode = dlg->LoadingDialog()->isVisible() ? dlg->LoadingDialog()->Mode() : -1; });
    dlg->Handlers().OpenPicked({ picked });
    EXPECT_EQ(mode, CFileLoadDlg::kModeOpened);
    EXPECT_EQ(Kids().list->GetItemCount(), 1);
    EXPECT_TRUE(test::WaitUntil(
        [this] { return !dlg->IsWorkerBusy() && dlg->GetPlayer().GetState() == 0; }, kBoundMs));
    EXPECT_EQ(dlg->CurrentFileName(), QStringLiteral("20170531_090547E.avi"));
    EXPECT_TRUE(answerer.Answered().isEmpty());
}

} // namespace
} // namespace zq
