#include "MapTrack.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace zq {

qint64 PositionOfFix(qsizetype index, qsizetype count, qint64 durationMs)
{
    if (index <= 0 || count < 1)
        return 0;
    const quint64 step = quint64(quint32(durationMs)) / quint64(count);
    return qint64(step * quint64(index) + (step > 0 ? 1 : 0));
}

QString TrackJson(const QVector<CGPSData>& fixes, qint64 durationMs)
{
    QJsonArray points;
    for (qsizetype i = 0; i < fixes.size(); ++i) {
        const CGPSData& fix = fixes[i];
        if (fix.valid == 0)
            continue;
        const double latitude = LatitudeDegrees(fix);
        const double longitude = LongitudeDegrees(fix);
        if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::abs(latitude) > 90.0
            || std::abs(longitude) > 180.0 || (latitude == 0.0 && longitude == 0.0))
            continue;
        points.append(QJsonObject { { "t", double(PositionOfFix(i, fixes.size(), durationMs)) },
            { "lat", latitude }, { "lon", longitude } });
    }
    return QString::fromUtf8(QJsonDocument(points).toJson(QJsonDocument::Compact));
}

} // namespace zq
