#include "FixTime.h"

#include <cmath>

namespace zq {

namespace {

constexpr int kRecorderHourOffset = 9; // the parsed hour field runs nine hours ahead of UTC

/// Two-digit years 70-99 are 1970-1999, 00-69 are 2000-2069, as the viewer reads them.
int FullYear(int twoDigitYear)
{
    return ((twoDigitYear + 30) % 100) + 1970;
}

} // namespace

std::optional<QDateTime> FixTimeUtc(const CGPSData& fix)
{
    if (fix.year < 0 || fix.year > 99)
        return std::nullopt;
    const QDate date(FullYear(fix.year), fix.month, fix.day);
    const QTime time(fix.hour - kRecorderHourOffset, fix.minute, fix.second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

QString IsoUtc(const std::optional<QDateTime>& time)
{
    return time ? time->toString(Qt::ISODate) : QString();
}

bool HasMapPosition(const CGPSData& fix)
{
    if (fix.valid != 1)
        return false;
    const double latitude = LatitudeDegrees(fix);
    const double longitude = LongitudeDegrees(fix);
    return std::isfinite(latitude) && std::isfinite(longitude) && std::abs(latitude) <= 90.0
        && std::abs(longitude) <= 180.0;
}

} // namespace zq
