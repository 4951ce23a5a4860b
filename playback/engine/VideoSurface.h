#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QSize>
#include <functional>

namespace zq {

/// Where one channel's pictures go: the main window's screens implement it, tests and the tool use a
/// headless one. Every call arrives on the GUI thread; the engine hands over only the newest frame.
class VideoSurface {
public:
    virtual ~VideoSurface() = default;

    /// A new decoded frame of this surface's channel (QImage::Format_RGB32, top-down). The surface keeps
    /// it and paints it stretched over its video rectangle. While the surface shows something, the
    /// frame already has the size DisplaySize() gave when it was made.
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

    /// The size, in device pixels, of the rectangle the frame is painted over; empty while the surface
    /// shows nothing (hidden), so its channel's frames are not converted at all. The engine asks for it
    /// when the screens are laid out (UpdateVideoWindows) and whenever the surface reports a change.
    virtual QSize DisplaySize() const { return ClientRect().size(); }

    /// Lives exactly as long as the surface: calls queued to the surface are dropped once it is gone.
    QObject* Context() { return &m_context; }

    /// A surface calls this (on the GUI thread) when DisplaySize() may have changed: resized, shown,
    /// hidden, a new video rectangle. The engine then renegotiates the size of the frames it delivers.
    void NotifyDisplaySizeChanged()
    {
        if (m_displayListener)
            m_displayListener();
    }
    /// The engine's side of NotifyDisplaySizeChanged: one listener at a time, set and cleared by its
    /// owner on the GUI thread (clearing is ignored when another owner has taken over).
    void SetDisplaySizeListener(const void* owner, std::function<void()> listener)
    {
        m_listenerOwner = owner;
        m_displayListener = std::move(listener);
    }
    void ClearDisplaySizeListener(const void* owner)
    {
        if (m_listenerOwner != owner)
            return;
        m_listenerOwner = nullptr;
        m_displayListener = nullptr;
    }

private:
    QObject m_context;
    const void* m_listenerOwner = nullptr;
    std::function<void()> m_displayListener;
};

} // namespace zq
