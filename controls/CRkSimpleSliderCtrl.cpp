#include "CRkSimpleSliderCtrl.h"

#include "SkinDraw.h"

#include <QMouseEvent>
#include <QPainter>

namespace zq {

namespace {

constexpr QRgb kBackgroundColor = qRgb(30, 30, 30);
constexpr int kStandardWidth = 95;
constexpr int kStandardHeight = 30;
constexpr int kChannelX = 15;
constexpr int kChannelWidth = 66;
constexpr int kChannelHeight = 9;
constexpr int kThumbWidth = 11;
constexpr int kThumbHeight = 13;
constexpr int kThumbLiftFromCentre = 7;
constexpr int kPageRepeatDelayMs = 500;
constexpr int kPageRepeatIntervalMs = 100;

// The rate is worked out in double and rounded once, so every position gives the float nearest to its
// exact rate: the neutral position is exactly 1.0. Brightness uses the single-precision 5.1 widened to
// double, which is what makes position 100 give 254 rather than 255.
constexpr double kRateBase = 0.1;
constexpr double kRateSlowStep = 0.018;
constexpr double kRateFastStep = 0.02;
constexpr double kRateNeutral = 1.0;
constexpr double kBrightnessStep = double(5.1f);
constexpr int kNeutralPosition = 50;

} // namespace

CRkSimpleSliderCtrl::CRkSimpleSliderCtrl(QWidget* parent)
    : QAbstractSlider(parent)
{
    setOrientation(Qt::Horizontal);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CRkSimpleSliderCtrl::SetImages(int channelImage, int thumbImage)
{
    m_channelImage = channelImage;
    m_thumbImage = thumbImage;
    update();
}

float CRkSimpleSliderCtrl::GetRate(int position)
{
    if (position <= kNeutralPosition)
        return float(kRateBase + position * kRateSlowStep);
    return float(kRateNeutral + (position - kNeutralPosition) * kRateFastStep);
}

int CRkSimpleSliderCtrl::GetBrightness(int position)
{
    // The conversion to int truncates toward zero.
    return int((position - kNeutralPosition) * kBrightnessStep);
}

void CRkSimpleSliderCtrl::SetStandardSize()
{
    resize(kStandardWidth, kStandardHeight);
}

QSize CRkSimpleSliderCtrl::sizeHint() const
{
    return { kStandardWidth, kStandardHeight };
}

QRect CRkSimpleSliderCtrl::ThumbRect() const
{
    // The thumb's centre travels along the channel.
    const int span = maximum() - minimum();
    const int offset = span > 0 ? int(qint64(value() - minimum()) * kChannelWidth / span) : 0;
    return { kChannelX + offset - kThumbWidth / 2, height() / 2 - kThumbLiftFromCentre, kThumbWidth,
        kThumbHeight };
}

int CRkSimpleSliderCtrl::ValueAtThumbLeft(int thumbLeft) const
{
    const int offset = qBound(0, thumbLeft + kThumbWidth / 2 - kChannelX, kChannelWidth);
    const int span = maximum() - minimum();
    // Rounded, so that every position can be reached with the pointer.
    return minimum() + int((qint64(offset) * span + kChannelWidth / 2) / kChannelWidth);
}

void CRkSimpleSliderCtrl::paintEvent(QPaintEvent*)
{
    QPainter target(this);
    CMemDC2 dc(&target, rect());
    dc.fillRect(rect(), QColor(kBackgroundColor));
    DrawBitmap(dc, m_channelImage, kChannelX, (height() - kChannelHeight) / 2, kChannelWidth, kChannelHeight);
    const QRect thumb = ThumbRect();
    DrawBitmap(dc, m_thumbImage, thumb.left(), thumb.top(), kThumbWidth, kThumbHeight, true, qRgb(0, 0, 0));
}

void CRkSimpleSliderCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || maximum() == minimum()) {
        event->ignore();
        return;
    }
    event->accept();
    const int x = event->position().toPoint().x();
    const QRect thumb = ThumbRect();
    if (thumb.contains(event->position().toPoint())) {
        m_dragOffset = x - thumb.left();
        setSliderDown(true);
        return;
    }
    // Like a track bar: a press beside the thumb pages toward the pointer, repeating while held.
    m_pageTargetX = x;
    const SliderAction action = x < thumb.left() ? SliderPageStepSub : SliderPageStepAdd;
    setRepeatAction(action, kPageRepeatDelayMs, kPageRepeatIntervalMs);
    triggerAction(action);
}

void CRkSimpleSliderCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (!isSliderDown()) {
        event->ignore();
        return;
    }
    event->accept();
    setSliderPosition(ValueAtThumbLeft(event->position().toPoint().x() - m_dragOffset));
}

void CRkSimpleSliderCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    m_pageTargetX = -1;
    setRepeatAction(SliderNoAction);
    if (isSliderDown())
        setSliderDown(false);
}

void CRkSimpleSliderCtrl::sliderChange(SliderChange change)
{
    QAbstractSlider::sliderChange(change);
    if (change == SliderValueChange)
        StopPagingAtPointer();
}

void CRkSimpleSliderCtrl::StopPagingAtPointer()
{
    if (m_pageTargetX < 0)
        return;
    const QRect thumb = ThumbRect();
    const bool reached = repeatAction() == SliderPageStepSub ? thumb.left() <= m_pageTargetX
                                                             : thumb.right() >= m_pageTargetX;
    if (reached)
        setRepeatAction(SliderNoAction);
}

} // namespace zq
