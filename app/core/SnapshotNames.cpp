#include "SnapshotNames.h"

#include <QFileInfo>

namespace zq {

namespace {

const QString kFrontTag = QStringLiteral("(Track1)");
const QString kRearTag = QStringLiteral("(Track2)");
const QString kExtension = QStringLiteral(".jpg");

// Far more captures than anyone takes within one millisecond; past it the last name is reused.
constexpr int kMaxSuffix = 1000;

} // namespace

QString SnapshotNameStem(const QString& listName)
{
    const qsizetype dot = listName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? listName.left(dot) : listName;
}

QString SnapshotTimeStamp(const QDateTime& localTime)
{
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    return QString::asprintf("%04d-%02d-%02d-%02dh%02dm%02ds%03d", date.year(), date.month(), date.day(),
        time.hour(), time.minute(), time.second(), time.msec());
}

SnapshotPaths SnapshotPathsFor(
    const QString& folder, const QString& listName, const QDateTime& localTime, const QString& suffix)
{
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    base += SnapshotNameStem(listName) + QLatin1Char('-') + SnapshotTimeStamp(localTime) + suffix;
    return { base + kFrontTag + kExtension, base + kRearTag + kExtension };
}

SnapshotPaths ChooseSnapshotPaths(const QString& folder, const QString& listName, const QDateTime& localTime)
{
    SnapshotPaths paths = SnapshotPathsFor(folder, listName, localTime);
    for (int n = 2; n <= kMaxSuffix; ++n) {
        if (!QFileInfo::exists(paths.front) && !QFileInfo::exists(paths.rear))
            break;
        paths = SnapshotPathsFor(folder, listName, localTime, QLatin1Char('-') + QString::number(n));
    }
    return paths;
}

} // namespace zq
