#include "E2eSession.h"
#include "MainLayout.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zq::test {
namespace {

constexpr int kPlayBoundMs = 40000;
constexpr int kUiBoundMs = 20000;
constexpr int kCurveMinPixels = 100;

struct CommandsE2e : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(cards.isValid());
        card = cards.path() + QStringLiteral("/card");
        QDir().mkpath(card + QStringLiteral("/NORMAL"));
        for (const char* name : { "/NORMAL/20170531_090507D.avi", "/NORMAL/20170531_090527D.avi" })
            ASSERT_EQ(QProcess::execute(bundleDir() + QStringLiteral("/zq481k-tool"),
                          { QStringLiteral("generate"), QStringLiteral("--duration"), QStringLiteral("12"),
                              card + QLatin1String(name) }),
                0);
        ASSERT_TRUE(session.Ready());
        ASSERT_TRUE(session.StartViewer({ card }));
        window = session.WaitForMainWindow();
        ASSERT_FALSE(window.id.isEmpty()) << session.ViewerOutput().toStdString();
        layout
            = MainLayout::Compute(window.geometry.size(), kLayoutNormal, kViewFront, { true, false, true });
        ASSERT_TRUE(session.WaitUntilMoving(Area(Child::FrontScreen), kPlayBoundMs))
            << "row 0 plays after the notice and the loading dialog";
        // Keys are ignored while the open still runs; it has ended once the graph shows the curves.
        ASSERT_TRUE(E2eSession::WaitUntil(
            [&] {
                return E2eSession::CountPixels(session.Screenshot(), Area(Child::Graph), [](QRgb p) {
                    return qGreen(p) > 200 && qRed(p) < 80 && qBlue(p) < 80;
                }) > kCurveMinPixels;
            },
            kPlayBoundMs));
    }
    QRect Area(Child child) const { return layout.Rect(child).translated(window.geometry.topLeft()); }
    int Changed(const QImage& before, const QRect& area)
    {
        return E2eSession::ChangedPixels(before, session.Screenshot(), area);
    }

    QTemporaryDir cards;
    QString card;
    E2eSession session;
    E2eWindow window;
    MainLayout layout;
};

TEST_F(CommandsE2e, SpacePausesAndResumesAndEscTogglesTheLayoutBack)
{
    const QRect front = Area(Child::FrontScreen);
    session.Key(window.id, QStringLiteral("space"));
    QImage paused;
    ASSERT_TRUE(session.WaitUntilSteady(front, kUiBoundMs, &paused))
        << "space pauses" << session.ViewerOutput().toStdString();
    session.Key(window.id, QStringLiteral("Escape"));
    const QRect whole = window.geometry;
    EXPECT_TRUE(E2eSession::WaitUntil(
        [&] { return Changed(paused, whole) > whole.width() * whole.height() / 20; }, kUiBoundMs))
        << "the other layout shows";
    const E2eWindow toggled = session.WaitForMainWindow(kUiBoundMs);
    ASSERT_FALSE(toggled.id.isEmpty());
    session.Key(toggled.id, QStringLiteral("Escape"));
    EXPECT_TRUE(E2eSession::WaitUntil(
        [&] { return Changed(paused, whole) < whole.width() * whole.height() / 100; }, kUiBoundMs))
        << "twice gives the same picture";
    const E2eWindow back = session.WaitForMainWindow(kUiBoundMs);
    ASSERT_FALSE(back.id.isEmpty());
    session.Key(back.id, QStringLiteral("space"));
    EXPECT_TRUE(session.WaitUntilMoving(front, kUiBoundMs)) << "space resumes";
    EXPECT_EQ(session.AnswerMessageBoxes(), 0);
}

TEST_F(CommandsE2e, AClickOnTheGraphSeeksAndPageDownOpensTheNextRow)
{
    session.Key(window.id, QStringLiteral("space"));
    const QRect slider = Area(Child::PositionSlider);
    QImage before;
    ASSERT_TRUE(session.WaitUntilSteady(Area(Child::FrontScreen), kUiBoundMs, &before)) << "paused";
    const QRect graph = Area(Child::Graph);
    session.Click(QPoint(graph.left() + graph.width() * 4 / 5, graph.center().y()));
    // Still paused: the slider thumb jumps right and the screen shows the frame there.
    EXPECT_TRUE(E2eSession::WaitUntil([&] { return Changed(before, slider) > 40; }, kUiBoundMs));
    EXPECT_GT(Changed(before, Area(Child::FrontScreen)), 100);
    session.Key(window.id, QStringLiteral("space"));
    const QRect list = Area(Child::FrontScreen);
    const QImage rowZero = session.Screenshot();
    session.Key(window.id, QStringLiteral("Page_Down"));
    // The new recording starts from its beginning: the slider goes back to the left.
    EXPECT_TRUE(E2eSession::WaitUntil([&] { return Changed(rowZero, slider) > 40; }, kPlayBoundMs))
        << session.ViewerOutput().toStdString();
    EXPECT_TRUE(session.WaitUntilMoving(list, kPlayBoundMs));
    EXPECT_EQ(session.AnswerMessageBoxes(), 0);
}

TEST_F(CommandsE2e, ARightClickOnTheGraphShowsTheMenu)
{
    session.Key(window.id, QStringLiteral("space"));
    ASSERT_TRUE(session.WaitUntilSteady(Area(Child::FrontScreen), kUiBoundMs)) << "paused";
    const QRect graph = Area(Child::Graph);
    const QPoint at(graph.left() + 40, graph.top() + 20);
    const QRect menuArea(at, QSize(150, 150));
    const QImage before = session.Screenshot();
    session.Run(QStringLiteral("xdotool"),
        { QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
            QStringLiteral("click"), QStringLiteral("3") });
    ASSERT_TRUE(E2eSession::WaitUntil([&] { return Changed(before, menuArea) > 2000; }, kUiBoundMs));
    session.Screenshot().save(QStringLiteral(ZQ_BINARY_DIR) + QStringLiteral("/e2e-context-menu.png"));
    EXPECT_EQ(session.PopupMenus().size(), 1) << "one menu, not one of the graph's and one of the window's";
    session.Keys({ QStringLiteral("Escape") });
    EXPECT_TRUE(E2eSession::WaitUntil([&] { return session.PopupMenus().isEmpty(); }, kUiBoundMs))
        << "one Escape closes it";
    EXPECT_TRUE(E2eSession::WaitUntil([&] { return Changed(before, menuArea) < 100; }, kUiBoundMs))
        << "the graph shows again where the menu was";
    EXPECT_TRUE(session.ViewerRunning());
}

} // namespace
} // namespace zq::test
