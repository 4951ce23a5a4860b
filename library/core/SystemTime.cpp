#include "SystemTime.h"

namespace zq {

namespace {

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1601-01-01 to the given date (proleptic Gregorian calendar).
qint64 daysSince1601(int year, int month, int day)
{
    const qint64 y = year - 1601;
    qint64 days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m)
        days += daysInMonth(year, m);
    return days + day - 1;
}

} // namespace

bool SystemTimeToFileTime(const SystemTime& time, FileTime* out)
{
    if (time.year < 1601 || time.year > 30827 || time.month < 1 || time.month > 12 || time.day < 1
        || time.day > daysInMonth(time.year, time.month) || time.hour > 23 || time.minute > 59
        || time.second > 59 || time.milliseconds > 999)
        return false;
    constexpr quint64 kTicksPerSecond = 10'000'000;
    const quint64 seconds = quint64(daysSince1601(time.year, time.month, time.day)) * 86400
        + quint64(time.hour) * 3600 + quint64(time.minute) * 60 + time.second;
    const quint64 ticks = seconds * kTicksPerSecond + quint64(time.milliseconds) * 10'000;
    out->low = quint32(ticks & 0xFFFFFFFFu);
    out->high = quint32(ticks >> 32);
    return true;
}

} // namespace zq
