#pragma once

#include "CSkinVerticleScrollbar.h"

#include <QPointer>
#include <QStringList>
#include <QTreeWidget>

namespace zq {

class CSkinHeaderCtrl;

/// The recording list: a report view of six columns (number, date, time, category, and the hidden path and
/// file name) with its own row colours, the skinned header and the bitmap scroll bar beside it. The native
/// scroll bars never show; left and right arrow keys never reach the list; dropped files go to the owner.
class CRkListCtrl : public QTreeWidget {
    Q_OBJECT

public:
    static constexpr int kColumnCount = 6;
    static constexpr int kPathColumn = 4;
    static constexpr int kFileNameColumn = 5;

    explicit CRkListCtrl(QWidget* parent = nullptr);
    ~CRkListCtrl() override;

    /// Sets up font, colours, columns, header and the scroll bar (a sibling on the list's parent).
    void InitList();
    /// Reads the four column titles from the language's string table again.
    void LoadColumnTitles();

    // Rows, in the manner of a report-view list.
    int GetItemCount() const { return topLevelItemCount(); }
    /// Inserts a row at `row` (appended when beyond the end) with the text of column 0; returns its index.
    int InsertItem(int row, const QString& text);
    bool SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    void DeleteAllItems();
    /// Switches repainting off and on around a refill.
    void SetRedraw(bool redraw);
    /// Selects one row (or none for -1) and gives it the keyboard cursor.
    void SelectRow(int row);
    int SelectedRow() const;
    void EnsureVisible(int row);

    /// Marks the row of the open recording; -1 or an invalid row clears the mark.
    void SetCurrentRow(int row);
    int CurrentRow() const { return m_currentRow; }
    /// The file-name column of the current row, or empty when there is none.
    QString GetCurrentRowName() const;

    /// Places the scroll bar at the list's right edge, as high as the list.
    void PositionScrollBar();
    CSkinVerticleScrollbar* ScrollBar() const { return m_scrollBar; }
    CSkinHeaderCtrl* HeaderCtrl() const { return m_header; }

    /// The colours a row is drawn with: current row first, then selection, then even and odd rows.
    QColor RowBackground(int row) const;
    QColor RowText(int row) const;

signals:
    /// Files or folders dropped on the list, for the owner's drop handling.
    void FilesDropped(const QStringList& paths);
    void RowDoubleClicked(int row);

protected:
    void drawRow(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void RedrawRow(int row);
    bool ValidRow(int row) const { return row >= 0 && row < GetItemCount(); }

    CSkinHeaderCtrl* m_header = nullptr;
    QPointer<CSkinVerticleScrollbar> m_scrollBar;
    int m_currentRow = -1;
    QColor m_evenBackground;
    QColor m_oddBackground;
    QColor m_currentBackground;
    QColor m_selectedBackground;
    QColor m_normalText;
    QColor m_currentText;
    QColor m_selectedText;
};

} // namespace zq
