#include "CRkTextCtrl.h"

#include "SensorsUiTesting.h"

#include <gtest/gtest.h>

using zq::CRkTextCtrl;
using zq::test::CountColour;
using zq::test::CountTinted;
using zq::test::ScopedLanguage;

namespace {

const QHash<int, QString> kEnglish = {
    { 110, "Time" },
    { 111, "Speed" },
    { 126, "Map" },
    { 128, "Lat" },
    { 129, "Lon" },
    { 130, "Files" },
    { 274, "Welcome" },
    { 281, "Insert" },
    { 282, "Open" },
    { 276, "Looking" },
    { 283, "Please" },
    { 284, "Wait" },
};

struct TextCtrlTest : ::testing::Test {
    // No language table is loaded: the texts reach the control only through its owner's push.
    void SetUp() override
    {
        ctrl.SetLabels(kEnglish);
        ctrl.resize(400, 20);
    }

    // Each run as "text@x,y".
    QStringList Runs(int kind)
    {
        ctrl.SetKind(kind);
        QStringList runs;
        for (const CRkTextCtrl::Run& run : ctrl.Runs())
            runs << QStringLiteral("%1@%2,%3").arg(run.text).arg(run.origin.x()).arg(run.origin.y());
        return runs;
    }

    CRkTextCtrl ctrl;
};

TEST_F(TextCtrlTest, TimeAndRate)
{
    ctrl.SetPosition(61999);
    ctrl.SetDuration(60000);
    ctrl.SetRate(0.5f);
    EXPECT_EQ(Runs(1), QStringList({ "Time    01:01  /  01:00@10,2", "Speed   0.50 x@260,2" }));
    // Minutes are not wrapped into hours.
    ctrl.SetPosition(3599999);
    ctrl.SetDuration(6000000);
    ctrl.SetRate(1.95f);
    EXPECT_EQ(Runs(1), QStringList({ "Time    59:59  /  100:00@10,2", "Speed   1.95 x@260,2" }));
}

TEST_F(TextCtrlTest, GsensorValuesShowDashesUntilThereIsData)
{
    EXPECT_EQ(Runs(2), QStringList({ "X:  -@10,3", "Y:  -@110,3", "Z:  -@210,3" }));
    // The owner converts raw counts at 1/32 g: -1 and 32 counts.
    ctrl.SetAcceleration(-1 * 0.03125, 32 * 0.03125, 0.0);
    EXPECT_EQ(Runs(2).first(), QStringLiteral("X:  -@10,3")) << "values alone do not make data";
    ctrl.SetHasData(true);
    EXPECT_EQ(Runs(2), QStringList({ "X:  -0.031250@10,3", "Y:  1.000000@110,3", "Z:  0.000000@210,3" }));
    const auto runs = ctrl.Runs();
    EXPECT_EQ(runs[0].colour, QColor(255, 100, 0));
    EXPECT_EQ(runs[1].colour, QColor(255, 255, 0));
    EXPECT_EQ(runs[2].colour, QColor(0, 255, 0));
}

TEST_F(TextCtrlTest, CaptionsPositionsAndFixedLines)
{
    EXPECT_EQ(Runs(3), QStringList({ "Map@10,3" }));
    EXPECT_EQ(Runs(5), QStringList({ "Map@10,3" }));
    ctrl.SetCoordinates(37.5f, -126.25f);
    EXPECT_EQ(Runs(4), QStringList({ "Lat: 37.500000  Lon: -126.250000@3,3" }));
    EXPECT_EQ(ctrl.Runs()[0].colour, QColor(200, 200, 200));
    EXPECT_EQ(Runs(6), QStringList({ "Lat:  37.500000    Lon:  -126.250000@10,3" }));
    // The position is single precision, which shows in the sixth decimal.
    ctrl.SetCoordinates(37.558333f, 0.0f);
    EXPECT_TRUE(Runs(6).first().startsWith(QStringLiteral("Lat:  37.558334")));

    EXPECT_EQ(Runs(8), QStringList({ "ZQ481K Viewer@10,3" }));
    EXPECT_EQ(Runs(9), QStringList({ "Version 1.0.1 (Build 57)@10,3" }));
    EXPECT_EQ(Runs(10), QStringList({ "Looking@10,3", "Please@10,18", "Wait@10,33" }));
    EXPECT_EQ(Runs(11), QStringList({ "Welcome@10,3", "Insert@10,18", "Open@10,33" }));
    EXPECT_EQ(CRkTextCtrl::FontPixelHeight(1), 13);
    EXPECT_EQ(CRkTextCtrl::FontPixelHeight(8), 15);
    EXPECT_EQ(CRkTextCtrl::FontPixelHeight(10), 12);
}

TEST_F(TextCtrlTest, ListCaptionIsCentredBySixPixelsPerCharacter)
{
    ctrl.resize(92, 20);
    EXPECT_EQ(Runs(7), QStringList({ "Files@31,3" }));
    // A caption wider than the control starts left of it; the division truncates toward zero.
    ctrl.SetLabels({ { 130, "Recordings on card" } });
    EXPECT_EQ(Runs(7), QStringList({ "Recordings on card@-8,3" }));
}

TEST_F(TextCtrlTest, PushedTextsShowAtTheNextPaintAndMostKindsNeedThem)
{
    EXPECT_EQ(Runs(3), QStringList({ "Map@10,3" }));
    const QImage before = ctrl.Render();
    ctrl.SetLabels({ { 126, "지도" }, { 110, "" }, { 111, "" } }); // the owner's language changed
    EXPECT_EQ(Runs(3), QStringList({ "지도@10,3" }));
    EXPECT_NE(ctrl.Render(), before) << "the new caption is painted";
    EXPECT_EQ(Runs(1), QStringList({ "    00:00  /  00:00@10,2", "   1.00 x@260,2" }))
        << "empty texts draw empty";

    ctrl.SetLabels({}); // what an owner without a language table pushes
    ctrl.SetHasData(true);
    for (int kind : { 0, 1, 3, 4, 5, 6, 7, 10, 11, 12, -1 })
        EXPECT_TRUE(Runs(kind).isEmpty()) << "kind " << kind;
    for (int kind : { 2, 8, 9 })
        EXPECT_FALSE(Runs(kind).isEmpty()) << "kind " << kind;
}

TEST(TextCtrlLabels, LanguageLabelsComeFromTheCurrentTableAndAreEmptyWhereItLacksOne)
{
    ScopedLanguage language;
    language.Write(0, { { 126, "Map" }, { 274, "Welcome" } });
    const QHash<int, QString> labels = CRkTextCtrl::LanguageLabels();
    EXPECT_EQ(labels.value(126), QStringLiteral("Map"));
    EXPECT_EQ(labels.value(274), QStringLiteral("Welcome"));
    EXPECT_TRUE(labels.contains(110) && labels.value(110).isEmpty()) << "a text the table lacks is empty";
    EXPECT_EQ(labels.size(), 12);
    language.Select(5); // no table for this language
    EXPECT_TRUE(CRkTextCtrl::LanguageLabels().isEmpty());
}

TEST_F(TextCtrlTest, RenderFillsTheBackgroundAndDrawsEachAxisInItsColour)
{
    const QRgb bg = qRgb(30, 30, 30);
    ctrl.SetBackground(QColor(bg));
    const QImage blank = ctrl.Render();
    ASSERT_EQ(blank.size(), QSize(400, 20));
    EXPECT_EQ(CountColour(blank, blank.rect(), bg), 400 * 20) << "kind 0 draws only the background";

    ctrl.SetKind(2);
    ctrl.SetHasData(true);
    ctrl.SetAcceleration(0.5, -0.5, 1.0);
    const QImage image = ctrl.Render();
    EXPECT_GT(CountTinted(image, QRect(10, 0, 100, 20), qRgb(255, 100, 0), bg), 10);
    EXPECT_GT(CountTinted(image, QRect(110, 0, 100, 20), qRgb(255, 255, 0), bg), 10);
    EXPECT_GT(CountTinted(image, QRect(210, 0, 100, 20), qRgb(0, 255, 0), bg), 10);
    EXPECT_EQ(CountTinted(image, QRect(0, 0, 110, 20), qRgb(255, 255, 0), bg), 0);
    EXPECT_EQ(CountTinted(image, QRect(110, 0, 290, 20), qRgb(255, 100, 0), bg), 0);
    EXPECT_EQ(CountColour(image, QRect(0, 0, 10, 20), bg) + CountColour(image, QRect(10, 0, 390, 3), bg),
        200 + 1170)
        << "text starts at (10, 3)";
}

} // namespace
