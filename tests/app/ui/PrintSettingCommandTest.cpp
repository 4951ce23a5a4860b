#include "CCorvaneDlg.h"
#include "CRkButtonCtrl.h"
#include "CRkListCtrl.h"
#include "CSettingDlg.h"
#include "CommandIds.h"
#include "FakeVolumes.h"
#include "FrameStamp.h"
#include "MainWindowTesting.h"
#include "OptionFile.h"
#include "PrintCommand.h"
#include "ReportTestSupport.h"
#include "SensorsUiTesting.h"
#include "TestSupport.h"
#include "UserFolders.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QTreeWidgetItem>
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

struct Card {
    QTemporaryDir dir;
    QString root;
    bool ok = true;
    Card()
    {
        root = dir.path() + QStringLiteral("/card");
        ok = test::GenerateRecording(root + QStringLiteral("/NORMAL/20170531_090507D.avi"),
            { QStringLiteral("--duration"), QStringLiteral("6") });
    }
};

Card& TheCard()
{
    static Card card;
    return card;
}

/// Answers every modal print or settings dialog that shows while it lives, with the answer it was given
/// last; counts the dialogs it answered.
class DialogAnswerer {
public:
    DialogAnswerer()
    {
        m_timer.setInterval(50);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Answer(); });
        m_timer.start();
    }
    /// Print dialogs: print to this PDF file; an empty path cancels.
    void PrintTo(const QString& path) { m_pdf = path; }
    /// Settings dialogs: choose this language (-1 leaves it) and confirm or cancel.
    void Settings(int language, bool confirm)
    {
        m_language = language;
        m_confirm = confirm;
    }
    /// Settings dialogs: tick or untick the rear mirror (-1 leaves it).
    void Mirror(int on) { m_mirror = on; }
    int printDialogs = 0;
    int settingDialogs = 0;

private:
    void Answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
            ++printDialogs;
            if (m_pdf.isEmpty()) {
                dialog->reject();
                return;
            }
            // The dialog's own controls: its printer list ends with "Print to File (PDF)".
            auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
            auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            ASSERT_TRUE(printers && file) << "the print dialog's printer list and file name";
            printers->setCurrentIndex(printers->count() - 1);
            file->setText(m_pdf);
            dialog->accept();
        } else if (auto* settings = qobject_cast<device::CSettingDlg*>(modal)) {
            ++settingDialogs;
            if (m_mirror >= 0)
                static_cast<QCheckBox*>(settings->Control(1044))->setChecked(m_mirror == 1);
            if (m_language >= 0)
                static_cast<QComboBox*>(settings->Control(1329))->setCurrentIndex(m_language);
            m_confirm ? settings->accept() : settings->reject();
        }
    }

    QTimer m_timer;
    QString m_pdf;
    int m_language = -1;
    int m_mirror = -1;
    bool m_confirm = false;
};

QString ColumnTitles(const CRkListCtrl* list)
{
    QStringList titles;
    for (int column = 0; column < 4; ++column)
        titles << list->headerItem()->text(column);
    return titles.join(QLatin1Char('|'));
}

struct CommandTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(TheCard().ok);
        language.Write(1,
            { { 135, "번호" }, { 136, "날짜" }, { 137, "시간" }, { 138, "파일" }, { 105, "인쇄" },
                { 57344, "ZQ481K 뷰어" }, { 200, "영상" }, { 133, "상시" } });
        language.Write(0,
            { { 135, "No" }, { 136, "Date" }, { 137, "Time" }, { 138, "File" }, { 105, "Print" },
                { 57344, "ZQ481K Viewer" }, { 200, "Video" }, { 251, "No recordings" },
                { 133, "Infinite" } });
        volumes = std::make_unique<test::FakeVolumes>(work.path() + QStringLiteral("/volumes"));
        test::FakeVolumes::Disk disk;
        disk.mountPoint = TheCard().root;
        volumes->Add(disk);
        CCorvaneDlg::Options options;
        options.startupNotice = false;
        dlg = std::make_unique<CCorvaneDlg>(options);
        dlg->show();
        // The settings dialog reads the option file again: it holds what the window started with.
        QDir().mkpath(QFileInfo(OptionFilePath()).path());
        ASSERT_TRUE(TheOptionFile().WriteOptionFile());
    }
    void TearDown() override { dlg.reset(); }

    void Play()
    {
        RecordingLibrary& library = dlg->Library();
        library.RefreshSources();
        ASSERT_TRUE(library.OpenSource(library.SourceIndexForPath(TheCard().root)));
        dlg->FillAfterLoad(TheCard().root);
        ASSERT_TRUE(test::WaitUntil(
            [this] { return !dlg->IsWorkerBusy() && dlg->GetPlayer().GetState() == 0; }, kBoundMs));
        ASSERT_TRUE(test::WaitUntil([this] { return dlg->GetPlayer().GetPositionMs() > 500; }, kBoundMs));
    }
    QString Pdf(const QString& name) const { return work.path() + QLatin1Char('/') + name; }

    test::ScopedLanguage language;
    QTemporaryDir work;
    std::unique_ptr<test::FakeVolumes> volumes;
    std::unique_ptr<CCorvaneDlg> dlg;
    test::ModalAnswerer messages;
    DialogAnswerer answer;
};

TEST_F(CommandTest, PrintIsRefusedWithoutARecording)
{
    answer.PrintTo(Pdf(QStringLiteral("none.pdf")));
    EXPECT_TRUE(dlg->RunCommand(kCmdPrint));
    EXPECT_EQ(PrintCommand(*dlg).Run(), PrintCommand::Result::NotAllowed);
    test::WaitUntil([] { return false; }, 300);
    EXPECT_EQ(answer.printDialogs, 0);
    EXPECT_FALSE(QFile::exists(Pdf(QStringLiteral("none.pdf"))));
}

TEST_F(CommandTest, PrintWhilePlayingPausesAndPrintsTheMomentOnScreen)
{
    Play();
    // Cancelled: nothing is printed, and playback stays paused all the same.
    EXPECT_TRUE(dlg->RunCommand(kCmdPrint));
    EXPECT_EQ(answer.printDialogs, 1);
    EXPECT_EQ(dlg->GetPlayer().GetState(), 1);

    const QString pdf = Pdf(QStringLiteral("report.pdf"));
    answer.PrintTo(pdf);
    const qint64 before = dlg->GetPlayer().GetPositionMs();
    EXPECT_TRUE(dlg->RunCommand(kCmdPrint));
    EXPECT_EQ(answer.printDialogs, 2);
    ASSERT_TRUE(QFile::exists(pdf));
    const QString page1 = test::PdfText(pdf, 1);
    EXPECT_TRUE(page1.contains(QStringLiteral("ZQ481K Viewer"))) << page1.toStdString();
    EXPECT_TRUE(page1.contains(QStringLiteral("ZQ481K Report")));
    EXPECT_TRUE(page1.contains(QStringLiteral("Page 1 of 2")));
    EXPECT_TRUE(page1.contains(QStringLiteral("1. Video")));
    EXPECT_TRUE(test::PdfText(pdf, 2).contains(QStringLiteral("Page 2 of 2")));
    // The generated recording has GPS: the position at this moment is printed, not zeros.
    EXPECT_FALSE(test::PdfText(pdf, 2).contains(QStringLiteral(": 0.00000000")));

    // The front frame is a picture, not an empty rectangle.
    const test::PdfReportLayout layout = test::ReportLayoutOfPdf();
    const QImage page = test::PdfPage(pdf, 1, 50);
    ASSERT_FALSE(page.isNull());
    EXPECT_LT(test::WhiteShare(page, 50, layout.frontFrame), 0.5);

    test::WaitUntil([] { return false; }, 500);
    EXPECT_EQ(dlg->GetPlayer().GetState(), 1) << "playback stays paused";
    EXPECT_EQ(dlg->GetPlayer().GetPositionMs(), before);
    EXPECT_TRUE(messages.Answered().isEmpty());

    // A file that cannot be written is reported, not passed over.
    answer.PrintTo(Pdf(QStringLiteral("no/such/folder/report.pdf")));
    EXPECT_EQ(PrintCommand(*dlg).Run(), PrintCommand::Result::Failed);
    EXPECT_EQ(messages.Answered(), QStringList { QStringLiteral("printFailed") });
    EXPECT_EQ(dlg->GetPlayer().GetState(), 1);
}

TEST_F(CommandTest, SettingOkInAnotherLanguageShowsTheWindowInIt)
{
    CRkListCtrl* list = dlg->Children().list;
    EXPECT_EQ(ColumnTitles(list), QStringLiteral("No|Date|Time|File"));
    EXPECT_EQ(dlg->Children().Button(kCmdPrint)->toolTip(), QStringLiteral("Print"));
    const QImage english = dlg->Children().Button(kCmdCategoryAll)->grab().toImage();

    Play();
    EXPECT_EQ(list->GetItemText(0, 3), QStringLiteral("Infinite"));
    answer.Settings(1, true);
    EXPECT_TRUE(dlg->RunCommand(kCmdSetting));
    EXPECT_EQ(answer.settingDialogs, 1);
    EXPECT_EQ(list->GetItemText(0, 3), QStringLiteral("상시")) << "the rows' category words too";
    EXPECT_EQ(list->GetItemCount(), 1);
    EXPECT_EQ(TheOptionFile().m_language, 1);
    EXPECT_EQ(ColumnTitles(list), QStringLiteral("번호|날짜|시간|파일"));
    EXPECT_EQ(dlg->Children().Button(kCmdPrint)->toolTip(), QStringLiteral("인쇄"));
    EXPECT_NE(dlg->Children().Button(kCmdCategoryAll)->grab().toImage(), english)
        << "the category buttons carry the language's own images";
    // Column widths stay those of the list.
    EXPECT_EQ(list->columnWidth(0), 35);
    EXPECT_EQ(list->columnWidth(3), 150);
    // The choice is kept for the next start.
    COptionFile reread;
    ASSERT_TRUE(reread.ReadOptionFile());
    EXPECT_EQ(reread.m_language, 1);
}

TEST_F(CommandTest, SettingOkMirrorsTheRearPictureOfThePlayingRecording)
{
    Play();
    ASSERT_EQ(dlg->GetPlayer().GetChannelCount(), 2);
    answer.Settings(-1, true);
    answer.Mirror(1);
    dlg->RunCommand(kCmdSetting);
    EXPECT_TRUE(TheOptionFile().m_rearMirror);
    dlg->PausePlayback();
    ASSERT_TRUE(dlg->GetPlayer().SeekMs(1000));
    QImage front;
    QImage rear;
    ASSERT_TRUE(dlg->GetPlayer().CaptureFrame(0, &front));
    ASSERT_TRUE(dlg->GetPlayer().CaptureFrame(1, &rear));
    EXPECT_TRUE(recgen::DecodeFrameStamp(rear).mirrored);
    EXPECT_FALSE(recgen::DecodeFrameStamp(front).mirrored);
}

TEST_F(CommandTest, SettingCancelChangesNothing)
{
    const QByteArray optionFile = test::readFile(OptionFilePath());
    answer.Settings(1, false);
    EXPECT_TRUE(dlg->RunCommand(kCmdSetting));
    EXPECT_EQ(answer.settingDialogs, 1);
    EXPECT_EQ(TheOptionFile().m_language, 0);
    EXPECT_EQ(ColumnTitles(dlg->Children().list), QStringLiteral("No|Date|Time|File"));
    EXPECT_EQ(dlg->Children().Button(kCmdPrint)->toolTip(), QStringLiteral("Print"));
    EXPECT_EQ(test::readFile(OptionFilePath()), optionFile);
}

TEST_F(CommandTest, SettingResumesOnlyWhatWasPlaying)
{
    // Nothing was playing: nothing starts.
    answer.Settings(-1, true);
    dlg->RunCommand(kCmdSetting);
    EXPECT_NE(dlg->GetPlayer().GetState(), 0);

    Play();
    answer.Settings(-1, false);
    dlg->RunCommand(kCmdSetting);
    EXPECT_EQ(dlg->GetPlayer().GetState(), 0) << "playing before, playing after a cancel";

    dlg->PausePlayback();
    answer.Settings(-1, true);
    dlg->RunCommand(kCmdSetting);
    EXPECT_EQ(dlg->GetPlayer().GetState(), 1) << "paused before, paused after";
    EXPECT_EQ(answer.settingDialogs, 3);
}

} // namespace
} // namespace zq
