#include "FolderHistory.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace zq {

namespace {

// Folders compare without their trailing separator, so "/media/card/" and "/media/card" are one entry.
QString comparable(const QString& path)
{
    return path.size() > 1 && path.endsWith(QLatin1Char('/')) ? path.chopped(1) : path;
}

} // namespace

FolderHistory::FolderHistory(const QString& section, const QString& prefix, int maxEntries)
    : m_section(section)
    , m_prefix(prefix)
    , m_maxEntries(qMax(0, maxEntries))
{
}

QString FolderHistory::EntryKey(int index) const
{
    return m_prefix + QString::asprintf("%04d", index);
}

QString FolderHistory::LastKey() const
{
    return m_prefix.isEmpty() ? QStringLiteral("Last") : m_prefix;
}

FolderHistory::Loaded FolderHistory::Load(QSettings& settings) const
{
    Loaded loaded;
    settings.beginGroup(m_section);
    for (int i = 0; i < m_maxEntries; ++i) {
        const QString entry = settings.value(EntryKey(i)).toString();
        if (entry.isEmpty())
            break;
        if (m_keepOnlyExisting && !QFileInfo::exists(entry))
            continue;
        loaded.entries.append(entry);
    }
    loaded.lastText = settings.value(LastKey()).toString();
    settings.endGroup();
    return loaded;
}

QStringList FolderHistory::Merged(const QString& currentText, const QStringList& entries) const
{
    QStringList merged;
    QStringList seen;
    const auto add = [&](const QString& entry) {
        if (entry.isEmpty() || merged.size() >= m_maxEntries || seen.contains(comparable(entry)))
            return;
        merged.append(entry);
        seen.append(comparable(entry));
    };
    add(currentText);
    for (const QString& entry : entries)
        add(entry);
    return merged;
}

QStringList FolderHistory::Save(
    QSettings& settings, const QString& currentText, const QStringList& entries) const
{
    const QStringList merged = Merged(currentText, entries);
    settings.beginGroup(m_section);
    for (int i = 0; i < merged.size(); ++i)
        settings.setValue(EntryKey(i), merged[i]);
    // Entries of an older, longer list would be read back after the new ones.
    for (int i = int(merged.size()); settings.contains(EntryKey(i)); ++i)
        settings.remove(EntryKey(i));
    if (m_saveLastText)
        settings.setValue(LastKey(), currentText);
    settings.endGroup();
    return merged;
}

} // namespace zq
