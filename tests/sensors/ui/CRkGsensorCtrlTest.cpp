#include "CRkGsensorCtrl.h"

#include "CGSensorData.h"
#include "GsensorGeometry.h"
#include "SensorsUiTesting.h"
#include "WindowMessageEvent.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <climits>
#include <gtest/gtest.h>

using zq::CRkGsensorCtrl;
using zq::GsensorGeometry;
using zq::test::CountColour;
using zq::test::CountTinted;
using zq::test::SameRgb;

namespace {

constexpr QRgb kBackground = qRgb(10, 10, 10);
constexpr QRgb kGrey = qRgb(120, 120, 120);
constexpr QRgb kX = qRgb(255, 100, 0);
constexpr QRgb kY = qRgb(255, 255, 0);
constexpr QRgb kZ = qRgb(0, 255, 0);

TEST(GsensorGeometry, SnapsThePlotToTwelveGridSteps)
{
    const GsensorGeometry g = GsensorGeometry::ForClientSize(600, 97);
    EXPECT_EQ(QRect(QPoint(g.left, g.top), QPoint(g.right, g.bottom)),
        QRect(QPoint(20, 10), QPoint(20 + 12 * 47, 92)));
    EXPECT_EQ(g.gridStep, 47); // (590 - 20) / 12
    EXPECT_EQ(g.bandOffset, 82 / 4 + 5);
    EXPECT_EQ(g.half, 41);
    EXPECT_EQ(g.mid, 51);
    EXPECT_EQ(GsensorGeometry::ForClientSize(42, 97).gridStep, 1);
    EXPECT_EQ(GsensorGeometry::ForClientSize(42, 97).right, 32);
    // Too narrow for twelve steps: every grid line falls on the left edge.
    EXPECT_EQ(GsensorGeometry::ForClientSize(41, 97).gridStep, 0);
    EXPECT_EQ(GsensorGeometry::ForClientSize(41, 97).right, 20);
    EXPECT_EQ(GsensorGeometry::ForClientSize(0, 0).gridStep, -2) << "truncation toward zero, no fault";
}

TEST(GsensorGeometry, SpreadsSamplesOverTheSpan)
{
    const GsensorGeometry g = GsensorGeometry::ForClientSize(600, 97);
    // One sample: from (left, mid) to the sample at the right edge and on to right.
    EXPECT_EQ(g.Curve({ 32 }), QVector<QPoint>({ { 20, 51 }, { 584, 30 }, { 584, 30 } }));
    // Samples at 20000, 40000 and 60000 of the span; y truncated toward zero, off the window too.
    EXPECT_EQ(g.Curve({ 0, -32, 256 }),
        QVector<QPoint>({ { 20, 51 }, { 208, 51 }, { 396, 71 }, { 584, -114 }, { 584, -114 } }));
    EXPECT_TRUE(g.Curve({}).isEmpty());
    EXPECT_EQ(g.CurvePoint(INT_MAX, 0, 1), QPoint(584, -114))
        << "values beyond the recorder's range are held";
    // More samples than the span has milliseconds: unsigned step 0 puts them all on the left edge.
    const QVector<QPoint> crowded = g.Curve(QVector<int>(60001, 10));
    EXPECT_EQ(crowded[60001].x(), 20);
    EXPECT_EQ(crowded.last().x(), 584);
    EXPECT_EQ(g.Curve(QVector<int>(60000, 10)).at(60000).x(), 584);
}

TEST(GsensorCtrl, DrawsSolidEdgesDottedGridAndLabels)
{
    CRkGsensorCtrl ctrl;
    ctrl.resize(600, 97);
    const QImage image = ctrl.Render();
    const GsensorGeometry& g = ctrl.Geometry();
    ASSERT_EQ(g.right, 584);
    // Solid edges from top to the row above bottom.
    EXPECT_EQ(CountColour(image, QRect(20, 0, 1, 97), kGrey), 82);
    EXPECT_EQ(CountColour(image, QRect(584, 0, 1, 97), kGrey), 82);
    EXPECT_TRUE(SameRgb(image.pixel(20, 10), kGrey) && SameRgb(image.pixel(20, 91), kGrey));
    // Dotted lines three on, three off from their start: verticals at every inner step, horizontals at
    // mid and the bands near one g.
    for (int i = 1; i < 12; ++i)
        for (int y = 10; y < 22; ++y)
            ASSERT_EQ(SameRgb(image.pixel(20 + 47 * i, y), kGrey), (y - 10) % 6 < 3) << i << " " << y;
    for (int y : { 51, 26, 76 })
        for (int x = 21; x < 33; ++x)
            ASSERT_EQ(SameRgb(image.pixel(x, y), kGrey), x % 6 < 5 && x % 6 > 1) << x << " " << y;
    EXPECT_TRUE(SameRgb(image.pixel(21, 11), kBackground));
    // "2", "0" and "-2" left of the plot, nothing between them.
    EXPECT_GT(CountTinted(image, QRect(0, 0, 20, 16), kGrey, kBackground), 3);
    EXPECT_GT(CountTinted(image, QRect(0, 46, 20, 12), kGrey, kBackground), 3);
    EXPECT_GT(CountTinted(image, QRect(0, 87, 20, 10), kGrey, kBackground), 3);
    EXPECT_EQ(CountTinted(image, QRect(0, 20, 20, 24), kGrey, kBackground), 0);
    EXPECT_EQ(CountColour(image, image.rect(), kX) + CountColour(image, image.rect(), kZ), 0) << "no curves";

    ctrl.resize(41, 97);
    const QImage narrow = ctrl.Render();
    EXPECT_EQ(CountColour(narrow, QRect(21, 0, 20, 97), kGrey), 0) << "every grid line on the left edge";
    EXPECT_EQ(CountColour(narrow, QRect(20, 0, 1, 97), kGrey), 82);
    ctrl.resize(42, 97);
    const QImage justEnough = ctrl.Render();
    EXPECT_EQ(CountColour(justEnough, QRect(32, 0, 1, 97), kGrey), 82);
    EXPECT_GT(CountColour(justEnough, QRect(21, 0, 11, 97), kGrey), 0);
}

TEST(GsensorCtrl, OneSampleDrawsEachAxisToTheRightEdgeAndClosingClearsIt)
{
    CRkGsensorCtrl ctrl;
    ctrl.resize(600, 97);
    ctrl.SetSamples({ zq::CGSensorData { 32, 0, -32 } });
    const QImage image = ctrl.Render();
    // X rises to y 30, Z falls to 71, Y runs along mid; each line stops one pixel short of its end,
    // and Z, drawn last, starts on (left, mid).
    EXPECT_TRUE(SameRgb(image.pixel(583, 30), kX));
    EXPECT_TRUE(SameRgb(image.pixel(583, 71), kZ));
    EXPECT_TRUE(SameRgb(image.pixel(583, 51), kY));
    EXPECT_TRUE(SameRgb(image.pixel(20, 51), kZ));
    EXPECT_TRUE(SameRgb(image.pixel(584, 30), kGrey)) << "the right edge stays grey";
    // Past the stretch where Y covers X along mid, every column holds one X pixel.
    for (int x = 40; x < 584; ++x)
        ASSERT_EQ(CountColour(image, QRect(x, 0, 1, 97), kX), 1) << "column " << x;

    // A new size and new data each rebuild the cached picture.
    ctrl.resize(300, 97);
    EXPECT_TRUE(SameRgb(ctrl.Render().pixel(20 + 12 * 22, 12), kGrey));
    EXPECT_GT(CountColour(ctrl.Render(), QRect(250, 0, 33, 97), kX), 0);
    ctrl.SetSamples({});
    const QImage bare = ctrl.Render();
    EXPECT_EQ(CountColour(bare, bare.rect(), kX) + CountColour(bare, bare.rect(), kZ), 0);
}

// The main window records the commands that reach it.
class CommandSink : public QWidget {
public:
    bool event(QEvent* event) override
    {
        if (zq::WindowMessageEvent::MessageOf(event) != zq::kMsgCommand)
            return QWidget::event(event);
        commands.append(static_cast<zq::WindowMessageEvent*>(event)->CommandId());
        return true;
    }
    QVector<int> commands;
};

QMenu* RightPress(QWidget* target)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(30, 30), target->mapToGlobal(QPointF(30, 30)),
        Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

TEST(GsensorCtrl, RightPressShowsTheLanguagesMenuWithCommandsForTheMainWindow)
{
    CommandSink mainWindow;
    auto* graph = new CRkGsensorCtrl;
    ASSERT_TRUE(graph->Create(new QWidget(&mainWindow), 1200, 7, 10, 600, 97));
    mainWindow.show();

    QMenu* menu = RightPress(graph);
    ASSERT_NE(menu, nullptr);
    QAction* open = menu->actions().first();
    EXPECT_EQ(open->text(), QStringLiteral("Open(ctrl+o)"));
    open->trigger();
    menu->close();
    QApplication::processEvents();
    EXPECT_EQ(mainWindow.commands, QVector<int>({ zq::kMenuOpen })) << "the main window, not the panel";

    graph->SetLanguage(1);
    menu = RightPress(graph);
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(menu->actions().first()->text(), QStringLiteral("Open(ctrl+o)"));
    menu->close();

    graph->SetLanguage(12);
    EXPECT_EQ(RightPress(graph), nullptr);
}

// The main window under the graph counts the right presses that reach it.
class PressCountingWindow : public CommandSink {
public:
    int rightPresses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::RightButton)
            ++rightPresses;
    }
};

TEST(GsensorCtrl, RightPressStopsAtTheGraphSoTheWindowOpensNoSecondMenu)
{
    PressCountingWindow mainWindow;
    auto* graph = new CRkGsensorCtrl;
    ASSERT_TRUE(graph->Create(&mainWindow, 1200, 7, 10, 600, 97));
    mainWindow.show();
    QMenu* menu = RightPress(graph);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(mainWindow.rightPresses, 0);
    menu->close();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

} // namespace
