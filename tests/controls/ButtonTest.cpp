#include "CRkButtonCtrl.h"
#include "CRkPanelCtrl.h"
#include "CommandIds.h"
#include "SkinTestImages.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace zq {
namespace {

using test::ColourForId;
using test::Grab;
using test::SendMouse;

constexpr int kNormal = 19201, kPressed = 19202, kHover = 19203, kDisabled = 19204, kSelected = 19205;
const QPoint kInside(16, 15);

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int id : { kNormal, kPressed, kHover, kDisabled, kSelected })
            ASSERT_TRUE(m_skin.AddBitmap(id, 32, 31));
        m_button.setGeometry(0, 0, 32, 31);
        m_button.SetImages(kNormal, kPressed, kHover, kDisabled, kSelected);
        m_button.Redraw();
        m_owner.show();
    }
    QRgb Shown() { return Grab(m_button).pixel(kInside); }
    void Move() { SendMouse(m_button, QEvent::MouseMove, kInside, Qt::NoButton, Qt::NoButton); }
    void Leave()
    {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&m_button, &leave);
    }

    test::ScopedSkinFolder m_skin;
    test::MessageRecorder m_owner;
    CRkButtonCtrl m_button { kCmdFastForward, &m_owner };
};

TEST_F(ButtonTest, EachStateShowsItsImageAndAClickReportsTheIdentifier)
{
    EXPECT_EQ(Shown(), ColourForId(kNormal));
    SendMouse(m_button, QEvent::MouseButtonPress, kInside);
    EXPECT_EQ(Shown(), ColourForId(kPressed));
    SendMouse(m_button, QEvent::MouseButtonRelease, kInside);
    EXPECT_EQ(Shown(), ColourForId(kNormal));
    EXPECT_EQ(m_owner.Commands(), QList<int> { kCmdFastForward });

    // Hover shows on the first entry only, until the owner clears the flag.
    Move();
    EXPECT_EQ(Shown(), ColourForId(kHover));
    Leave();
    EXPECT_EQ(Shown(), ColourForId(kNormal));
    Move();
    EXPECT_EQ(Shown(), ColourForId(kNormal));
    EXPECT_TRUE(m_button.IsHovering());
    m_button.SetHovering(false);
    Move();
    EXPECT_EQ(Shown(), ColourForId(kHover));
}

TEST_F(ButtonTest, OwnFlagOffSwallowsClicksWhileTheWindowStaysEnabled)
{
    m_button.SetButtonEnabled(false);
    m_button.Redraw();
    int clicks = 0;
    QObject::connect(&m_button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    test::Click(m_button, kInside);
    Move();
    Leave();
    EXPECT_TRUE(m_button.isEnabled());
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(m_owner.Commands().isEmpty());
    EXPECT_EQ(Shown(), ColourForId(kDisabled));

    m_button.SetButtonEnabled(true);
    test::Click(m_button, kInside);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, SelectedButtonShowsItsSelectedImageAfterClickAndRedraw)
{
    m_button.SetSelected(true);
    m_button.Redraw();
    EXPECT_EQ(Shown(), ColourForId(kSelected));
    test::Click(m_button, kInside);
    EXPECT_EQ(Shown(), ColourForId(kSelected));
    Leave();
    EXPECT_EQ(Shown(), ColourForId(kNormal));
    m_button.Redraw();
    EXPECT_EQ(Shown(), ColourForId(kSelected));
}

TEST_F(ButtonTest, BackgroundFollowsTheLookAndTheOwnersLayout)
{
    // The top strip's pixels tell their position: the button's piece comes from source (0, 9).
    QImage strip(100, 33, QImage::Format_RGB32);
    for (int y = 0; y < 33; ++y)
        for (int x = 0; x < 100; ++x)
            strip.setPixel(x, y, qRgb(x, y, 99));
    ASSERT_TRUE(m_skin.AddBitmap(1057, strip));
    m_button.SetImages(0, 0, 0, 0, 0);
    m_button.Redraw();
    EXPECT_EQ(Grab(m_button).pixel(5, 3), qRgb(10, 10, 10));

    m_button.SetTopBarLook(true);
    m_button.Redraw();
    const QImage normalLayout = Grab(m_button);
    EXPECT_EQ(normalLayout.pixel(5, 3), qRgb(5, 12, 99));
    EXPECT_EQ(normalLayout.pixel(31, 7), qRgb(31, 16, 99));
    EXPECT_EQ(normalLayout.pixel(5, 8), qRgb(10, 10, 10));
    // The owner tells the button of the video-only layout; the owner's properties play no part.
    m_owner.setProperty("layoutMode", 1);
    m_button.SetTopBarLayout(false);
    EXPECT_EQ(Grab(m_button).pixel(5, 3), qRgb(30, 30, 30));

    m_button.SetTopBarLayout(true);
    EXPECT_EQ(Grab(m_button).pixel(5, 3), qRgb(5, 12, 99)) << "the normal layout's picture comes back";
    test::ScopedSkinFolder withoutStrip;
    m_button.Redraw();
    EXPECT_EQ(Grab(m_button).pixel(5, 6), qRgb(80, 80, 80));
    EXPECT_EQ(Grab(m_button).pixel(5, 7), qRgb(10, 10, 10));
}

TEST_F(ButtonTest, PngIsDrawnAtItsSizeAndOneThatDoesNotDecodeLeavesTheBackground)
{
    QImage png(10, 10, QImage::Format_ARGB32);
    png.fill(qRgba(250, 250, 0, 255));
    ASSERT_TRUE(m_skin.AddPng(19301, png));
    ASSERT_TRUE(m_skin.AddBrokenPng(19302));
    m_button.SetImages(19301, 19302, 0, 0, 0);
    m_button.Redraw();
    EXPECT_EQ(Grab(m_button).pixel(9, 9), qRgb(250, 250, 0));
    EXPECT_EQ(Grab(m_button).pixel(10, 10), qRgb(10, 10, 10));
    SendMouse(m_button, QEvent::MouseButtonPress, kInside);
    EXPECT_EQ(Grab(m_button).pixel(5, 5), qRgb(10, 10, 10));
}

TEST(PanelTest, PostsItsButtonsCommandsOnToItsParent)
{
    test::MessageRecorder owner;
    CRkPanelCtrl panel(&owner);
    panel.resize(60, 40);
    CRkButtonCtrl button(kCmdMap, &panel);
    button.setGeometry(0, 0, 32, 32);
    owner.show();
    test::Click(button, QPoint(5, 5));
    EXPECT_TRUE(owner.Commands().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.Commands(), QList<int> { kCmdMap });
    EXPECT_EQ(Grab(panel).pixel(45, 35), qRgb(0, 0, 0));
}

} // namespace
} // namespace zq
