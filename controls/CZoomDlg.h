#pragma once

#include <QBasicTimer>
#include <QDialog>
#include <QImage>

namespace zq {

/// The magnifier: a small top-most tool window that shows the screen around the pointer enlarged three
/// times, 25 times a second. Its own area is greyed in the capture so that it never magnifies itself.
/// Closing it only hides it.
class CZoomDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kZoomFactor = 3;
    static constexpr int kTickIntervalMs = 40;

    explicit CZoomDlg(QWidget* parent = nullptr);

    /// Sets the title (language text 208) and shows the window where it was last.
    void ShowZoom();
    void HideZoom();
    bool IsShown() const { return m_shown; }
    int ZoomFactor() const { return m_zoomFactor; }

    /// The part of the virtual screen to magnify: the client size divided by the factor, centred on the
    /// cursor and kept inside the virtual screen (coordinates of the virtual desktop).
    static QRect SourceRect(
        const QPoint& cursor, const QSize& clientSize, const QRect& virtualScreen, int zoomFactor);
    /// One magnified picture of the client size from a capture of the virtual screen: the window's own
    /// client area (global coordinates) greyed, the source rectangle stretched over the whole picture.
    static QImage Magnify(const QImage& capture, const QRect& virtualScreen, const QRect& ownClientArea,
        const QPoint& cursor, const QSize& clientSize, int zoomFactor);

    /// The last magnified picture.
    const QImage& Picture() const { return m_picture; }
    /// Captures the screen and magnifies once (what every tick does while shown).
    void Tick();

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    bool m_shown = false;
    int m_zoomFactor = kZoomFactor;
    QImage m_picture;
    QBasicTimer m_timer; // timer 100
};

} // namespace zq
