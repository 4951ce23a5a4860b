#pragma once

#include "CRkWindow.h"
#include "GsensorGeometry.h"

#include <QImage>
#include <QVector>
#include <QWidget>
#include <functional>

namespace zq {

class CGSensorData;
class SeekTarget;

/// The three G-sensor axes of the whole current recording as three curves on a fixed grid. The owner
/// hands over the recording's samples (and an empty list when it closes); the picture is built once per
/// size and data and only copied on later paints. A right press shows the language's context menu.
class CRkGsensorCtrl : public CRkWindow {
    Q_OBJECT
public:
    explicit CRkGsensorCtrl(QWidget* parent = nullptr);

    /// Makes the control a visible child of `parent` at the rectangle; false without a parent.
    bool Create(QWidget* parent, int id, int x, int y, int width, int height);

    /// The samples of the current recording; an empty list gives the bare grid.
    void SetSamples(const QVector<CGSensorData>& samples);
    int SampleCount() const { return int(m_x.size()); }
    /// The interface language index; it chooses the context menu.
    void SetLanguage(int language) { m_language = language; }
    int Language() const { return m_language; }

    /// The plot geometry of the last picture (the current size once Render or a paint has run).
    const GsensorGeometry& Geometry() const { return m_geometry; }
    /// The control's picture at its current size.
    QImage Render();

    /// A left press or drag on the plot seeks `target` to the time under the pointer; the plot's width
    /// stands for `rangeMs()` (the position slider's range). No seeking without a target or a range.
    void SetSeekTarget(SeekTarget* target, std::function<qint64()> rangeMs);
    /// The position a point of the control stands for, clamped to 0..rangeMs; -1 without a range.
    qint64 PositionAt(int x) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void RebuildGrid();
    void RebuildPicture();

    void SeekTo(int x);

    int m_language = 0;
    SeekTarget* m_seekTarget = nullptr;
    std::function<qint64()> m_rangeMs;
    GsensorGeometry m_geometry;
    QVector<int> m_x;
    QVector<int> m_y;
    QVector<int> m_z;
    QImage m_grid; // background, grid and labels for the current size
    QImage m_picture; // the grid with the curves
    bool m_pictureValid = false;
};

} // namespace zq
