#pragma once

#include "CRkWindow.h"

#include <QPointer>

namespace zq {

/// A container that the map browser fills: dark when empty, and the hosted window follows its size.
/// Message 2025 (wParam: the new hosted window, 0 for none) tells it which child it hosts.
class CRkMapPanelCtrl : public CRkWindow {
    Q_OBJECT
public:
    static constexpr QRgb kBackground = 0xFF141414; // RGB (20, 20, 20)

    explicit CRkMapPanelCtrl(QWidget* parent = nullptr);

    /// Makes the panel a visible child of `parent` at the rectangle; false without a parent.
    bool Create(QWidget* parent, int id, int x, int y, int width, int height);

    QWidget* Hosted() const { return m_hosted; }
    void SetHosted(QWidget* hosted) { m_hosted = hosted; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<QWidget> m_hosted;
};

/// Moves the browser into the panel: its old panel is told (message 2025, sent) that it hosts nothing
/// any more, then the panel becomes the browser's parent and the browser fills it. A browser that was
/// not hidden on purpose stays visible.
void HostIn(CRkMapPanelCtrl* panel, QWidget* browser);

} // namespace zq
