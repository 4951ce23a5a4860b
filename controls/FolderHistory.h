#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace zq {

/// The folder picker's list of recently visited folders in the application's settings: entries under
/// <section>/<prefix>0000, <prefix>0001, ... in order, plus the text last shown under the "last" key.
class FolderHistory {
public:
    static constexpr int kDefaultMaxEntries = 50;

    explicit FolderHistory(const QString& section = QStringLiteral("FolderHistory"),
        const QString& prefix = QStringLiteral("Folder"), int maxEntries = kDefaultMaxEntries);

    /// Key of entry index: the prefix and the index in four digits ("Folder0007").
    QString EntryKey(int index) const;
    /// Key of the last text: the prefix's own key, or "Last" when there is no prefix.
    QString LastKey() const;

    const QString& Section() const { return m_section; }
    int MaxEntries() const { return m_maxEntries; }
    void SetMaxEntries(int maxEntries) { m_maxEntries = qMax(0, maxEntries); }
    /// Entries whose path does not exist are left out on loading.
    void SetKeepOnlyExisting(bool on) { m_keepOnlyExisting = on; }
    /// Whether Save writes the current text under the last key.
    void SetSaveLastText(bool on) { m_saveLastText = on; }

    struct Loaded {
        QStringList entries;
        QString lastText;
    };
    /// Reads entries in key order, stopping at the first empty one or at the maximum.
    Loaded Load(QSettings& settings) const;
    /// The list to keep after a choice: the current text first, then the other entries without repeats
    /// (a trailing "/" does not make a folder different), at most the maximum.
    QStringList Merged(const QString& currentText, const QStringList& entries) const;
    /// Writes Merged(currentText, entries) under the entry keys and removes entry keys past its end.
    QStringList Save(QSettings& settings, const QString& currentText, const QStringList& entries) const;

private:
    QString m_section;
    QString m_prefix;
    int m_maxEntries;
    bool m_keepOnlyExisting = false;
    bool m_saveLastText = true;
};

} // namespace zq
