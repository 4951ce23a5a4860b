#pragma once

#include <QDateTime>
#include <QString>

namespace zq {

/// The two picture files of one capture; both share one time stamp and one suffix.
struct SnapshotPaths {
    QString front; // "(Track1)", engine channel 0
    QString rear; // "(Track2)", engine channel 1
};

/// The list name without its extension: cut at the last ".", unless that dot is the first character.
QString SnapshotNameStem(const QString& listName);

/// "YYYY-MM-DD-HHhMMmSSsMMM" of a local time.
QString SnapshotTimeStamp(const QDateTime& localTime);

/// folder + "/" + stem + "-" + stamp + suffix + tag + ".jpg" for both channels. An empty list name gives a
/// file name that starts with "-". The suffix is empty for the first capture of a millisecond.
SnapshotPaths SnapshotPathsFor(
    const QString& folder, const QString& listName, const QDateTime& localTime, const QString& suffix = {});

/// The paths of a capture taken now: a capture in the same millisecond as an earlier one whose files exist
/// gets "-2" (then "-3", ...) before the channel tag, so no picture is overwritten.
SnapshotPaths ChooseSnapshotPaths(const QString& folder, const QString& listName, const QDateTime& localTime);

} // namespace zq
