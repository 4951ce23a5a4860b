#include "CFullDlg.h"
#include "CZoomDlg.h"
#include "SkinTestImages.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace zq {
namespace {

// A virtual desktop of two screens: one left of the primary, which starts at x 0.
const QRect kDesktop(-1280, 0, 1280 + 1920, 1080);
const QSize kClient(425, 300); // a 141 × 100 source at factor 3

TEST(ZoomDlg, SourceRectangleStaysOnTheDesktopAtItsCorners)
{
    EXPECT_EQ(CZoomDlg::SourceRect(QPoint(0, 0), kClient, QRect(0, 0, 1920, 1080), 3), QRect(0, 0, 141, 100));
    EXPECT_EQ(CZoomDlg::SourceRect(QPoint(0, 0), kClient, kDesktop, 3), QRect(-70, 0, 141, 100));
    EXPECT_EQ(CZoomDlg::SourceRect(QPoint(-1280, 0), kClient, kDesktop, 3), QRect(-1280, 0, 141, 100));
    EXPECT_EQ(CZoomDlg::SourceRect(QPoint(1000, 500), kClient, kDesktop, 3), QRect(930, 450, 141, 100));
    EXPECT_EQ(CZoomDlg::SourceRect(QPoint(1919, 1079), kClient, kDesktop, 3), QRect(1779, 980, 141, 100));
}

TEST(ZoomDlg, MagnifiesAndGreysItsOwnArea)
{
    QImage capture(kDesktop.size(), QImage::Format_RGB32);
    capture.fill(qRgb(0, 0, 80));
    QPainter(&capture).fillRect(QRect(QPoint(98, 98) - kDesktop.topLeft(), QSize(5, 5)), Qt::white);
    const QRect ownArea(500, 0, kClient.width(), kClient.height());
    // The source starts at (30, 50): the dot around (100, 100) lands around (70 × 3, 50 × 3).
    const QImage dot = CZoomDlg::Magnify(capture, kDesktop, ownArea, QPoint(100, 100), kClient, 3);
    ASSERT_EQ(dot.size(), kClient);
    EXPECT_EQ(dot.pixel(212, 151), qRgb(255, 255, 255));
    EXPECT_EQ(dot.pixel(20, 20), qRgb(0, 0, 80));
    const QImage edge = CZoomDlg::Magnify(capture, kDesktop, ownArea, QPoint(500, 100), kClient, 3);
    EXPECT_EQ(edge.pixel(20, 150), qRgb(0, 0, 80));
    EXPECT_EQ(edge.pixel(400, 150), qRgb(150, 150, 150));
}

TEST(ZoomDlg, ClosingOnlyHidesAndShowingAgainKeepsThePlace)
{
    CZoomDlg zoom;
    zoom.setGeometry(800, 200, 425, 330);
    zoom.ShowZoom();
    EXPECT_TRUE(zoom.IsShown());
    const QPoint place = zoom.pos();
    zoom.close();
    EXPECT_FALSE(zoom.isVisible());
    EXPECT_FALSE(zoom.IsShown());
    zoom.ShowZoom();
    EXPECT_EQ(zoom.pos(), place);
    zoom.Tick();
    EXPECT_EQ(zoom.Picture().size(), zoom.size());
}

TEST(FullDlg, CentredDarkWindowCreatedHidden)
{
    EXPECT_EQ(CFullDlg::CentredPosition(QSize(1920, 1080), QSize(1034, 742)), QPoint(443, 169));
    CFullDlg full;
    EXPECT_FALSE(full.isVisible());
    EXPECT_EQ(full.size(), QSize(1034, 742));
    EXPECT_EQ(test::Grab(full).pixel(500, 300), qRgb(10, 10, 10));
}

} // namespace
} // namespace zq
