#pragma once

#include "VideoSurface.h"

#include <QSize>

namespace zq {

/// A video surface without a window, for tests and the command-line tool: it keeps the newest frame and
/// counts what the engine asked of it.
class HeadlessVideoSurface : public VideoSurface {
public:
    explicit HeadlessVideoSurface(QSize clientSize = QSize(320, 180));

    void PresentFrame(const QImage& frame) override;
    void RepaintFrame() override;
    void SetVideoRect(const QRect& rect) override;
    QRect ClientRect() const override;
    void ClearFrame() override;
    /// The video rectangle's size while shown, nothing while hidden.
    QSize DisplaySize() const override;

    /// The client area changes as a window's would; the video rectangle follows at UpdateVideoWindows.
    void SetClientSize(QSize size) { m_clientSize = size; }
    /// A hidden surface, like a hidden screen, shows nothing and gets no frames.
    void SetShown(bool shown);
    bool shown() const { return m_shown; }
    const QImage& frame() const { return m_frame; }
    QRect videoRect() const { return m_videoRect; }
    int framesPresented() const { return m_framesPresented; }
    int repaints() const { return m_repaints; }
    int clears() const { return m_clears; }
    /// What a screen would show: the frame stretched over the video rectangle of a black client area
    /// (a plain copy when the frame already has the rectangle's size).
    QImage Paint() const;

private:
    QSize m_clientSize;
    QImage m_frame;
    QRect m_videoRect;
    int m_framesPresented = 0;
    int m_repaints = 0;
    int m_clears = 0;
    bool m_shown = true;
};

} // namespace zq
