#include "CRkSimpleSliderCtrl.h"
#include "CRkSliderCtrl.h"
#include "SeekTarget.h"
#include "SkinTestImages.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace zq {
namespace {

using test::ColourForId;
using test::Grab;
using test::SendMouse;

TEST(SimpleSlider, RateAndBrightnessAtTheMarkedPositions)
{
    struct Case {
        int position;
        float rate;
        int brightness;
    };
    // 5.1 as a float is a little less than 5.1, so exact multiples fall one short: -203, 152, 254.
    const Case cases[] = { { 0, 0.1f, -254 }, { 10, 0.28f, -203 }, { 25, 0.55f, -127 }, { 49, 0.982f, -5 },
        { 50, 1.0f, 0 }, { 51, 1.02f, 5 }, { 75, 1.5f, 127 }, { 80, 1.6f, 152 }, { 100, 2.0f, 254 } };
    CRkSimpleSliderCtrl slider;
    slider.setRange(0, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        slider.setValue(c.position);
        EXPECT_EQ(slider.GetRate(), c.rate);
        EXPECT_EQ(slider.GetBrightness(), c.brightness);
    }
}

TEST(SimpleSlider, StandardSizeChannelAndKeyedThumb)
{
    test::ScopedSkinFolder skin;
    ASSERT_TRUE(skin.AddBitmap(1040, 66, 9));
    QImage thumb(11, 13, QImage::Format_RGB32);
    thumb.fill(qRgb(220, 220, 220));
    thumb.setPixel(0, 0, qRgb(0, 0, 0)); // black is transparent
    ASSERT_TRUE(skin.AddBitmap(1042, thumb));
    QWidget owner;
    CRkSimpleSliderCtrl slider(&owner);
    slider.setGeometry(252, 2, 10, 10);
    slider.SetStandardSize();
    EXPECT_EQ(slider.geometry(), QRect(252, 2, 95, 30));
    slider.setRange(0, 100);
    slider.setPageStep(10);
    slider.SetImages(1040, 1042);
    slider.setValue(50);

    const QImage picture = Grab(slider);
    const QRect middle = slider.ThumbRect();
    EXPECT_EQ(middle.top(), 30 / 2 - 7);
    EXPECT_EQ(picture.pixel(middle.center()), qRgb(220, 220, 220));
    EXPECT_EQ(picture.pixel(middle.topLeft()), qRgb(30, 30, 30)); // black is keyed out
    EXPECT_EQ(picture.pixel(15, 10), ColourForId(1040)); // channel at (15, (30 - 9) / 2)
    EXPECT_EQ(picture.pixel(80, 18), ColourForId(1040));
    EXPECT_EQ(picture.pixel(80, 19), qRgb(30, 30, 30));

    // Dragging the thumb follows the pointer; a press beside it pages toward it.
    SendMouse(slider, QEvent::MouseButtonPress, middle.center());
    SendMouse(slider, QEvent::MouseMove, middle.center() + QPoint(200, 0));
    SendMouse(slider, QEvent::MouseButtonRelease, middle.center() + QPoint(200, 0));
    EXPECT_EQ(slider.value(), 100);
    EXPECT_GT(slider.ThumbRect().left(), middle.left());
    test::Click(slider, QPoint(2, 15));
    EXPECT_EQ(slider.value(), 90);
}

class RecordingSeekTarget : public SeekTarget {
public:
    void SetPosition(qint64 positionMs) override { m_positions.push_back(positionMs); }
    bool IsBusy() const override { return m_busy; }
    std::vector<qint64> m_positions;
    bool m_busy = false;
};

class PositionSliderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_slider.setGeometry(0, 0, 400, 30);
        m_slider.setRange(0, 60000);
        m_slider.SetSeekTarget(&m_target);
        m_slider.SetFocusAfterSeek(&m_list);
        m_owner.show();
        m_other.setFocus();
    }
    QWidget m_owner;
    CRkSliderCtrl m_slider { &m_owner };
    QLineEdit m_list { &m_owner };
    QLineEdit m_other { &m_owner };
    RecordingSeekTarget m_target;
};

TEST_F(PositionSliderTest, PressDragAndReleaseSeekToThePointerWithinTheRange)
{
    SendMouse(m_slider, QEvent::MouseButtonPress, QPoint(200, 15));
    EXPECT_TRUE(m_slider.IsDragging());
    EXPECT_EQ(m_slider.value(), 30000);
    SendMouse(m_slider, QEvent::MouseMove, QPoint(100, 15));
    SendMouse(m_slider, QEvent::MouseMove, QPoint(-40, 15));
    SendMouse(m_slider, QEvent::MouseMove, QPoint(900, 15));
    SendMouse(m_slider, QEvent::MouseButtonRelease, QPoint(399, 15));
    EXPECT_FALSE(m_slider.IsDragging());
    EXPECT_EQ(m_target.m_positions, (std::vector<qint64> { 30000, 15000, 0, 60000, 59850 }));
    EXPECT_EQ(m_slider.value(), 59850);
    EXPECT_EQ(m_owner.focusWidget(), &m_list);
    // Moves without the button held do not seek.
    SendMouse(m_slider, QEvent::MouseMove, QPoint(50, 15), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(m_target.m_positions.size(), 5u);
}

TEST_F(PositionSliderTest, IgnoresTheMouseWhileTheOwnerIsBusy)
{
    m_target.m_busy = true;
    m_slider.setValue(1234);
    SendMouse(m_slider, QEvent::MouseButtonPress, QPoint(200, 15));
    SendMouse(m_slider, QEvent::MouseMove, QPoint(300, 15));
    SendMouse(m_slider, QEvent::MouseButtonRelease, QPoint(300, 15));
    EXPECT_TRUE(m_target.m_positions.empty());
    EXPECT_FALSE(m_slider.IsDragging());
    EXPECT_EQ(m_slider.value(), 1234);
    EXPECT_EQ(m_owner.focusWidget(), &m_other);
}

TEST_F(PositionSliderTest, LongRecordingsDoNotOverflowTheArithmetic)
{
    m_slider.setGeometry(0, 0, 1900, 30);
    m_slider.setRange(0, 6 * 3600 * 1000); // six hours: duration × x exceeds 32 bits
    EXPECT_EQ(m_slider.PositionFromX(1425), 16200000);
    m_slider.setValue(6 * 3600 * 1000 / 2);
    EXPECT_EQ(m_slider.PlayedWidth(), (1900 - 30) / 2);
}

TEST(PositionSlider, ChannelShowsCapsTilesAndThePlayedPart)
{
    test::ScopedSkinFolder skin;
    QImage strip(547, 10, QImage::Format_RGB32); // left cap red, tile green, right cap blue
    strip.fill(qRgb(60, 60, 60));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            strip.setPixel(x, y, qRgb(200, 0, 0));
            strip.setPixel(10 + x, y, qRgb(0, 200, 0));
            strip.setPixel(537 + x, y, qRgb(0, 0, 200));
        }
    ASSERT_TRUE(skin.AddBitmap(1034, strip));
    ASSERT_TRUE(skin.AddBitmap(1055, 3, 7));
    ASSERT_TRUE(skin.AddBitmap(1036, 11, 22));
    CRkSliderCtrl slider;
    slider.setGeometry(0, 0, 400, 30);
    slider.SetImages(1034, 1036);
    slider.setRange(0, 0); // no range: no played part
    const QImage none = Grab(slider);
    EXPECT_EQ(none.pixel(22, 10), qRgb(200, 0, 0));
    EXPECT_EQ(none.pixel(5, 12), qRgb(10, 10, 10));
    EXPECT_EQ(none.pixel(200, 12), qRgb(0, 200, 0));
    EXPECT_EQ(none.pixel(380, 12), qRgb(0, 0, 200));
    EXPECT_EQ(none.pixel(385, 12), qRgb(10, 10, 10));

    slider.setRange(0, 60000);
    slider.setValue(30000);
    const QImage half = Grab(slider);
    const int playedEnd = 15 + 370 / 2;
    EXPECT_EQ(half.pixel(playedEnd - 10, 11), ColourForId(1055));
    EXPECT_EQ(half.pixel(playedEnd - 10, 10), qRgb(0, 200, 0)); // the band starts one row down
    EXPECT_EQ(half.pixel(playedEnd + 10, 11), qRgb(0, 200, 0));
    EXPECT_EQ(half.pixel(playedEnd, 15), ColourForId(1036)); // the thumb is centred on its end
    EXPECT_EQ(slider.ThumbRect(), QRect(playedEnd - 5, 4, 11, 22));
}

} // namespace
} // namespace zq
