#pragma once

#include <QWidget>

namespace zq {

/// A black panel that groups buttons: every command that its buttons send to it is posted, unchanged,
/// to the panel's parent, so the main window handles buttons on panels like its own.
class CRkPanelCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CRkPanelCtrl(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace zq
