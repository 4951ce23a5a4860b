#pragma once

#include <QDialog>

namespace zq {

/// The full-screen window: a borderless tool window of 1034 × 742, centred on the primary screen, dark.
/// It is created hidden.
class CFullDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kInitialWidth = 1034;
    static constexpr int kInitialHeight = 742;

    explicit CFullDlg(QWidget* parent = nullptr);

    /// Where the window is centred on a screen of that size.
    static QPoint CentredPosition(const QSize& screenSize, const QSize& windowSize);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_width = kInitialWidth;
    int m_height = kInitialHeight;
};

} // namespace zq
