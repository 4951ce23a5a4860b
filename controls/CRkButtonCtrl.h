#pragma once

#include <QAbstractButton>
#include <QHash>
#include <QImage>

namespace zq {

/// A push button drawn entirely from skin images: normal, pressed, hover, disabled and selected.
/// It keeps an enabled flag of its own: while it is false the window stays enabled but swallows the mouse,
/// so no click is produced. A click sends kMsgCommand with the button's identifier to the parent.
class CRkButtonCtrl : public QAbstractButton {
    Q_OBJECT

public:
    explicit CRkButtonCtrl(int id, QWidget* parent = nullptr);

    int Id() const { return m_id; }

    /// The images of the five states; 0 is no image for that state.
    void SetImages(int normal, int pressed, int hover, int disabled, int selected = 0);
    int NormalImage() const { return m_normalImage; }
    int PressedImage() const { return m_pressedImage; }
    int HoverImage() const { return m_hoverImage; }
    int DisabledImage() const { return m_disabledImage; }
    int SelectedImage() const { return m_selectedImage; }

    void SetSelected(bool selected) { m_selected = selected; }
    bool IsSelected() const { return m_selected; }
    /// The button's own enabled state; the owner redraws afterwards.
    void SetButtonEnabled(bool enabled) { m_buttonEnabled = enabled; }
    bool IsButtonEnabled() const { return m_buttonEnabled; }
    void SetTopBarLook(bool topBarLook);
    bool HasTopBarLook() const { return m_topBarLook; }
    /// Told by the owner when its layout changes: a top-bar button draws the top strip behind its image
    /// only in the normal layout (the default).
    void SetTopBarLayout(bool normalLayout);
    bool InNormalLayout() const { return m_normalLayout; }
    /// Set by the first mouse move that shows the hover image; only the owner clears it.
    void SetHovering(bool hovering) { m_hovering = hovering; }
    bool IsHovering() const { return m_hovering; }

    /// Shows the image of the current state: disabled when not enabled, else selected when selected, else
    /// normal.
    void Redraw();
    /// The image the button shows now (0: background only).
    int ShownImage() const { return m_buttonEnabled ? m_shownImage : m_disabledImage; }

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    int StateImage() const;
    void Show(int imageId);
    QImage Compose(int imageId) const;

    int m_id;
    int m_normalImage = 0;
    int m_pressedImage = 0;
    int m_hoverImage = 0;
    int m_disabledImage = 0;
    int m_selectedImage = 0;
    bool m_selected = false;
    bool m_buttonEnabled = true;
    bool m_topBarLook = false;
    bool m_normalLayout = true;
    bool m_hovering = false;
    int m_shownImage = 0;
    // Composed pictures (background and image) by image identifier and background; rebuilt after a
    // resize or a change of images.
    mutable QHash<qint64, QImage> m_pictures;
};

} // namespace zq
