#pragma once

#include <QPixmap>
#include <QRect>

namespace zq {

class MainLayout;

/// The main window's background: drawn once into a pixmap of the client size and rebuilt only when the
/// size, the layout or the screens' shown state changes.
class BackgroundPainter {
public:
    static constexpr int kTopTileImage = 1057;
    static constexpr int kIdleImage = 170;

    /// The picture for the layout; `screensShown` chooses the framed video area over the idle picture.
    const QPixmap& Background(
        const MainLayout& layout, const QSize& client, int layoutMode, bool screensShown);
    /// Forces the next call to draw again.
    void Invalidate() { m_valid = false; }
    int BuildCount() const { return m_builds; }

private:
    QPixmap m_pixmap;
    bool m_valid = false;
    QSize m_size;
    int m_mode = 0;
    bool m_screensShown = false;
    int m_builds = 0;
};

} // namespace zq
