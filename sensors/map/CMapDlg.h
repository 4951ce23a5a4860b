#pragma once

#include "MapDlgGeometry.h"

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace zq {

class CRkButtonCtrl;
class CRkMapPanelCtrl;
class CRkTextCtrl;

/// The floating map window: frameless, moved by dragging anywhere inside and resized by its 10-pixel
/// borders, never below 300 by 300. Its panel hosts the map browser while the map floats; the close
/// button asks for the map to be docked again. Escape does not close it.
class CMapDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCloseButtonId = 1031;
    static constexpr int kPanelId = 1201;
    static constexpr int kCaptionId = 1202;
    static constexpr int kPositionId = 1203;
    static constexpr QRgb kBackground = 0xFF1E1E1E; // RGB (30, 30, 30)
    static constexpr int kCloseNormalImage = 157;
    static constexpr int kClosePressedImage = 158;
    static constexpr int kCloseHoverImage = 159;

    explicit CMapDlg(QWidget* owner = nullptr);

    CRkMapPanelCtrl* Panel() const { return m_panel; }
    CRkTextCtrl* Caption() const { return m_caption; }
    CRkTextCtrl* PositionText() const { return m_position; }
    CRkButtonCtrl* CloseButton() const { return m_close; }
    /// The latitude and longitude the position line shows.
    void SetCoordinates(float latitudeDegrees, float longitudeDegrees);
    /// Places the parts for the current size.
    void LayOut();
    /// True once the parts exist and are laid out.
    bool IsReady() const { return m_ready; }

signals:
    /// The close button was pressed (or the window was closed otherwise): dock the map.
    void dockRequested();
    /// The window changed size: push the position again.
    void resized();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UpdateCursor(const QPoint& pos);

    CRkButtonCtrl* m_close = nullptr;
    CRkMapPanelCtrl* m_panel = nullptr;
    CRkTextCtrl* m_caption = nullptr;
    CRkTextCtrl* m_position = nullptr;
    bool m_ready = false;
    // A move or resize by the mouse when the window system does not do it for us.
    bool m_tracking = false;
    QPoint m_trackStart;
    QRect m_trackGeometry;
    Qt::Edges m_trackEdges;
};

} // namespace zq
