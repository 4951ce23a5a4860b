#pragma once

#include <QImage>
#include <QRect>

namespace zq {

/// Where one channel's pictures go: the main window's screens implement it, tests and the tool use a
/// headless one. Every call arrives on the GUI thread; the engine hands over only the newest frame.
class VideoSurface {
public:
    virtual ~VideoSurface() = default;

    /// A new decoded frame of this surface's channel (QImage::Format_RGB32, top-down). The surface keeps
    /// it and paints it stretched over its video rectangle.
    virtual void PresentFrame(const QImage& frame) = 0;
    /// Paint the last frame again (after an expose or a layout change).
    virtual void RepaintFrame() = 0;
    /// The rectangle, in the surface's own coordinates, that the frame is stretched over.
    virtual void SetVideoRect(const QRect& rect) = 0;
    /// The surface's whole client area in its own coordinates (the engine hands it back as the video
    /// rectangle when the screens are laid out).
    virtual QRect ClientRect() const = 0;
    /// Forget the last frame (the recording was closed).
    virtual void ClearFrame() = 0;
};

}  // namespace zq
