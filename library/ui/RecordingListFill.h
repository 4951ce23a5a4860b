#pragma once

#include "RecordingEntry.h"

#include <QString>
#include <QVector>

class QWidget;

namespace zq {

class CRkListCtrl;

class RecordingLibrary;

/// Which categories the entries hold; the main window enables its category buttons from these.
struct CategoryPresence {
    bool any = false;
    bool infinite = false;
    bool event = false;
    bool parking = false;
    bool operator==(const CategoryPresence&) const = default;
};

/// Fills the recording list from the library: all entries or one category, the rows it shows (row r shows
/// entry displayedRows[r]) and the presence flags, which always describe every entry.
class RecordingListFill {
public:
    /// Writes a row per entry; 0 and no change when the library has no entries.
    int FillAll(const RecordingLibrary& library, CRkListCtrl* list);
    /// Writes the rows of one category (0 infinite, 2 event, 3 parking); may write none.
    int FillCategory(int category, const RecordingLibrary& library, CRkListCtrl* list);
    /// The entry a row shows; null for a row outside the list.
    const RecordingEntry* EntryForRow(int row) const;
    const CategoryPresence& Presence() const { return m_presence; }
    int RowCount() const { return int(m_displayed.size()); }
    /// Forgets every row (the list was emptied by the owner).
    void Clear();

    enum SaveResult { kCopied = 0, kNotCopied = 1, kCancelled = 2 };
    /// The save dialog's filter for a path: "video(*.avi)" from its extension, "*" without one.
    static QString SaveFilter(const QString& path);
    /// Copies a row's recording to `target` (a temporary name in the target folder, then a rename); the
    /// source is `sourcePath` when given, else the entry's path. Copying onto the entry itself does nothing.
    SaveResult CopyRow(int row, const QString& sourcePath, const QString& target) const;
    /// Asks for a target on the desktop, then copies as CopyRow does.
    SaveResult SaveCopy(int row, const QString& sourcePath, QWidget* dialogParent) const;

private:
    void Begin(CRkListCtrl* list);
    void AddRow(CRkListCtrl* list, const RecordingEntry& entry);

    QVector<RecordingEntry> m_displayed;
    CategoryPresence m_presence;
};

} // namespace zq
