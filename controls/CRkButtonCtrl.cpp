#include "CRkButtonCtrl.h"

#include "CommandIds.h"
#include "SkinDraw.h"
#include "WindowMessageEvent.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>

namespace zq {

namespace {

constexpr QRgb kBackgroundColor = qRgb(10, 10, 10);
constexpr QRgb kTopBarOtherLayoutColor = qRgb(30, 30, 30);
constexpr QRgb kTopBarEdgeColor = qRgb(80, 80, 80);
constexpr int kTopBarEdgeRows = 7;
constexpr int kTopStripBitmap = 1057;
constexpr int kTopStripSourceY = 9;
constexpr int kTopStripPieceWidth = 32;
constexpr int kTopStripPieceHeight = 8;

enum class Background { Plain, TopBarNormalLayout, TopBarOtherLayout };

} // namespace

CRkButtonCtrl::CRkButtonCtrl(int id, QWidget* parent)
    : QAbstractButton(parent)
    , m_id(id)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The viewer's buttons never take the keyboard focus: keys belong to the main window.
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (QWidget* owner = parentWidget()) {
            WindowMessageEvent command(kMsgCommand, m_id);
            QCoreApplication::sendEvent(owner, &command);
        }
    });
}

void CRkButtonCtrl::SetImages(int normal, int pressed, int hover, int disabled, int selected)
{
    m_normalImage = normal;
    m_pressedImage = pressed;
    m_hoverImage = hover;
    m_disabledImage = disabled;
    m_selectedImage = selected;
    m_pictures.clear();
}

void CRkButtonCtrl::SetTopBarLook(bool topBarLook)
{
    m_topBarLook = topBarLook;
    m_pictures.clear();
}

void CRkButtonCtrl::SetTopBarLayout(bool normalLayout)
{
    if (m_normalLayout == normalLayout)
        return;
    m_normalLayout = normalLayout;
    update();
}

void CRkButtonCtrl::Redraw()
{
    // The owner calls this after changing images or skin: start from freshly loaded pictures.
    m_pictures.clear();
    Show(StateImage());
}

QSize CRkButtonCtrl::sizeHint() const
{
    return size();
}

int CRkButtonCtrl::StateImage() const
{
    if (!m_buttonEnabled)
        return m_disabledImage;
    if (m_selected)
        return m_selectedImage;
    return m_normalImage;
}

void CRkButtonCtrl::Show(int imageId)
{
    m_shownImage = imageId;
    update();
}

QImage CRkButtonCtrl::Compose(int imageId) const
{
    Background background = Background::Plain;
    if (m_topBarLook)
        background = m_normalLayout ? Background::TopBarNormalLayout : Background::TopBarOtherLayout;
    const qint64 key = (qint64(background) << 32) | quint32(imageId);
    const auto cached = m_pictures.constFind(key);
    if (cached != m_pictures.cend())
        return *cached;

    CMemoryDC dc;
    if (!dc.Create(this, width(), height()))
        return {};
    switch (background) {
    case Background::Plain:
        dc.fillRect(rect(), QColor(kBackgroundColor));
        break;
    case Background::TopBarNormalLayout:
        dc.fillRect(0, 0, width(), kTopBarEdgeRows, QColor(kTopBarEdgeColor));
        dc.fillRect(0, kTopBarEdgeRows, width(), height() - kTopBarEdgeRows, QColor(kBackgroundColor));
        DrawBitmapPart(
            dc, kTopStripBitmap, 0, 0, kTopStripPieceWidth, kTopStripPieceHeight, 0, kTopStripSourceY);
        break;
    case Background::TopBarOtherLayout:
        dc.fillRect(rect(), QColor(kTopBarOtherLayoutColor));
        break;
    }
    switch (GetSkinResourceKind(imageId)) {
    case 1:
        DrawBitmap(dc, imageId, 0, 0, width(), height());
        break;
    case 2:
        // A PNG that does not decode leaves the background alone.
        DrawPngResource(dc, imageId);
        break;
    default:
        break;
    }
    dc.end();
    QImage picture = dc.Image();
    m_pictures.insert(key, picture);
    return picture;
}

bool CRkButtonCtrl::event(QEvent* event)
{
    // Leaving shows the normal image but keeps the hovering flag: the owner clears it.
    if (event->type() == QEvent::Leave && m_normalImage != 0)
        Show(m_normalImage);
    return QAbstractButton::event(event);
}

void CRkButtonCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage picture = Compose(ShownImage());
    if (!picture.isNull())
        painter.drawImage(0, 0, picture);
}

void CRkButtonCtrl::resizeEvent(QResizeEvent* event)
{
    m_pictures.clear();
    QAbstractButton::resizeEvent(event);
}

void CRkButtonCtrl::mousePressEvent(QMouseEvent* event)
{
    if (!m_buttonEnabled) {
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && m_pressedImage != 0)
        Show(m_pressedImage);
    QAbstractButton::mousePressEvent(event);
}

void CRkButtonCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_buttonEnabled) {
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        if (m_selected && m_selectedImage != 0)
            Show(m_selectedImage);
        else if (m_normalImage != 0)
            Show(m_normalImage);
    }
    QAbstractButton::mouseReleaseEvent(event);
}

void CRkButtonCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_buttonEnabled) {
        event->accept();
        return;
    }
    if (!m_hovering && m_hoverImage != 0) {
        Show(m_hoverImage);
        m_hovering = true;
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CRkButtonCtrl::keyPressEvent(QKeyEvent* event)
{
    // A button without focus gets no keys; should one arrive, it must not click a disabled button.
    if (!m_buttonEnabled)
        return;
    QAbstractButton::keyPressEvent(event);
}

void CRkButtonCtrl::keyReleaseEvent(QKeyEvent* event)
{
    if (!m_buttonEnabled)
        return;
    QAbstractButton::keyReleaseEvent(event);
}

} // namespace zq
