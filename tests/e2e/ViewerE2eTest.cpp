#include "E2eSession.h"
#include "FakeVolumes.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace zq::test {
namespace {

constexpr int kPlayBoundMs = 40000;
// Places inside the main window (at its minimum size, as it starts).
const QRect kFrontScreen(12, 58, 720, 405);
const QRect kPositionSlider(14, 508, 726, 30);

struct ViewerE2e : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(cards.isValid()); }

    bool Generate(const QString& path, const QStringList& options = {})
    {
        QDir().mkpath(QFileInfo(path).path());
        return QProcess::execute(bundleDir() + QStringLiteral("/zq481k-tool"),
                   QStringList {
                       QStringLiteral("generate"), QStringLiteral("--duration"), QStringLiteral("4") }
                       + options + QStringList { path })
            == 0;
    }
    QRect In(const E2eWindow& window, const QRect& rect) const
    {
        return rect.translated(window.geometry.topLeft());
    }
    // The front screen shows moving pictures: two screenshots apart differ there.
    bool Moving(E2eSession& session, const QRect& area)
    {
        const QImage a = session.Screenshot();
        QThread::msleep(600);
        return E2eSession::ChangedPixels(a, session.Screenshot(), area) > area.width() * area.height() / 50;
    }
    bool LooksLike(const QImage& reference, E2eSession& session, const QRect& area)
    {
        return E2eSession::ChangedPixels(reference, session.Screenshot(), area)
            < area.width() * area.height() / 100;
    }

    QTemporaryDir cards;
};

TEST_F(ViewerE2e, CommandLineCardListsAndPlaysEachRowThenGoesIdle)
{
    const QString card = cards.path() + QStringLiteral("/card");
    ASSERT_TRUE(Generate(card + QStringLiteral("/NORMAL/20170531_090507D.avi")));
    ASSERT_TRUE(Generate(card + QStringLiteral("/EVENT/20170531_090547E.avi")));
    E2eSession session;
    ASSERT_TRUE(session.Ready());
    ASSERT_TRUE(session.StartViewer({ card }));
    const E2eWindow window = session.WaitForMainWindow();
    ASSERT_FALSE(window.id.isEmpty()) << session.ViewerOutput().toStdString();
    EXPECT_EQ(window.geometry.size(), QSize(1034, 742));
    // The start-up notice covers the window's centre; the idle picture shows to its left.
    const QImage idle = session.Screenshot();
    const QRect front = In(window, kFrontScreen);
    const QRect idleStrip = front.adjusted(0, 0, -front.width() / 2 - 200, 0);

    ASSERT_TRUE(E2eSession::WaitUntil([&] { return Moving(session, front); }, kPlayBoundMs))
        << "row 0 plays after the notice and the loading dialog";
    const QImage a = session.Screenshot();
    ASSERT_TRUE(E2eSession::WaitUntil(
        [&] { return E2eSession::ChangedPixels(a, session.Screenshot(), In(window, kPositionSlider)) > 20; },
        5000))
        << "the position slider moves";
    // Both rows play in turn; after the last one the idle picture comes back and nothing asked anything.
    ASSERT_TRUE(E2eSession::WaitUntil([&] { return LooksLike(idle, session, idleStrip); }, kPlayBoundMs));
    QThread::msleep(1500);
    EXPECT_FALSE(Moving(session, front)) << "playback does not restart";
    EXPECT_EQ(session.AnswerMessageBoxes(), 0) << session.ViewerOutput().toStdString();
    EXPECT_TRUE(session.ViewerRunning());
}

TEST_F(ViewerE2e, RecordingWithIndexInFrontPlaysFromItsRepairCopy)
{
    const QString card = cards.path() + QStringLiteral("/card");
    ASSERT_TRUE(Generate(
        card + QStringLiteral("/NORMAL/20170531_090507D.avi"), { QStringLiteral("--idx1-before-movi") }));
    E2eSession session;
    ASSERT_TRUE(session.Ready());
    ASSERT_TRUE(session.StartViewer({ card }));
    const E2eWindow window = session.WaitForMainWindow();
    ASSERT_FALSE(window.id.isEmpty()) << session.ViewerOutput().toStdString();
    const QString copy = session.ProgramFolder() + QStringLiteral("/temp/20170531_090507D_REPAIR.avi");
    ASSERT_TRUE(E2eSession::WaitUntil([&] { return QFile::exists(copy); }, kPlayBoundMs));
    EXPECT_TRUE(
        E2eSession::WaitUntil([&] { return Moving(session, In(window, kFrontScreen)); }, kPlayBoundMs));
    EXPECT_TRUE(E2eSession::WaitUntil([&] { return !QFile::exists(copy); }, kPlayBoundMs))
        << "the copy is gone once the recording has closed";
    EXPECT_EQ(session.AnswerMessageBoxes(), 0);
}

TEST_F(ViewerE2e, AFileThatIsNotARecordingSaysSoOnceAndTheViewerKeepsWorking)
{
    const QString junk = cards.path() + QStringLiteral("/20170531_090507D.avi");
    ASSERT_TRUE(writeFile(junk, QByteArray(8192, 'x')));
    E2eSession session;
    ASSERT_TRUE(session.Ready());
    ASSERT_TRUE(session.StartViewer({ junk }));
    ASSERT_FALSE(session.WaitForMainWindow().id.isEmpty());
    ASSERT_TRUE(session.WaitAndAnswerMessageBox(kPlayBoundMs)) << "message 266";
    QThread::msleep(3000);
    EXPECT_EQ(session.AnswerMessageBoxes(), 0) << "one message per open";
    EXPECT_TRUE(session.ViewerRunning());
    EXPECT_FALSE(session.WaitForMainWindow(2000).id.isEmpty());
    EXPECT_TRUE(session.CloseWithAltF4(10000)) << "a close request ends the viewer";
}

TEST_F(ViewerE2e, RemovingTheCardDuringPlaybackResetsTheWindow)
{
    const QString card = cards.path() + QStringLiteral("/card");
    ASSERT_TRUE(Generate(card + QStringLiteral("/NORMAL/20170531_090507D.avi"),
        { QStringLiteral("--duration"), QStringLiteral("10") }));
    FakeVolumes volumes(cards.path() + QStringLiteral("/fake"));
    FakeVolumes::Disk disk;
    disk.mountPoint = card;
    volumes.Add(disk);
    E2eSession session;
    ASSERT_TRUE(session.Ready());
    session.SetEnvironment(QStringLiteral("ZQ_MOUNTINFO"), volumes.MountinfoPath());
    session.SetEnvironment(QStringLiteral("ZQ_SYSFS_ROOT"), volumes.SysfsRoot());
    ASSERT_TRUE(session.StartViewer({ card }));
    const E2eWindow window = session.WaitForMainWindow();
    ASSERT_FALSE(window.id.isEmpty()) << session.ViewerOutput().toStdString();
    const QRect front = In(window, kFrontScreen);
    ASSERT_TRUE(E2eSession::WaitUntil([&] { return Moving(session, front); }, kPlayBoundMs));
    volumes.Remove(disk.name);
    // The removal is seen by polling the fake mount table; a loaded machine can take a while.
    ASSERT_TRUE(session.WaitAndAnswerMessageBox(30000)) << "message 251";
    // The answered box leaves the screen's centre first; then nothing moves there any more.
    EXPECT_TRUE(E2eSession::WaitUntil([&] { return !Moving(session, front); }, 10000));
    EXPECT_FALSE(Moving(session, front)) << session.ViewerOutput().toStdString();
    EXPECT_TRUE(session.ViewerRunning());
}

} // namespace
} // namespace zq::test
