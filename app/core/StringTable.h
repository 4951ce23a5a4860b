#pragma once

#include <QHash>
#include <QString>

namespace zq {

/// One language's texts, read from a "lang/<name>.lng" file: UTF-8, one "ID<TAB>text" per line,
/// "\n" in a text for a line break, lines starting with "#" and blank lines ignored.
class StringTable {
public:
    /// Reads the file; false when it cannot be opened (the table stays empty).
    bool Load(const QString& path);
    /// Parses the text of a table file; lines that are not "ID<TAB>text" are skipped.
    void Parse(const QByteArray& bytes);

    bool Contains(int id) const { return m_texts.contains(id); }
    /// The text with that identifier, or an empty string.
    QString Text(int id) const { return m_texts.value(id); }
    int Count() const { return int(m_texts.size()); }

private:
    QHash<int, QString> m_texts;
};

} // namespace zq
