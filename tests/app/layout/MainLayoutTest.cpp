#include "MainLayout.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

const QSize kStart(1034, 742);

TEST(MainLayout, SmallestWindowHoldsA720x405PictureInItsVideoArea)
{
    const MainLayout l = MainLayout::Compute(kStart, kLayoutNormal, kViewFront, {});
    EXPECT_EQ(l.videoArea, MainLayout::FromEdges(12, 50, 732, 471));
    EXPECT_EQ(l.Rect(Child::FrontScreen), QRect(12, 58, 720, 405)) << "centred vertically in 421 rows";
    EXPECT_TRUE(l.Rect(Child::RearScreen).isEmpty());
    EXPECT_EQ(l.Rect(Child::Front).topLeft(), QPoint(732 - 161, 481));
    EXPECT_EQ(l.Rect(Child::AllChannels).topLeft(), QPoint(732 - 55, 481));

    const MainLayout rear = MainLayout::Compute(kStart, kLayoutNormal, kViewRear, {});
    EXPECT_TRUE(rear.Rect(Child::FrontScreen).isEmpty());
    EXPECT_EQ(rear.Rect(Child::RearScreen), QRect(12, 58, 720, 405));
    EXPECT_FALSE(l.Visible(Child::FrontScreen).has_value()) << "screens are shown by playback";
}

TEST(MainLayout, ViewThreeFitsEachScreenIntoItsHalf)
{
    for (const QSize client : { kStart, QSize(1920, 1080), QSize(1034, 1400) }) {
        const MainLayout l = MainLayout::Compute(client, kLayoutNormal, kViewBoth, {});
        const QRect front = l.Rect(Child::FrontScreen);
        const QRect rear = l.Rect(Child::RearScreen);
        const int half = l.videoArea.width() / 2;
        EXPECT_EQ(front.size(), rear.size()) << client.width();
        EXPECT_EQ(front.top(), rear.top());
        EXPECT_TRUE(QRect(l.videoArea.left(), l.videoArea.top(), half, l.videoArea.height()).contains(front));
        EXPECT_TRUE(l.videoArea.contains(rear));
        EXPECT_GE(rear.left(), l.videoArea.left() + half) << "side by side, no overlap";
        EXPECT_LE(std::abs(front.width() * 9 - front.height() * 16), 16) << "16:9 within rounding";
    }
    const MainLayout l = MainLayout::Compute(kStart, kLayoutNormal, kViewBoth, {});
    EXPECT_EQ(l.Rect(Child::FrontScreen), QRect(12, 159, 360, 202));
    EXPECT_EQ(l.Rect(Child::RearScreen), QRect(372, 159, 360, 202));
}

TEST(MainLayout, FitCentresHorizontallyWhenTheAreaIsWide)
{
    EXPECT_EQ(MainLayout::Fit16x9(QRect(0, 0, 1000, 90)), QRect(420, 0, 160, 90));
    EXPECT_EQ(MainLayout::Fit16x9(QRect(10, 10, 160, 90)), QRect(10, 10, 160, 90));
    EXPECT_EQ(MainLayout::Fit16x9(QRect(0, 0, 0, 0)).size(), QSize(0, 0));
}

TEST(MainLayout, VideoOnlyHidesThePanelsAndMovesOnlyTheLayoutToggle)
{
    const MapState gpsOnline { true, true, true };
    const MainLayout normal = MainLayout::Compute(kStart, kLayoutNormal, kViewBoth, gpsOnline);
    const MainLayout video = MainLayout::Compute(kStart, kLayoutVideoOnly, kViewBoth, gpsOnline);
    EXPECT_EQ(video.videoArea, MainLayout::FromEdges(0, 0, 1034, 586));
    EXPECT_EQ(video.lowerPanel, MainLayout::FromEdges(0, 598, 1034, 672));
    EXPECT_EQ(video.Rect(Child::LayoutToggle).topLeft(), QPoint(984, 676));
    EXPECT_EQ(normal.Rect(Child::LayoutToggle).topLeft(), QPoint(185, 9));
    EXPECT_EQ(video.Visible(Child::LayoutToggle), std::optional<bool>(true));
    EXPECT_EQ(normal.Visible(Child::LayoutToggle), std::optional<bool>(true));

    for (Child hidden : { Child::Open, Child::Merge, Child::Capture, Child::Print, Child::Setting,
             Child::Zoom, Child::About, Child::Close, Child::Max, Child::Min, Child::Graph, Child::Overlay2,
             Child::Overlay3, Child::Overlay4, Child::Overlay7, Child::Map, Child::MapPanel,
             Child::NoDataPanel, Child::NotConnectedPanel, Child::List, Child::CategoryAll,
             Child::CategoryNormal, Child::CategoryEvent, Child::CategoryParking }) {
        EXPECT_EQ(video.Visible(hidden), std::optional<bool>(false)) << int(hidden);
    }
    for (Child shown : { Child::Open, Child::Capture, Child::Print, Child::Setting, Child::Zoom, Child::About,
             Child::Close, Child::Max, Child::Min, Child::Graph, Child::Overlay2, Child::Overlay7,
             Child::List, Child::CategoryAll, Child::MapPanel, Child::Map, Child::Overlay3 })
        EXPECT_EQ(normal.Visible(shown), std::optional<bool>(true)) << int(shown);
    EXPECT_EQ(normal.Visible(Child::Merge), std::optional<bool>(false));
    // What the layout does not decide stays undecided in both modes.
    for (Child kept : { Child::Play, Child::Pause, Child::Front, Child::RearMirror, Child::FrontScreen })
        EXPECT_FALSE(video.Visible(kept).has_value() || normal.Visible(kept).has_value()) << int(kept);
}

TEST(MainLayout, RightColumnSplitsTwoFifthsMapThreeFifthsList)
{
    const MainLayout l = MainLayout::Compute(kStart, kLayoutNormal, kViewFront, {});
    // 742 - 57 = 685: map bottom 50 + 274 = 324, list bottom 324 + 411 = 735.
    EXPECT_EQ(l.mapPanel, MainLayout::FromEdges(747, 50, 1027, 324));
    EXPECT_EQ(l.listPanel, MainLayout::FromEdges(747, 324, 1027, 735));
    EXPECT_EQ(l.Rect(Child::MapPanel), QRect(749, 88, 276, 203));
    EXPECT_EQ(l.Rect(Child::NoDataPanel), l.Rect(Child::MapPanel));
    EXPECT_EQ(l.Rect(Child::Overlay4), QRect(747, 298, 270, 20));
    EXPECT_EQ(l.Rect(Child::List), MainLayout::FromEdges(747, 358, 1009, 735));
    EXPECT_EQ(l.Rect(Child::CategoryParking).topLeft(), QPoint(983, 330));
    EXPECT_EQ(l.Rect(Child::Close).topLeft(), QPoint(983, 9));
    EXPECT_EQ(l.Rect(Child::Graph), QRect(7, 533, 730, 97));
}

TEST(MainLayout, PositionSliderLinesUpWithTheGraphsPlot)
{
    // Graph 730 wide: plot right 720 snaps to 20 + 12 * 58 = 716; the slider's ends are its 15-pixel margins.
    const MainLayout l = MainLayout::Compute(kStart, kLayoutNormal, kViewFront, {});
    EXPECT_EQ(l.Rect(Child::PositionSlider), QRect(14, 508, 726, 30));
    const MainLayout wide = MainLayout::Compute(QSize(1280, 800), kLayoutNormal, kViewFront, {});
    // Graph 976 wide: (956 - 20) / 12 = 78, plot 20..956.
    const QRect slider = wide.Rect(Child::PositionSlider);
    EXPECT_EQ(slider.width() - 2 * MainLayout::kSliderEndMarginPx, 12 * 78);
    EXPECT_EQ(slider.left() + MainLayout::kSliderEndMarginPx, wide.lowerPanel.left() + 2 + 20);
    EXPECT_EQ(slider.top(), wide.lowerPanel.top() + 25);
}

TEST(MainLayout, PlaybackGroupIsPlacedFromTheBarsCentringOffset)
{
    const MainLayout l = MainLayout::Compute(QSize(1500, 800), kLayoutNormal, kViewFront, {});
    // Bar 7..1198: (1191 - 726) / 2 = 232.
    EXPECT_EQ(l.Rect(Child::Prev).topLeft(), QPoint(254, 737));
    EXPECT_EQ(l.Rect(Child::Play), l.Rect(Child::Pause));
    EXPECT_EQ(l.Rect(Child::Play).left(), 332);
    EXPECT_EQ(l.Rect(Child::SpeedSlider).topLeft(), QPoint(484, 739));
    EXPECT_EQ(l.Rect(Child::Volume).topLeft(), QPoint(744, 741));
    EXPECT_EQ(l.Rect(Child::SpeedDisplay).topLeft(), QPoint(824, 734));
    EXPECT_EQ(l.Rect(Child::Overlay1).topLeft(), QPoint(22, 544));
}

TEST(MainLayout, MapAreaFollowsGpsConnectionAndDocking)
{
    struct Case {
        MapState map;
        bool mapPanel, noData, notConnected, button, captions;
    };
    const Case cases[] = {
        { { false, true, true }, false, true, false, false, true },
        { { true, false, true }, false, false, true, false, true },
        { { true, true, true }, true, false, false, true, true },
        { { true, true, false }, true, false, false, false, false },
        { { false, false, false }, false, true, false, false, false },
    };
    for (const Case& c : cases) {
        const MapAreaVisibility v = MainLayout::MapArea(kLayoutNormal, c.map);
        EXPECT_EQ(v.mapPanel, c.mapPanel);
        EXPECT_EQ(v.noDataPanel, c.noData);
        EXPECT_EQ(v.notConnectedPanel, c.notConnected);
        EXPECT_EQ(v.mapButton, c.button);
        EXPECT_EQ(v.captions, c.captions);
        const MapAreaVisibility hidden = MainLayout::MapArea(kLayoutVideoOnly, c.map);
        EXPECT_FALSE(hidden.mapPanel || hidden.noDataPanel || hidden.notConnectedPanel || hidden.mapButton);
    }
}

TEST(MainLayout, ResizeEdgesOnlyWhenNotMaximised)
{
    const QSize window(1034, 742);
    EXPECT_EQ(MainLayout::ResizeEdges(window, { 5, 5 }, false), Qt::TopEdge | Qt::LeftEdge);
    EXPECT_EQ(MainLayout::ResizeEdges(window, { 5, 5 }, true), Qt::Edges());
    EXPECT_EQ(MainLayout::ResizeEdges(window, { 1030, 740 }, false), Qt::BottomEdge | Qt::RightEdge);
    EXPECT_EQ(MainLayout::ResizeEdges(window, { 1024, 300 }, false), Qt::RightEdge);
    EXPECT_EQ(MainLayout::ResizeEdges(window, { 1023, 300 }, false), Qt::Edges());
    EXPECT_EQ(MainLayout::ResizeEdges(window, { 500, 9 }, false), Qt::TopEdge);
    EXPECT_EQ(MainLayout::ResizeEdges(window, { 500, 10 }, false), Qt::Edges());
    EXPECT_EQ(MainLayout::Clamp(QSize(800, 900)), QSize(1034, 900));
    EXPECT_EQ(MainLayout::Clamp(QSize(2000, 100)), QSize(2000, 742));
}

} // namespace
} // namespace zq
