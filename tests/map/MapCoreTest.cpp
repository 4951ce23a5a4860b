#include "MapDecision.h"
#include "MapDlgGeometry.h"
#include "MapScript.h"
#include "MapTrack.h"
#include "SampleIndexForTime.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace zq;

namespace {

CGPSData Fix(double latitudeNmea, double longitudeNmea, int valid)
{
    CGPSData fix;
    fix.latitude = latitudeNmea;
    fix.longitude = longitudeNmea;
    fix.valid = valid;
    return fix;
}

TEST(MapScriptTest, CallTextSplitsIntoNameAndArguments)
{
    ScriptCall call = ParseScriptText("javascript:positionChange('37.500000', '127.250000')");
    EXPECT_EQ(call.function, "positionChange");
    EXPECT_EQ(call.arguments, QStringList({ "37.500000", "127.250000" }));

    // Without "javascript:" the text is used as it is; blanks around the name go.
    call = ParseScriptText("  f ( \"a\";\t(b),,c )");
    EXPECT_EQ(call.function, "f");
    EXPECT_EQ(call.arguments, QStringList({ "a", "b", "c" }));

    // Without "(" the whole text is the name, with no arguments.
    call = ParseScriptText(" repaint ");
    EXPECT_EQ(call.function, "repaint");
    EXPECT_TRUE(call.arguments.isEmpty());

    EXPECT_TRUE(ParseScriptText("").function.isEmpty());
    // Only what follows the marker counts, wherever it stands.
    EXPECT_EQ(ParseScriptText("xx javascript:g(1)").function, "g");
}

TEST(MapScriptTest, PositionTextHasSixDecimalsAndKeepsTheSign)
{
    EXPECT_EQ(PositionScriptText(37.5, 127.25), "javascript:positionChange('37.500000', '127.250000')");
    const ScriptCall call = ParseScriptText(PositionScriptText(-33.8688, -70.6693));
    EXPECT_EQ(call.arguments, QStringList({ "-33.868800", "-70.669300" }));
}

TEST(MapScriptTest, ArgumentsBecomeStringLiteralsAndNamesMustBeIdentifiers)
{
    const QString nasty = QStringLiteral("a'b\"c\\d</script><!--\n") + QChar(0x2028) + "e";
    const QString literal = ScriptStringLiteral(nasty);
    // Nothing in the literal can end the string or a surrounding script element.
    EXPECT_TRUE(literal.startsWith('"') && literal.endsWith('"'));
    EXPECT_FALSE(literal.contains("</script>"));
    EXPECT_FALSE(literal.contains('<'));
    EXPECT_FALSE(literal.contains('\n'));
    EXPECT_FALSE(literal.contains(QChar(0x2028)));
    const QString inner = literal.mid(1, literal.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == '\\') {
            ++i; // an escape: the next character belongs to it
            continue;
        }
        EXPECT_NE(inner[i], '"') << "unescaped quote at " << i;
    }
    // JSON reads the literal back as the same text (a JSON string is a JavaScript string).
    const QJsonDocument back = QJsonDocument::fromJson(("[" + literal + "]").toUtf8());
    ASSERT_TRUE(back.isArray());
    EXPECT_EQ(back.array().at(0).toString(), nasty);

    EXPECT_EQ(BuildScriptCall({ "setTrack", { "[1]" } }),
        "(typeof setTrack === 'function') ? setTrack(\"[1]\") : undefined");
    // A name that is not a plain identifier would run code of its own: no script at all.
    EXPECT_TRUE(BuildScriptCall({ "alert(1);f", {} }).isEmpty());
    EXPECT_TRUE(BuildScriptCall({ "", {} }).isEmpty());
    EXPECT_TRUE(BuildScriptCall({ "a.b", {} }).isEmpty());
}

TEST(MapTrackTest, FixPositionMapsBackToTheSameFix)
{
    for (const qsizetype count : { 1, 2, 7, 60, 120, 1000 }) {
        for (const qint64 duration :
            { qint64(0), qint64(5), qint64(59999), qint64(60000), qint64(3600001) }) {
            for (qsizetype i = 0; i < count; ++i) {
                const qint64 position = PositionOfFix(i, count, duration);
                const auto index = SampleIndexForTime(position, duration, count);
                if (duration / count == 0) {
                    // Slices of zero length: only position 0 maps, to the first fix.
                    EXPECT_EQ(position, 0);
                    continue;
                }
                ASSERT_TRUE(index.has_value()) << count << " " << duration << " " << i;
                EXPECT_EQ(*index, i) << count << " " << duration;
            }
        }
    }
}

TEST(MapTrackTest, TrackHoldsOnlyUsableFixesWithTheirPositions)
{
    const QVector<CGPSData> fixes {
        Fix(3730.0, 12715.0, 1), // 37.5, 127.25
        Fix(3730.6, 12715.6, 0), // invalid: left out
        Fix(-3352.128, -7040.158, 1), // south and west
        Fix(0.0, 0.0, 1), // no position at all
        Fix(9999.0, 12715.0, 1), // latitude beyond 90
    };
    const QJsonArray track = QJsonDocument::fromJson(TrackJson(fixes, 5000).toUtf8()).array();
    ASSERT_EQ(track.size(), 2);
    EXPECT_DOUBLE_EQ(track[0].toObject()["lat"].toDouble(), 37.5);
    EXPECT_DOUBLE_EQ(track[0].toObject()["lon"].toDouble(), 127.25);
    EXPECT_EQ(track[0].toObject()["t"].toInteger(), 0);
    EXPECT_NEAR(track[1].toObject()["lat"].toDouble(), -33.8688, 1e-9);
    EXPECT_NEAR(track[1].toObject()["lon"].toDouble(), -70.6693, 1e-9);
    EXPECT_EQ(track[1].toObject()["t"].toInteger(), 2001); // fix 2 of 5 over 5 s starts after 2000 ms
    EXPECT_EQ(TrackJson({}, 1000), "[]");
    EXPECT_EQ(TrackJson({ Fix(3730.0, 12715.0, 0) }, 1000), "[]");
}

TEST(MapDecisionTest, PanelFollowsGpsAndConnection)
{
    EXPECT_EQ(ChooseMapPanel(true, true), MapPanelChoice::Map);
    EXPECT_EQ(ChooseMapPanel(true, false), MapPanelChoice::NotConnected);
    EXPECT_EQ(ChooseMapPanel(false, true), MapPanelChoice::NoData);
    EXPECT_EQ(ChooseMapPanel(false, false), MapPanelChoice::NoData);
}

TEST(MapDecisionTest, AfterOpenInEachPlacementAndLayout)
{
    using B = MapAfterOpen::Button;
    // GPS and online, docked, normal layout: map panel, button, page requested once, track sent.
    MapAfterOpen d = DecideAfterOpen(true, true, MapPlacement::Docked, kLayoutNormal, false);
    EXPECT_TRUE(d.showMapPanel && d.loadPage && d.sendTrack);
    EXPECT_FALSE(d.showNoData || d.showNotConnected || d.dock);
    EXPECT_EQ(d.mapButton, B::Show);
    EXPECT_EQ(d.mapActive, std::optional<bool>(true));
    EXPECT_FALSE(DecideAfterOpen(true, true, MapPlacement::Docked, kLayoutNormal, true).loadPage);
    // Video-only layout hides the panel and the button; floating keeps the button as it is.
    d = DecideAfterOpen(true, true, MapPlacement::Docked, kLayoutVideoOnly, true);
    EXPECT_FALSE(d.showMapPanel);
    EXPECT_EQ(d.mapButton, B::Hide);
    EXPECT_EQ(DecideAfterOpen(true, true, MapPlacement::Floating, kLayoutNormal, true).mapButton, B::Keep);

    // GPS without connection: the not-connected panel, no page, the map flag untouched.
    d = DecideAfterOpen(true, false, MapPlacement::Docked, kLayoutNormal, false);
    EXPECT_TRUE(d.showNotConnected);
    EXPECT_FALSE(d.showMapPanel || d.showNoData || d.loadPage || d.sendTrack);
    EXPECT_EQ(d.mapButton, B::Hide);
    EXPECT_FALSE(d.mapActive.has_value());
    EXPECT_FALSE(
        DecideAfterOpen(true, false, MapPlacement::Docked, kLayoutVideoOnly, false).showNotConnected);

    // No GPS: docks a floating map, the no-data panel, flag cleared, button hidden.
    d = DecideAfterOpen(false, true, MapPlacement::Floating, kLayoutNormal, true);
    EXPECT_TRUE(d.dock && d.showNoData);
    EXPECT_FALSE(d.showMapPanel || d.showNotConnected || d.sendTrack || d.loadPage);
    EXPECT_EQ(d.mapActive, std::optional<bool>(false));
    EXPECT_EQ(d.mapButton, B::Hide);
    EXPECT_FALSE(DecideAfterOpen(false, true, MapPlacement::Docked, kLayoutNormal, true).dock);
    EXPECT_FALSE(DecideAfterOpen(false, true, MapPlacement::Docked, kLayoutVideoOnly, true).showNoData);
}

TEST(MapDlgGeometryTest, PartsFollowTheClientSize)
{
    const MapDlgLayout layout = LayOutMapDlg(400, 350);
    EXPECT_EQ(layout.closeButton, QRect(360, 5, 30, 24));
    EXPECT_EQ(layout.caption, QRect(5, 10, 50, 20));
    EXPECT_EQ(layout.position, QRect(5, 324, 300, 20));
    EXPECT_EQ(layout.panel, QRect(5, 35, 390, 285));
}

TEST(MapDlgGeometryTest, BordersCornersFirst)
{
    EXPECT_EQ(MapDlgHitTest(0, 0, 300, 300), Qt::TopEdge | Qt::LeftEdge);
    EXPECT_EQ(MapDlgHitTest(299, 9, 300, 300), Qt::TopEdge | Qt::RightEdge);
    EXPECT_EQ(MapDlgHitTest(9, 290, 300, 300), Qt::BottomEdge | Qt::LeftEdge);
    EXPECT_EQ(MapDlgHitTest(290, 299, 300, 300), Qt::BottomEdge | Qt::RightEdge);
    EXPECT_EQ(MapDlgHitTest(5, 150, 300, 300), Qt::LeftEdge);
    EXPECT_EQ(MapDlgHitTest(150, 5, 300, 300), Qt::TopEdge);
    EXPECT_EQ(MapDlgHitTest(295, 150, 300, 300), Qt::RightEdge);
    EXPECT_EQ(MapDlgHitTest(150, 295, 300, 300), Qt::BottomEdge);
    EXPECT_EQ(MapDlgHitTest(10, 10, 300, 300), Qt::Edges());
    EXPECT_EQ(MapDlgHitTest(289, 289, 300, 300), Qt::Edges());
}

TEST(MapDlgGeometryTest, ResizeKeepsTheOppositeEdgesAndTheMinimum)
{
    const QRect start(800, 100, 400, 400);
    EXPECT_EQ(ResizeMapDlg(start, Qt::BottomEdge | Qt::RightEdge, 50, 20), QRect(800, 100, 450, 420));
    EXPECT_EQ(ResizeMapDlg(start, Qt::BottomEdge | Qt::RightEdge, -300, -300), QRect(800, 100, 300, 300));
    // Dragging the top-left corner inwards stops at the minimum with the bottom-right corner fixed.
    EXPECT_EQ(ResizeMapDlg(start, Qt::TopEdge | Qt::LeftEdge, 250, 250), QRect(900, 200, 300, 300));
    EXPECT_EQ(ResizeMapDlg(start, Qt::LeftEdge, -100, 999), QRect(700, 100, 500, 400));
}

} // namespace
