#pragma once

#include <QWidget>

namespace zq {

/// A skinned child window: created into its parent at a place, known by its control identifier, and
/// painted opaquely by the control itself.
class CRkWindow : public QWidget {
    Q_OBJECT
public:
    int Id() const { return m_id; }
    bool IsCreated() const { return m_created; }

protected:
    explicit CRkWindow(QWidget* parent = nullptr);

    /// Places the control in `parent` at (x, y, width, height) under its window-class name; false without a
    /// parent. `visible` says whether it shows at once.
    bool CreateWindow(QWidget* parent, const QString& className, int id, int x, int y, int width, int height,
        bool visible = true);

private:
    int m_id = 0;
    bool m_created = false;
};

} // namespace zq
