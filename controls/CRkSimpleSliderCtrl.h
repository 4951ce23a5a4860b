#pragma once

#include <QAbstractSlider>
#include <QRect>

namespace zq {

/// The speed and brightness sliders of the playback bar: a 66 × 9 channel bitmap and an 11 × 13 thumb
/// bitmap whose black pixels are transparent. Positions 0..100, 50 neutral (the owner sets the range).
class CRkSimpleSliderCtrl : public QAbstractSlider {
    Q_OBJECT

public:
    explicit CRkSimpleSliderCtrl(QWidget* parent = nullptr);

    void SetImages(int channelImage, int thumbImage);
    int ChannelImage() const { return m_channelImage; }
    int ThumbImage() const { return m_thumbImage; }

    /// Playback rate of the current position: 0.1 at 0, 1.0 at 50, 2.0 at 100.
    float GetRate() const { return GetRate(value()); }
    /// Brightness of the current position: -254 at 0, 0 at 50, 254 at 100.
    int GetBrightness() const { return GetBrightness(value()); }
    static float GetRate(int position);
    static int GetBrightness(int position);

    /// Resizes to 95 × 30 pixels, keeping the position.
    void SetStandardSize();

    /// Where the thumb is drawn and can be grabbed, in client coordinates.
    QRect ThumbRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void sliderChange(SliderChange change) override;

private:
    int ValueAtThumbLeft(int thumbLeft) const;
    void StopPagingAtPointer();

    int m_channelImage = 0;
    int m_thumbImage = 0;
    int m_dragOffset = 0;
    int m_pageTargetX = -1;
};

} // namespace zq
