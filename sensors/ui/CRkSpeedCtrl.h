#pragma once

#include "CRkWindow.h"

#include <QImage>
#include <QWidget>

namespace zq {

/// The speed at the playback position as bitmap digits with one decimal, over a background bitmap that
/// names the unit. The owner pushes the speed (already in the chosen unit) and the unit.
class CRkSpeedCtrl : public CRkWindow {
    Q_OBJECT
public:
    explicit CRkSpeedCtrl(QWidget* parent = nullptr);

    /// Makes the control a visible child of `parent` at the rectangle; false without a parent.
    bool Create(QWidget* parent, int id, int x, int y, int width, int height);

    /// Stores the speed; with `repaintNow` the control is redrawn at once, not at the next paint.
    void SetSpeed(double speed, bool repaintNow);
    double Speed() const { return m_speed; }
    /// Chooses the mph background instead of the km/h one.
    void SetSpeedInMiles(bool miles);
    bool SpeedInMiles() const { return m_speedInMiles; }
    int BackgroundId() const;

    /// The control's picture at its current size.
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_speed = 0.0;
    bool m_speedInMiles = false;
};

} // namespace zq
