#include "CMapDlg.h"

#include "CRkButtonCtrl.h"
#include "CRkMapPanelCtrl.h"
#include "CRkTextCtrl.h"
#include "CommandIds.h"
#include "WindowMessageEvent.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace zq {

CMapDlg::CMapDlg(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("MapDlg"));
    setWindowTitle(QString());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(kMapDlgMinWidth, kMapDlgMinHeight);
    resize(kMapDlgMinWidth, kMapDlgMinHeight);

    m_panel = new CRkMapPanelCtrl(this);
    m_panel->Create(this, kPanelId, 0, 0, 10, 10);
    m_caption = new CRkTextCtrl(this);
    m_caption->Create(this, kCaptionId, 0, 0, 10, 10);
    m_caption->SetKind(CRkTextCtrl::kKindMapDialogCaption);
    m_caption->SetBackground(QColor::fromRgb(kBackground));
    m_position = new CRkTextCtrl(this);
    m_position->Create(this, kPositionId, 0, 0, 10, 10);
    m_position->SetKind(CRkTextCtrl::kKindMapDialogPosition);
    m_position->SetBackground(QColor::fromRgb(kBackground));
    m_close = new CRkButtonCtrl(kCloseButtonId, this);
    m_close->SetImages(kCloseNormalImage, kClosePressedImage, kCloseHoverImage, 0);
    m_close->Redraw();
    LayOut();
    m_ready = true;
}

void CMapDlg::SetCoordinates(float latitudeDegrees, float longitudeDegrees)
{
    m_position->SetCoordinates(latitudeDegrees, longitudeDegrees);
    m_position->update();
}

void CMapDlg::LayOut()
{
    const MapDlgLayout layout = LayOutMapDlg(width(), height());
    m_close->setGeometry(layout.closeButton);
    m_caption->setGeometry(layout.caption);
    m_position->setGeometry(layout.position);
    m_panel->setGeometry(layout.panel);
}

bool CMapDlg::event(QEvent* event)
{
    switch (WindowMessageEvent::MessageOf(event)) {
    case kMsgLayoutMapWindow:
        LayOut();
        return true;
    case kMsgCommand:
        if (static_cast<const WindowMessageEvent*>(event)->CommandId() == kCloseButtonId)
            emit dockRequested();
        return true;
    default:
        return QWidget::event(event);
    }
}

void CMapDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(kBackground));
}

void CMapDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_ready)
        return;
    LayOut();
    emit resized();
}

void CMapDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CMapDlg::closeEvent(QCloseEvent* event)
{
    // Closing by the window system must not lose the map: it goes back into the main window.
    event->ignore();
    emit dockRequested();
}

void CMapDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const Qt::Edges edges
        = MapDlgHitTest(event->position().toPoint().x(), event->position().toPoint().y(), width(), height());
    // The window system moves and resizes best; without its help, the window follows the pointer itself.
    if (QWindow* window = windowHandle()) {
        if (edges ? window->startSystemResize(edges) : window->startSystemMove()) {
            event->accept();
            return;
        }
    }
    m_tracking = true;
    m_trackStart = event->globalPosition().toPoint();
    m_trackGeometry = geometry();
    m_trackEdges = edges;
    grabMouse();
    event->accept();
}

void CMapDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_tracking) {
        UpdateCursor(event->position().toPoint());
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint delta = event->globalPosition().toPoint() - m_trackStart;
    if (m_trackEdges)
        setGeometry(ResizeMapDlg(m_trackGeometry, m_trackEdges, delta.x(), delta.y()));
    else
        move(m_trackGeometry.topLeft() + delta);
    event->accept();
}

void CMapDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_tracking && event->button() == Qt::LeftButton) {
        m_tracking = false;
        releaseMouse();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void CMapDlg::UpdateCursor(const QPoint& pos)
{
    const Qt::Edges edges = MapDlgHitTest(pos.x(), pos.y(), width(), height());
    if (edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if (edges == (Qt::TopEdge | Qt::RightEdge) || edges == (Qt::BottomEdge | Qt::LeftEdge))
        setCursor(Qt::SizeBDiagCursor);
    else if (edges & (Qt::LeftEdge | Qt::RightEdge))
        setCursor(Qt::SizeHorCursor);
    else if (edges & (Qt::TopEdge | Qt::BottomEdge))
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
}

} // namespace zq
