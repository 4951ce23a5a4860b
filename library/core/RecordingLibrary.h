#pragma once

#include "RecordingEntry.h"
#include "RecordingSource.h"

#include <QStringList>
#include <QVector>

namespace zq {

/// Paths dropped on the window (or given on the command line), in drop order.
struct DroppedPaths {
    QStringList paths;
};

/// Paths picked in the open dialog, in selection order; a name without ".avi" gets it appended.
struct PickedPaths {
    QStringList paths;
};

/// The main window's store of sources, recording entries and list state.
class RecordingLibrary {
public:
    RecordingLibrary();

    /// Rebuilds the source list: every removable volume with a medium, then the browse item (always last).
    int RefreshSources();
    int SourceCount() const { return int(m_sources.size()); }
    const RecordingSource* SourceAt(int index) const;
    /// The source to open for a drop or an open: the volume whose mount root is `firstPath` (a trailing
    /// "/" does not count), else the browse item.
    int SourceIndexForPath(const QString& firstPath) const;

    int CurrentKind() const { return m_currentKind; }
    int EntryCount() const { return int(m_entries.size()); }
    const QVector<RecordingEntry>& Entries() const { return m_entries; }
    const QStringList& SourceFolders() const { return m_sourceFolders; }
    int SelectedSource() const { return m_selectedSource; }

    /// Opens a volume item (scans it from its root); for the browse item only records kind 1 and fails.
    bool OpenSource(int index);
    /// A volume item is scanned as above; the browse item takes the dropped paths.
    bool OpenSource(int index, const DroppedPaths& dropped);
    /// A volume item is scanned as above; the browse item takes the picked paths.
    bool OpenSource(int index, const PickedPaths& picked);

    /// Appends the accepted recordings of `folder` (ending in "/"), skipping hidden files, and of its
    /// subfolders when `recurse` is set. False when the folder cannot be listed.
    bool ScanFolder(const QString& folder, qint32 origin, bool recurse);

    bool IsAcceptedName(const QString& name) const;
    bool AddExtension(const QString& extension);
    bool AddFolderWord(const QString& word);
    const QStringList& Extensions() const { return m_extensions; }
    const QStringList& FolderWords() const { return m_folderWords; }

    static const QString& FolderChoiceLabel();
    static const QString& BrowseItemLabel();
    static const QString& DefaultExtension();

private:
    bool OpenVolume(int index);
    bool TakeUserPaths(int index, const QStringList& paths, bool appendExtension);
    bool TakeSingleFile(const QString& path);
    void Finish(int index);
    bool ValidIndex(int index) const { return index >= 0 && index < m_sources.size(); }

    qint32 m_currentKind = kSourceRemovable;
    QStringList m_sourceFolders;
    QVector<RecordingEntry> m_entries;
    QVector<RecordingSource> m_sources;
    QStringList m_folderWords;
    QStringList m_extensions;
    qint32 m_selectedSource = -1;
};

} // namespace zq
