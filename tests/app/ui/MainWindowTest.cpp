#include "CCorvaneDlg.h"
#include "CRkButtonCtrl.h"
#include "CRkGsensorCtrl.h"
#include "CRkListCtrl.h"
#include "CRkScreenCtrl.h"
#include "CRkSliderCtrl.h"
#include "CommandIds.h"
#include "MainWindowTesting.h"
#include "RecordingOpener.h"
#include "SensorsUiTesting.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <gst/gst.h>
#include <gtest/gtest.h>

namespace zq {
namespace {

// The window's player needs GStreamer; sound never reaches a device in tests.
const bool kGstReady = [] {
    qputenv("ZQ_AUDIO_SINK", "fakesink");
    gst_init(nullptr, nullptr);
    QFont::insertSubstitution(QStringLiteral("돋움"), QStringLiteral("NanumGothic"));
    return true;
}();

CCorvaneDlg::Options Quiet()
{
    CCorvaneDlg::Options options;
    options.startupNotice = false;
    options.watchVolumes = false;
    return options;
}

struct MainWindowTest : ::testing::Test {
    void SetUp() override
    {
        language.Write(0, { { 251, "No recordings" }, { 266, "Cannot open" }, { 135, "No." } });
        dlg = std::make_unique<CCorvaneDlg>(Quiet());
        dlg->show();
    }
    CRkButtonCtrl* Button(int id) { return dlg->Children().Button(id); }
    bool Shown(QWidget* widget) { return widget->isVisibleTo(dlg.get()); }

    test::ScopedLanguage language;
    std::unique_ptr<CCorvaneDlg> dlg;
};

TEST_F(MainWindowTest, StartsIdleWithNothingToPlay)
{
    EXPECT_EQ(dlg->size(), QSize(1034, 742));
    EXPECT_EQ(dlg->minimumSize(), QSize(1034, 742));
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("ZQ481K Viewer"));
    for (int id : { kCmdOpen, kCmdCapture, kCmdPrint, kCmdSetting, kCmdZoom, kCmdAbout, kCmdClose,
             kCmdMaximize, kCmdMinimize, kCmdLayoutToggle, kCmdPlay, kCmdPrev, kCmdNext })
        EXPECT_TRUE(Shown(Button(id))) << id;
    for (int id :
        { kCmdMerge, kCmdPause, kCmdChannelFront, kCmdChannelRear, kCmdChannelAll, kCmdRearMirror, kCmdMap })
        EXPECT_FALSE(Shown(Button(id))) << id;
    for (int id : { kCmdMerge, kCmdCapture, kCmdPrint, kCmdPrev, kCmdRewind, kCmdPlay, kCmdFastForward,
             kCmdNext, kCmdCategoryAll, kCmdCategoryNormal, kCmdCategoryEvent, kCmdCategoryParking })
        EXPECT_FALSE(Button(id)->IsButtonEnabled()) << id;
    EXPECT_TRUE(Button(kCmdOpen)->IsButtonEnabled());
    EXPECT_TRUE(Button(kCmdChannelFront)->IsSelected());
    EXPECT_FALSE(dlg->Children().position->isEnabled());
    EXPECT_FALSE(Shown(dlg->Children().front) || Shown(dlg->Children().rear));
    EXPECT_TRUE(Shown(dlg->Children().noDataPanel));
    EXPECT_FALSE(Shown(dlg->Children().mapPanel) || Shown(dlg->Children().notConnectedPanel));
    EXPECT_EQ(dlg->GetPlayer().GetState(), 3) << "an engine without a graph";
    EXPECT_EQ(dlg->Children().list->headerItem()->text(0), QStringLiteral("No."));
    // The idle picture fills the video area until a screen shows.
    const QImage picture = dlg->grab().toImage();
    EXPECT_NE(picture.pixel(372, 260), qRgb(10, 10, 10));
}

TEST_F(MainWindowTest, TogglingTheLayoutTwiceRestoresEveryChild)
{
    const auto snapshot = [this] {
        QList<QPair<QRect, bool>> children;
        for (QWidget* child : dlg->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            children.append({ child->geometry(), child->isVisibleTo(dlg.get()) });
        return children;
    };
    const auto before = snapshot();
    const int builds = dlg->Painter().BuildCount();
    dlg->ApplyLayout(kLayoutVideoOnly);
    dlg->grab();
    EXPECT_FALSE(Shown(dlg->Children().list));
    EXPECT_FALSE(Shown(dlg->Children().graph));
    EXPECT_FALSE(Shown(Button(kCmdOpen)));
    EXPECT_FALSE(Shown(dlg->Children().noDataPanel));
    EXPECT_EQ(Button(kCmdLayoutToggle)->geometry().topLeft(), QPoint(1034 - 50, 742 - 66));
    EXPECT_FALSE(Button(kCmdLayoutToggle)->InNormalLayout()) << "the toggle draws the other layout's strip";
    EXPECT_NE(snapshot(), before);
    dlg->ApplyLayout(kLayoutNormal);
    dlg->grab();
    dlg->grab();
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(Button(kCmdLayoutToggle)->InNormalLayout());
    EXPECT_EQ(dlg->Painter().BuildCount(), builds + 2) << "the background is drawn once per change";
}

TEST_F(MainWindowTest, ChannelCountDecidesTheChannelButtonsAndView)
{
    dlg->SetChannelView(kViewBoth);
    dlg->ApplyChannelCount(2);
    EXPECT_TRUE(Shown(Button(kCmdChannelAll)));
    EXPECT_TRUE(Button(kCmdChannelAll)->IsSelected());
    EXPECT_FALSE(Button(kCmdChannelFront)->IsSelected());
    EXPECT_TRUE(dlg->FrontShown() && dlg->RearShown());
    EXPECT_EQ(dlg->Children().front->geometry(), QRect(12, 159, 360, 202));
    EXPECT_EQ(dlg->Children().rear->geometry(), QRect(372, 159, 360, 202));

    dlg->ApplyChannelCount(1);
    EXPECT_EQ(dlg->ChannelView(), kViewFront);
    EXPECT_FALSE(Shown(Button(kCmdChannelAll)) || Shown(Button(kCmdRearMirror)));
    EXPECT_TRUE(dlg->FrontShown());
    EXPECT_FALSE(dlg->RearShown());
    EXPECT_TRUE(Shown(dlg->Children().front));
    EXPECT_FALSE(Shown(dlg->Children().rear));
    EXPECT_EQ(dlg->Children().front->geometry(), QRect(12, 58, 720, 405));

    dlg->HideScreens();
    EXPECT_FALSE(dlg->FrontShown() || Shown(dlg->Children().front));
}

TEST_F(MainWindowTest, CategoryButtonsFollowTheChosenCategoryAndTheRowFollowsTheFile)
{
    auto* list = dlg->Children().list;
    for (int r = 0; r < 4; ++r) {
        list->InsertItem(r, QString::number(r + 1));
        list->SetItemText(r, CRkListCtrl::kFileNameColumn, QStringLiteral("file%1.avi").arg(r));
    }
    dlg->SelectCategoryButtons(kCategoryEvent, QStringLiteral("file2.avi"));
    EXPECT_TRUE(Button(kCmdCategoryEvent)->IsSelected());
    EXPECT_FALSE(Button(kCmdCategoryAll)->IsSelected() || Button(kCmdCategoryNormal)->IsSelected());
    EXPECT_EQ(list->SelectedRow(), 2);
    dlg->SelectCategoryButtons(1, QStringLiteral("gone.avi"));
    EXPECT_TRUE(Button(kCmdCategoryEvent)->IsSelected()) << "1 changes no button";
    EXPECT_EQ(list->SelectedRow(), 0) << "a file not listed selects row 0";
    dlg->SelectCategoryButtons(kCategoryInfinite, QString());
    EXPECT_TRUE(Button(kCmdCategoryNormal)->IsSelected());
    EXPECT_EQ(list->SelectedRow(), 0);
}

TEST_F(MainWindowTest, ListFontLeavesAGapInEveryColumn)
{
    const QFontMetrics metrics(dlg->Children().list->font());
    // The widest date and time the recorder writes, against the columns' widths.
    EXPECT_LE(metrics.horizontalAdvance(QStringLiteral("2088-08-28")), 72 - 8);
    EXPECT_LE(metrics.horizontalAdvance(QStringLiteral("08:08:08")), 56 - 8);
    EXPECT_LE(metrics.horizontalAdvance(QStringLiteral("888")), 35 - 8);
}

TEST_F(MainWindowTest, EmptyFillResetsTheSourceAndSaysSo)
{
    test::ModalAnswerer answerer;
    QTemporaryDir empty;
    dlg->Library().RefreshSources();
    dlg->Library().OpenSource(dlg->Library().SourceCount() - 1, DroppedPaths { { empty.path() } });
    dlg->FillAfterLoad(empty.path());
    EXPECT_EQ(answerer.Answered(), QStringList { QStringLiteral("message251") });
    EXPECT_EQ(dlg->Children().list->GetItemCount(), 0);
    EXPECT_FALSE(Button(kCmdCategoryAll)->IsButtonEnabled());
    EXPECT_FALSE(dlg->IsWorkerBusy()) << "nothing to open";
}

TEST_F(MainWindowTest, CloseEndsTheWindowAndEmptiesTheTemporaryFolder)
{
    QDir().mkpath(dlg->TemporaryFolderPath());
    const QString leftover = dlg->TemporaryFolderPath() + QStringLiteral("/old_REPAIR.avi");
    QFile file(leftover);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString inner = dlg->TemporaryFolderPath() + QStringLiteral("/kept");
    QDir().mkpath(inner);
    EXPECT_TRUE(dlg->RunCommand(kCmdPlay));
    EXPECT_FALSE(dlg->IsWorkerBusy()) << "nothing to play";
    EXPECT_TRUE(dlg->RunCommand(kCmdClose));
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFileInfo(inner).isDir()) << "folders stay";
}

TEST_F(MainWindowTest, AltF4ClosesAndEscDoesNot)
{
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg.get(), &esc);
    EXPECT_TRUE(dlg->isVisible()) << "Esc is the layout toggle, never the dialog's cancel";
    QKeyEvent altF4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    QCoreApplication::sendEvent(dlg.get(), &altF4);
    EXPECT_FALSE(dlg->isVisible());
}

TEST(CommandTable, OnlyCloseRunsWhileAnOpenIsInProgress)
{
    CommandTable table;
    QList<int> ran;
    table.Add(
        kCmdClose, [&] { ran << kCmdClose; }, true);
    table.Add(kCmdPlay, [&] { ran << kCmdPlay; });
    EXPECT_FALSE(table.Run(kCmdPlay, true));
    EXPECT_TRUE(table.Run(kCmdClose, true));
    EXPECT_TRUE(table.Run(kCmdPlay, false));
    EXPECT_FALSE(table.Run(kCmdOpen, false));
    EXPECT_EQ(ran, QList<int>({ kCmdClose, kCmdPlay }));
}

} // namespace
} // namespace zq
