#include "CommandIds.h"
#include "E2eSession.h"
#include "MainLayout.h"
#include "ReportTestSupport.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace zq::test {
namespace {

constexpr int kPlayBoundMs = 40000;
constexpr int kDialogBoundMs = 15000;
const QRect kFrontScreen(12, 58, 720, 405);

// The Print and Setting buttons of the real viewer, clicked where the layout puts them, and their dialogs
// answered as a user would.
struct PrintSettingE2e : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(cards.isValid());
        card = cards.path() + QStringLiteral("/card");
        const QString path = card + QStringLiteral("/NORMAL/20170531_090507D.avi");
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_EQ(
            QProcess::execute(bundleDir() + QStringLiteral("/zq481k-tool"),
                { QStringLiteral("generate"), QStringLiteral("--duration"), QStringLiteral("20"), path }),
            0);
        ASSERT_TRUE(session.Ready());
        ASSERT_TRUE(session.StartViewer({ card }));
        window = session.WaitForMainWindow();
        ASSERT_FALSE(window.id.isEmpty()) << session.ViewerOutput().toStdString();
        ASSERT_TRUE(E2eSession::WaitUntil([this] { return Moving(); }, kPlayBoundMs))
            << "the recording plays";
    }
    void TearDown() override { session.StopViewer(); }

    bool Moving()
    {
        const QRect front = kFrontScreen.translated(window.geometry.topLeft());
        const QImage a = session.Screenshot();
        QThread::msleep(600);
        return E2eSession::ChangedPixels(a, session.Screenshot(), front)
            > front.width() * front.height() / 50;
    }
    QPoint ButtonCentre(Child button) const
    {
        const MainLayout layout
            = MainLayout::Compute(window.geometry.size(), kLayoutNormal, kViewFront, MapState {});
        return window.geometry.topLeft() + layout.Rect(button).center();
    }
    E2eWindow WaitForWindow(const QString& title, int boundMs)
    {
        E2eWindow found;
        E2eSession::WaitUntil(
            [&] {
                const QList<E2eWindow> windows = session.Windows(title);
                if (!windows.isEmpty())
                    found = windows.first();
                return !found.id.isEmpty();
            },
            boundMs);
        return found;
    }
    // The transport buttons work once the open has finished, a moment after the pictures move: a click
    // that came too early is repeated (a few times at most).
    E2eWindow ClickForDialog(Child button, const QString& title)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            session.Click(ButtonCentre(button));
            const E2eWindow dialog = WaitForWindow(title, kDialogBoundMs / 3);
            if (!dialog.id.isEmpty())
                return dialog;
        }
        return {};
    }
    void Save(const QString& name)
    {
        session.Screenshot().save(QStringLiteral(ZQ_BINARY_DIR "/e2e-%1.png").arg(name));
    }

    QTemporaryDir cards;
    QString card;
    E2eSession session;
    E2eWindow window;
};

TEST_F(PrintSettingE2e, PrintButtonPausesAndItsDialogPrintsToAFile)
{
    const E2eWindow dialog = ClickForDialog(Child::Print, QStringLiteral("Print"));
    if (dialog.id.isEmpty())
        Save(QStringLiteral("print-dialog-missing"));
    ASSERT_FALSE(dialog.id.isEmpty())
        << "the print dialog shows at " << ButtonCentre(Child::Print).x() << ","
        << ButtonCentre(Child::Print).y() << session.ViewerOutput().toStdString();
    Save(QStringLiteral("print-dialog"));
    EXPECT_FALSE(Moving()) << "playback paused while the dialog is up";
    // Without a printer the dialog offers "Print to File (PDF)" into the home folder; Return confirms it.
    session.Key(dialog.id, QStringLiteral("Return"));
    const QString pdf = session.ProgramFolder() + QStringLiteral("/home/print.pdf");
    // The file is complete once its trailer is written.
    ASSERT_TRUE(
        E2eSession::WaitUntil([&] { return readFile(pdf).trimmed().endsWith("%%EOF"); }, kDialogBoundMs))
        << session.ViewerOutput().toStdString();
    EXPECT_TRUE(PdfText(pdf, 2).contains(QStringLiteral("Page 2 of 2")));
    const QString page1 = PdfText(pdf, 1);
    EXPECT_TRUE(page1.contains(QStringLiteral("ZQ481K Viewer"))) << page1.toStdString();
    EXPECT_TRUE(page1.contains(QStringLiteral("ZQ481K Report")));
    EXPECT_TRUE(page1.contains(QStringLiteral("Page 1 of 2")));
    EXPECT_TRUE(session.Windows(QStringLiteral("Print")).isEmpty());
    EXPECT_FALSE(Moving()) << "playback stays paused after printing";
    EXPECT_EQ(session.AnswerMessageBoxes(), 0) << session.ViewerOutput().toStdString();
    EXPECT_TRUE(session.ViewerRunning());
}

TEST_F(PrintSettingE2e, SettingButtonOpensTheDialogAndCancelResumesPlayback)
{
    const E2eWindow dialog = ClickForDialog(Child::Setting, QStringLiteral("Settings"));
    ASSERT_FALSE(dialog.id.isEmpty()) << "the settings dialog shows";
    EXPECT_EQ(dialog.geometry.size(), QSize(900, 650));
    Save(QStringLiteral("settings-dialog"));
    EXPECT_FALSE(Moving()) << "playback paused while the dialog is up";
    session.Key(dialog.id, QStringLiteral("Escape"));
    ASSERT_TRUE(E2eSession::WaitUntil(
        [&] { return session.Windows(QStringLiteral("Settings")).isEmpty(); }, kDialogBoundMs));
    EXPECT_TRUE(E2eSession::WaitUntil([this] { return Moving(); }, kDialogBoundMs)) << "playback resumes";
    EXPECT_EQ(session.AnswerMessageBoxes(), 0);
}

} // namespace
} // namespace zq::test
