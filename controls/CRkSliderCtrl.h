#pragma once

#include <QAbstractSlider>
#include <QPointer>
#include <QRect>

namespace zq {

class SeekTarget;

/// The position slider under the video: range 0..duration in milliseconds. A press, a drag and the release
/// seek the target directly to the pointer's position; the mouse is ignored while the target is busy.
class CRkSliderCtrl : public QAbstractSlider {
    Q_OBJECT

public:
    /// Inset of the channel on both ends; the owner aligns the slider with the graph's time axis by it.
    static constexpr int kEndMarginPx = 15;

    explicit CRkSliderCtrl(QWidget* parent = nullptr);

    /// The strip bitmap (caps and tile, at least 547 pixels wide) and the 11 × 22 thumb bitmap.
    void SetImages(int stripImage, int thumbImage);
    int StripImage() const { return m_stripImage; }
    int ThumbImage() const { return m_thumbImage; }

    void SetSeekTarget(SeekTarget* target) { m_seekTarget = target; }
    /// The widget that gets the keyboard focus after a seek with the mouse (the recording list).
    void SetFocusAfterSeek(QWidget* widget) { m_focusAfterSeek = widget; }

    bool IsDragging() const { return m_dragging; }
    /// The position a pointer at client x stands for: range maximum × x / client width, within the range.
    qint64 PositionFromX(int x) const;
    /// Width in pixels of the played part of the channel.
    int PlayedWidth() const;
    QRect ThumbRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Busy() const;
    void SeekToPointer(int x);
    int ChannelWidth() const;
    void RebuildChannel();

    int m_stripImage = 0;
    int m_thumbImage = 0;
    bool m_dragging = false;
    SeekTarget* m_seekTarget = nullptr;
    QPointer<QWidget> m_focusAfterSeek;
    // The channel strip and the played-part tiles do not change with the position: built on resize.
    QImage m_channel;
    QImage m_playedTiles;
};

} // namespace zq
