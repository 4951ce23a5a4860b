#pragma once

#include <QBasicTimer>
#include <QPointer>
#include <QWidget>

class QAbstractItemView;

namespace zq {

/// The bitmap scroll bar beside the recording list: it drives the list's vertical scroll position (one line
/// per row) and follows it. Arrows repeat after 250 ms every 50 ms; a press beside the thumb pages.
class CSkinVerticleScrollbar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kBarWidth = 18;
    static constexpr int kThumbHeight = 18;
    static constexpr int kTopOffset = 36;
    static constexpr int kInitialThumbTop = 37;

    explicit CSkinVerticleScrollbar(QWidget* parent = nullptr);

    void SetList(QAbstractItemView* list);
    QAbstractItemView* List() const { return m_list; }

    /// Recomputes the thumb from the list's scroll position and repaints.
    void UpdateThumb();
    void LineUp();
    void LineDown();
    void PageUp();
    void PageDown();

    int ThumbTop() const { return m_thumbTop; }
    double PixelsPerLine() const { return m_pixelsPerLine; }
    /// The list's scroll position and its largest value (0 when nothing scrolls).
    int ScrollPosition() const;
    int ScrollLimit() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void ClampThumb();
    void ScrollToLine(int line);

    QPointer<QAbstractItemView> m_list;
    bool m_upPressed = false;
    bool m_downPressed = false;
    bool m_thumbDragging = false;
    int m_thumbTop = kInitialThumbTop;
    double m_pixelsPerLine = 0.0;
    QBasicTimer m_repeatTimer; // timer 1: one line every 50 ms
    QBasicTimer m_firstRepeatTimer; // timer 2: the first repeat after 250 ms
};

} // namespace zq
