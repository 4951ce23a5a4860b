#pragma once

#include <QHeaderView>

namespace zq {

/// The recording list's column header: flat dark items with white text, columns 0 and 3 left-aligned and
/// the others centred.
class CSkinHeaderCtrl : public QHeaderView {
    Q_OBJECT

public:
    explicit CSkinHeaderCtrl(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

} // namespace zq
