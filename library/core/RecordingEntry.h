#pragma once

#include "SystemTime.h"

#include <QString>
#include <QVector>

namespace zq {

/// Category code of a recording, from the letter at index 15 of its name.
enum RecordingCategory : qint32 {
    kCategoryInfinite = 0, // "D"
    kCategoryEvent = 2, // "E"
    kCategoryParking = 3, // "M"
    kCategoryAll = 4, // a selection value only, never an entry's category
    kCategoryUnknown = 6, // any other letter, or a name shorter than 16 characters
};

/// How an entry was found.
enum RecordingOrigin : qint32 {
    kOriginScan = 0, // a drive or folder scan
    kOriginUser = 1, // dropped or picked files, and folders scanned on their behalf
};

/// One recording: what its name and directory entry say about it.
struct RecordingEntry {
    qint32 origin = kOriginScan;
    QString name; // file name without folder, as the directory listing gives it
    QString path; // full path
    FileTime stamp; // dateTime in 100-ns ticks since 1601; zero when the name is not a valid date
    SystemTime dateTime;
    quint64 sizeKiB = 0;
};

} // namespace zq

// Entries move as plain memory when a list grows.
Q_DECLARE_TYPEINFO(zq::RecordingEntry, Q_RELOCATABLE_TYPE);

namespace zq {

/// The directory entry that ParseEntry works from.
struct DirectoryEntry {
    QString name;
    quint64 sizeBytes = 0;
};

/// Builds an entry from the name grammar "YYYYMMDD_HHMMSS" + category letter + ... + "." + extension.
/// `folder` ends with "/"; the path is folder + name.
RecordingEntry ParseEntry(const DirectoryEntry& file, const QString& folder, qint32 origin);

RecordingCategory CategoryOf(const QString& name);

/// The category's label in the current language ("UnKnown" for unknown letters); empty when the
/// language's texts cannot be loaded.
QString CategoryLabel(qint32 category);

/// List order: the date-time text (first 15 characters) ordinal, then the smaller size first.
bool EntryLess(const RecordingEntry& a, const RecordingEntry& b);

/// Puts entries in list order (EntryLess), keeping the found order of equal ones, as std::stable_sort with
/// EntryLess would; quicker on a card's ten thousand names, since it sorts compact keys instead.
void SortEntries(QVector<RecordingEntry>& entries);

} // namespace zq
