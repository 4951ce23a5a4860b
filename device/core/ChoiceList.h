#pragma once

#include <QString>
#include <QStringList>

namespace zq::device {

/// The state of one drop-down list of the settings dialog: its entries, the selected index (-1 for none)
/// and whether it is enabled. The selection rules are those of a Windows combo box, because the recorder's
/// files were always read through such lists.
struct ChoiceList {
    QStringList items;
    int current = -1;
    bool enabled = true;

    void Clear();
    void Add(const QString& text) { items.append(text); }
    int Count() const { return int(items.size()); }
    /// Selects an index; an index outside the list clears the selection (false).
    bool Select(int index);
    /// Selects the first entry that begins with the text (case-insensitive); no match or an empty text leaves
    /// the selection as it was (false).
    bool SelectPrefix(const QString& prefix);
    /// Text of the selected entry; empty when nothing is selected.
    QString CurrentText() const;
};

} // namespace zq::device
