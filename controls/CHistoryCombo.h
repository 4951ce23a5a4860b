#pragma once

#include "FolderHistory.h"

#include <QComboBox>

class QSettings;

namespace zq {

/// Editable combo box of recently visited folders. Choosing an entry, or leaving the edit field (focus out
/// or Return) with a text that names an existing path, reports that path; nothing else happens here.
class CHistoryCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CHistoryCombo(QWidget* parent = nullptr);

    FolderHistory& History() { return m_history; }
    void SetMaxHistoryItems(int count) { m_history.SetMaxEntries(count); }

    /// Fills the list from the settings; the edit shows the first entry, else the stored last text.
    void LoadHistory(QSettings& settings);
    /// Stores the edit text first, then the entries, at most the maximum, and shows the new order.
    void SaveHistory(QSettings& settings);
    QStringList Entries() const;

    void showPopup() override;

signals:
    /// An entry was chosen from the list.
    void EntryChosen(const QString& path);
    /// The edit field was left with the path typed in it.
    void EditLeft(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReportEdit();

    FolderHistory m_history;
};

} // namespace zq
