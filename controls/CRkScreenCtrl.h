#pragma once

#include "CRkWindow.h"
#include "VideoSurface.h"

#include <QImage>
#include <QRect>
#include <QWidget>

namespace zq {

/// One channel's video screen: shows the newest frame stretched over its video rectangle, and on a right
/// press the context menu of its language, whose commands go to its parent (the main window).
class CRkScreenCtrl : public CRkWindow, public VideoSurface {
    Q_OBJECT

public:
    CRkScreenCtrl() = default;
    explicit CRkScreenCtrl(QWidget* parent);

    /// Puts the screen on the parent at that rectangle, hidden.
    bool Create(QWidget* parent, int id, int x, int y, int width, int height);

    /// The option-file language index; chooses the context menu (none outside 0..11).
    void SetLanguage(int language) { m_language = language; }
    int Language() const { return m_language; }

    void PresentFrame(const QImage& frame) override;
    void RepaintFrame() override;
    /// An empty rectangle means the whole screen.
    void SetVideoRect(const QRect& rect) override;
    QRect ClientRect() const override { return rect(); }
    void ClearFrame() override;
    /// The video rectangle in device pixels while the screen is visible, nothing while it is hidden.
    QSize DisplaySize() const override;

    const QImage& Frame() const { return m_frame; }
    QRect VideoRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QImage m_frame;
    QRect m_videoRect;
    int m_language = 0;
};

} // namespace zq
