#include "CRkSpeedCtrl.h"

#include "SensorsUiTesting.h"
#include "SpeedGlyph.h"

#include <cmath>
#include <gtest/gtest.h>

using zq::CRkSpeedCtrl;
using zq::SpeedGlyph;
using zq::test::SameRgb;

namespace {

// The display as text: the image at x 20, 32, 44, 55 and 60 — a digit, '.' for the point, ' ' for none.
constexpr int kPlaceX[5] = { 20, 32, 44, 55, 60 };

QString LayoutText(double speed)
{
    QString text(5, QLatin1Char(' '));
    for (const SpeedGlyph& glyph : SpeedGlyph::ForSpeed(speed)) {
        const auto place = std::find(std::begin(kPlaceX), std::end(kPlaceX), glyph.x) - std::begin(kPlaceX);
        if (place >= 5 || text[place] != QLatin1Char(' '))
            return QStringLiteral("bad glyph at x %1").arg(glyph.x);
        text[place] = glyph.IsPoint() ? QLatin1Char('.') : QLatin1Char(char('0' + glyph.Digit()));
    }
    return text;
}

TEST(SpeedGlyph, InnerZerosAndOutOfRangeSpeeds)
{
    EXPECT_EQ(LayoutText(1.0), QStringLiteral("  1.0"));
    EXPECT_EQ(LayoutText(100.05), QStringLiteral("100.0"));
    EXPECT_EQ(LayoutText(999.99), QStringLiteral("999.9"));
    // Negative and undefined speeds would pick images that are not digits: they show 0.0.
    EXPECT_EQ(LayoutText(-3.5), QStringLiteral("  0.0"));
    EXPECT_EQ(LayoutText(std::nan("")), QStringLiteral("  0.0"));
    // Five digits do not fit the four places: hold at 999.9 rather than show 1234.5 as 123.4.
    EXPECT_EQ(LayoutText(1234.5), QStringLiteral("999.9"));
    EXPECT_EQ(LayoutText(INFINITY), QStringLiteral("999.9"));
}

// Each digit bitmap has a colour of its own inside a white frame that must be keyed out.
QRgb DigitColour(int digit)
{
    return qRgb(40 + digit * 20, 200 - digit * 15, 60 + digit * 10);
}
constexpr QRgb kPointColour = qRgb(250, 0, 250);
constexpr QRgb kKmh = qRgb(0, 0, 160);
constexpr QRgb kMph = qRgb(160, 0, 0);

struct SpeedCtrlTest : ::testing::Test {
    void SetUp() override
    {
        for (int id = SpeedGlyph::kPointId; id <= SpeedGlyph::kDigitZeroId + 9; ++id) {
            if (id == SpeedGlyph::kPointId + 1)
                continue;
            const bool point = id == SpeedGlyph::kPointId;
            QImage image(point ? 6 : 10, 18, QImage::Format_RGB32);
            image.fill(Qt::white);
            const QRect inside = point ? QRect(1, 13, 3, 3) : QRect(2, 2, 6, 14);
            for (int y = inside.top(); y <= inside.bottom(); ++y)
                for (int x = inside.left(); x <= inside.right(); ++x)
                    image.setPixel(x, y, point ? kPointColour : DigitColour(id - SpeedGlyph::kDigitZeroId));
            skin.AddBitmap(id, image);
        }
        // Backgrounds half the control's size: they must be stretched over all of it.
        skin.AddBitmap(SpeedGlyph::kBackgroundKmhId, 40, 20, kKmh);
        skin.AddBitmap(SpeedGlyph::kBackgroundMphId, 40, 20, kMph);
        ctrl.resize(80, 40);
    }

    // Reads the rendered control back: which image stands at each place.
    QString ReadDisplay(QRgb background)
    {
        const QImage image = ctrl.Render();
        QString text;
        for (int x : kPlaceX) {
            const QRgb centre = image.pixel(x + 4, SpeedGlyph::kTopPx + 8);
            QChar shown = SameRgb(centre, background) ? QLatin1Char(' ') : QLatin1Char('?');
            if (SameRgb(image.pixel(x + 2, SpeedGlyph::kTopPx + 14), kPointColour))
                shown = QLatin1Char('.');
            for (int digit = 0; digit <= 9; ++digit)
                if (SameRgb(centre, DigitColour(digit)))
                    shown = QLatin1Char(char('0' + digit));
            if (!SameRgb(image.pixel(x, SpeedGlyph::kTopPx), background))
                shown = QLatin1Char('!'); // the white frame was not keyed out
            text += shown;
        }
        return text;
    }

    zq::test::ScopedSkin skin;
    CRkSpeedCtrl ctrl;
};

TEST_F(SpeedCtrlTest, DrawsTheDigitImagesAtTheirPlacesOverTheBackground)
{
    EXPECT_EQ(ReadDisplay(kKmh), QStringLiteral("  0.0")) << "0 before the first tick";
    const struct {
        double speed;
        const char* shown;
    } cases[] = { { 0.0, "  0.0" }, { 0.57, "  0.5" }, { 9.99, "  9.9" }, { 10.0, " 10.0" },
        { 52.34, " 52.3" }, { 123.4, "123.4" } };
    for (const auto& c : cases) {
        ctrl.SetSpeed(c.speed, false);
        EXPECT_EQ(ReadDisplay(kKmh), QString::fromLatin1(c.shown)) << "speed " << c.speed;
    }
    const QImage image = ctrl.Render();
    EXPECT_TRUE(SameRgb(image.pixel(0, 0), kKmh) && SameRgb(image.pixel(79, 39), kKmh))
        << "background stretched";

    ctrl.SetSpeedInMiles(true);
    ctrl.SetSpeed(52.34 * 0.621371, true);
    EXPECT_EQ(ctrl.BackgroundId(), 20053);
    EXPECT_EQ(ReadDisplay(kMph), QStringLiteral(" 32.5"));
}

} // namespace
