#include "RecordingListFill.h"

#include "CRkListCtrl.h"
#include "RecordingLibrary.h"
#include "RecordingListRow.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace zq {

namespace {

void MarkPresence(CategoryPresence* presence, const RecordingEntry& entry)
{
    presence->any = true;
    switch (CategoryOf(entry.name)) {
    case kCategoryInfinite:
        presence->infinite = true;
        break;
    case kCategoryEvent:
        presence->event = true;
        break;
    case kCategoryParking:
        presence->parking = true;
        break;
    default:
        break;
    }
}

} // namespace

void RecordingListFill::Clear()
{
    m_displayed.clear();
    m_presence = {};
}

void RecordingListFill::Begin(CRkListCtrl* list)
{
    Clear();
    list->SetRedraw(false);
    list->DeleteAllItems();
}

void RecordingListFill::AddRow(CRkListCtrl* list, const RecordingEntry& entry)
{
    const int r = int(m_displayed.size());
    const RecordingListRow row = ListRowFor(entry, r);
    const int at = list->InsertItem(r, row.number);
    list->SetItemText(at, 1, row.date);
    list->SetItemText(at, 2, row.time);
    list->SetItemText(at, 3, row.category);
    list->SetItemText(at, CRkListCtrl::kPathColumn, row.path);
    list->SetItemText(at, CRkListCtrl::kFileNameColumn, row.name);
    m_displayed.append(entry);
}

int RecordingListFill::FillAll(const RecordingLibrary& library, CRkListCtrl* list)
{
    if (library.Entries().isEmpty())
        return 0;
    Begin(list);
    for (const RecordingEntry& entry : library.Entries()) {
        MarkPresence(&m_presence, entry);
        AddRow(list, entry);
    }
    list->SetRedraw(true);
    return RowCount();
}

int RecordingListFill::FillCategory(int category, const RecordingLibrary& library, CRkListCtrl* list)
{
    Begin(list);
    for (const RecordingEntry& entry : library.Entries()) {
        MarkPresence(&m_presence, entry);
        if (CategoryOf(entry.name) == category)
            AddRow(list, entry);
    }
    list->SetRedraw(true);
    return RowCount();
}

const RecordingEntry* RecordingListFill::EntryForRow(int row) const
{
    if (row < 0 || row >= m_displayed.size())
        return nullptr;
    return &m_displayed[row];
}

QString RecordingListFill::SaveFilter(const QString& path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QStringLiteral("*") : path.mid(dot + 1);
    return QStringLiteral("video(*.%1)").arg(extension);
}

RecordingListFill::SaveResult RecordingListFill::CopyRow(
    int row, const QString& sourcePath, const QString& target) const
{
    const RecordingEntry* entry = EntryForRow(row);
    if (!entry || target.isEmpty() || target == entry->path)
        return kNotCopied;
    const QString source = sourcePath.isEmpty() ? entry->path : sourcePath;
    // A half-written copy never takes the target's name: copy beside it, then rename.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(source, partial))
        return kNotCopied;
    QFile::remove(target);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        return kNotCopied;
    }
    return kCopied;
}

RecordingListFill::SaveResult RecordingListFill::SaveCopy(
    int row, const QString& sourcePath, QWidget* dialogParent) const
{
    const RecordingEntry* entry = EntryForRow(row);
    if (!entry)
        return kNotCopied;
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString proposed = QDir(desktop).filePath(QFileInfo(entry->path).fileName());
    const QString target
        = QFileDialog::getSaveFileName(dialogParent, QString(), proposed, SaveFilter(entry->path));
    if (target.isEmpty())
        return kCancelled;
    return CopyRow(row, sourcePath, target);
}

} // namespace zq
