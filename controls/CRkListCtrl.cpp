#include "CRkListCtrl.h"

#include "CSkinHeaderCtrl.h"
#include "CSkinVerticleScrollbar.h"
#include "TextLookup.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QUrl>
#include <QWheelEvent>

namespace zq {

namespace {

constexpr QRgb kEvenRowBackground = qRgb(70, 70, 70);
constexpr QRgb kOddRowBackground = qRgb(50, 50, 50);
constexpr QRgb kCurrentRowBackground = qRgb(0, 128, 128);
constexpr QRgb kSelectedRowBackground = qRgb(128, 128, 0);
constexpr QRgb kNormalText = qRgb(180, 180, 180);
constexpr QRgb kCurrentRowText = qRgb(200, 200, 200);
constexpr QRgb kSelectedRowText = qRgb(20, 20, 20);
constexpr QRgb kListBackground = qRgb(10, 10, 10);
constexpr int kFontPixelSize = 13;
constexpr int kRowHeightPx = 17;
// Left-aligned texts keep a margin; centred ones use the whole cell: a date fills its 72 pixels.
constexpr int kTextPaddingPx = 4;

// Column titles (string identifiers) and widths; columns 4 and 5 carry path and file name unseen.
constexpr int kTitleIds[] = { 135, 136, 137, 138 };
constexpr int kColumnWidths[] = { 35, 72, 56, 150 };
constexpr Qt::Alignment kColumnAlignment[]
    = { Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignLeft };

// Rows are drawn by the list itself; the delegate only fixes their height.
class RowHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return { QStyledItemDelegate::sizeHint(option, index).width(), kRowHeightPx };
    }
};

} // namespace

CRkListCtrl::CRkListCtrl(QWidget* parent)
    : QTreeWidget(parent)
    , m_header(new CSkinHeaderCtrl(this))
    , m_evenBackground(kEvenRowBackground)
    , m_oddBackground(kOddRowBackground)
    , m_currentBackground(kCurrentRowBackground)
    , m_selectedBackground(kSelectedRowBackground)
    , m_normalText(kNormalText)
    , m_currentText(kCurrentRowText)
    , m_selectedText(kSelectedRowText)
{
    setHeader(m_header);
    setColumnCount(kColumnCount);
    setRootIsDecorated(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One scroll step is one row, so the scroll bar's lines are rows.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setItemDelegate(new RowHeightDelegate(this));
    connect(this, &QTreeWidget::itemDoubleClicked, this,
        [this](QTreeWidgetItem* item) { emit RowDoubleClicked(indexOfTopLevelItem(item)); });
}

CRkListCtrl::~CRkListCtrl()
{
    // The scroll bar is a sibling, but it lives as long as the list.
    delete m_scrollBar;
}

void CRkListCtrl::InitList()
{
    QFont font(QStringLiteral("돋움"));
    font.setPixelSize(kFontPixelSize);
    font.setWeight(QFont::Normal);
    setFont(font);
    m_header->setFont(font);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor(kListBackground));
    colours.setColor(QPalette::Window, QColor(kListBackground));
    colours.setColor(QPalette::Text, m_normalText);
    setPalette(colours);
    viewport()->setAutoFillBackground(true);

    LoadColumnTitles();
    for (int column = 0; column < int(std::size(kColumnWidths)); ++column)
        setColumnWidth(column, kColumnWidths[column]);
    setColumnHidden(kPathColumn, true);
    setColumnHidden(kFileNameColumn, true);
    m_header->setStretchLastSection(false);
    m_header->setSectionResizeMode(QHeaderView::Fixed);

    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);

    if (!m_scrollBar) {
        m_scrollBar = new CSkinVerticleScrollbar(parentWidget());
        m_scrollBar->SetList(this);
        m_scrollBar->setVisible(parentWidget() && isVisible());
    }
    PositionScrollBar();
    setUpdatesEnabled(true);
}

void CRkListCtrl::LoadColumnTitles()
{
    QStringList titles;
    for (int id : kTitleIds)
        titles << Text(id);
    titles << QString() << QString();
    setHeaderLabels(titles);
}

int CRkListCtrl::InsertItem(int row, const QString& text)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, text);
    const int at = qBound(0, row, GetItemCount());
    insertTopLevelItem(at, item);
    return at;
}

bool CRkListCtrl::SetItemText(int row, int column, const QString& text)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item || column < 0 || column >= kColumnCount)
        return false;
    item->setText(column, text);
    return true;
}

QString CRkListCtrl::GetItemText(int row, int column) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

void CRkListCtrl::DeleteAllItems()
{
    // The current row is the owner's to change: it may reopen the same row number after a refill.
    clear();
    // Lay out now, so the scroll range (and with it the thumb) is right at once, not after the next event.
    doItemsLayout();
    if (m_scrollBar)
        m_scrollBar->UpdateThumb();
}

void CRkListCtrl::SetRedraw(bool redraw)
{
    setUpdatesEnabled(redraw);
    if (!redraw)
        return;
    doItemsLayout();
    if (m_scrollBar)
        m_scrollBar->UpdateThumb();
}

void CRkListCtrl::SelectRow(int row)
{
    if (!ValidRow(row)) {
        clearSelection();
        return;
    }
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int CRkListCtrl::SelectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CRkListCtrl::EnsureVisible(int row)
{
    if (QTreeWidgetItem* item = topLevelItem(row))
        scrollToItem(item);
}

void CRkListCtrl::SetCurrentRow(int row)
{
    if (row == m_currentRow)
        return;
    const int old = m_currentRow;
    m_currentRow = -1;
    if (ValidRow(old))
        RedrawRow(old);
    if (ValidRow(row)) {
        m_currentRow = row;
        RedrawRow(row);
    }
}

QString CRkListCtrl::GetCurrentRowName() const
{
    if (!ValidRow(m_currentRow))
        return {};
    return GetItemText(m_currentRow, kFileNameColumn);
}

void CRkListCtrl::RedrawRow(int row)
{
    const QRect area = visualRect(model()->index(row, 0));
    viewport()->update(QRect(0, area.top(), viewport()->width(), area.height()));
}

QColor CRkListCtrl::RowBackground(int row) const
{
    if (row == m_currentRow && ValidRow(row))
        return m_currentBackground;
    if (selectionModel()->isRowSelected(row, QModelIndex()))
        return m_selectedBackground;
    return row % 2 == 0 ? m_evenBackground : m_oddBackground;
}

QColor CRkListCtrl::RowText(int row) const
{
    if (row == m_currentRow && ValidRow(row))
        return m_currentText;
    if (selectionModel()->isRowSelected(row, QModelIndex()))
        return m_selectedText;
    return m_normalText;
}

void CRkListCtrl::drawRow(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int row = index.row();
    const QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return;
    painter->save();
    painter->setFont(font());
    const QFontMetrics metrics(font());
    for (int column = 0; column < kColumnCount; ++column) {
        if (isColumnHidden(column))
            continue;
        const QRect cell(m_header->sectionViewportPosition(column), option.rect.top(),
            m_header->sectionSize(column), option.rect.height());
        painter->fillRect(cell, RowBackground(row));
        const Qt::Alignment horizontal
            = column < int(std::size(kColumnAlignment)) ? kColumnAlignment[column] : Qt::AlignLeft;
        const int padding = horizontal == Qt::AlignLeft ? kTextPaddingPx : 0;
        const QRect textArea = cell.adjusted(padding, 0, -padding, 0);
        if (textArea.width() <= 0)
            continue;
        const Qt::Alignment alignment = horizontal | Qt::AlignVCenter;
        painter->setPen(RowText(row));
        // Dates and times have a fixed length that fills their cells; only free texts get an ellipsis.
        const QString text = horizontal == Qt::AlignLeft
            ? metrics.elidedText(item->text(column), Qt::ElideRight, textArea.width())
            : item->text(column);
        painter->save();
        painter->setClipRect(cell, Qt::IntersectClip);
        painter->drawText(textArea, int(alignment), text);
        painter->restore();
    }
    painter->restore();
}

void CRkListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
    if (m_scrollBar)
        m_scrollBar->UpdateThumb();
}

void CRkListCtrl::keyReleaseEvent(QKeyEvent* event)
{
    if (m_scrollBar)
        m_scrollBar->UpdateThumb();
    QTreeWidget::keyReleaseEvent(event);
}

void CRkListCtrl::wheelEvent(QWheelEvent* event)
{
    // One line through the bar, so the thumb follows, then the list's own wheel scrolling.
    if (m_scrollBar) {
        if (event->angleDelta().y() < 1)
            m_scrollBar->LineDown();
        else
            m_scrollBar->LineUp();
    }
    QTreeWidget::wheelEvent(event);
    if (m_scrollBar)
        m_scrollBar->UpdateThumb();
}

void CRkListCtrl::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CRkListCtrl::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CRkListCtrl::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit FilesDropped(paths);
}

void CRkListCtrl::PositionScrollBar()
{
    if (!m_scrollBar)
        return;
    const QRect area = geometry();
    m_scrollBar->setGeometry(area.right() + 1, area.top(), CSkinVerticleScrollbar::kBarWidth, area.height());
    m_scrollBar->UpdateThumb();
}

void CRkListCtrl::moveEvent(QMoveEvent* event)
{
    QTreeWidget::moveEvent(event);
    PositionScrollBar();
}

void CRkListCtrl::resizeEvent(QResizeEvent* event)
{
    QTreeWidget::resizeEvent(event);
    PositionScrollBar();
}

void CRkListCtrl::showEvent(QShowEvent* event)
{
    QTreeWidget::showEvent(event);
    if (m_scrollBar && m_scrollBar->parentWidget())
        m_scrollBar->show();
}

void CRkListCtrl::hideEvent(QHideEvent* event)
{
    QTreeWidget::hideEvent(event);
    if (m_scrollBar)
        m_scrollBar->hide();
}

} // namespace zq
