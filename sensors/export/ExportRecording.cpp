#include "ExportRecording.h"

#include "DispatchRecord.h"
#include "HeaderDuration.h"
#include "ReadAviInfo.h"

#include <QFile>
#include <QFileInfo>

namespace zq {

bool ReadExportRecording(const QString& path, ExportRecording* recording, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    AviInfo info;
    if (!ReadAviInfo(file, &info)) {
        *error = QStringLiteral("\"%1\" is not a RIFF AVI file").arg(path);
        return false;
    }
    recording->name = QFileInfo(path).fileName();
    recording->path = path;
    recording->records = ParseUserData(info.userData);
    recording->durationMs = HeaderDurationMs(file).value_or(0);
    return true;
}

QString TripName(const QVector<ExportRecording>& recordings)
{
    if (recordings.isEmpty())
        return QString();
    if (recordings.size() == 1)
        return recordings.first().name;
    return recordings.first().name + QStringLiteral(" – ") + recordings.last().name;
}

} // namespace zq
