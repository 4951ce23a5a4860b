#include "LocalTime.h"

#include <cstdlib>
#include <ctime>
#include <string>

namespace zq {

namespace {

constexpr int kSecondsPerHour = 3600;

std::time_t StandardMkTime(int second, int minute, int hour, int day, int month0, int yearSince1900)
{
    std::tm parts {};
    parts.tm_sec = second;
    parts.tm_min = minute;
    parts.tm_hour = hour;
    parts.tm_mday = day;
    parts.tm_mon = month0;
    parts.tm_year = yearSince1900;
    parts.tm_isdst = 0;
    return std::mktime(&parts);
}

// mktime looks the zone up again on each call (with TZ unset it checks /etc/localtime each time), which
// costs more than the rest of a record. Records come in order, so the start of the current hour is kept
// per zone, and a record inside it is that start plus its minutes and seconds. An hour whose two ends are
// not 3599 seconds apart holds a change of offset and is left to mktime record by record.
struct HourStart {
    bool valid = false;
    bool zoneSet = false;
    std::string zone;
    int hour = 0;
    int day = 0;
    int month0 = 0;
    int yearSince1900 = 0;
    bool uniform = false;
    std::time_t start = 0;

    bool Matches(const char* tz, int h, int d, int m, int y) const
    {
        return valid && hour == h && day == d && month0 == m && yearSince1900 == y
            && zoneSet == (tz != nullptr) && (!tz || zone == tz);
    }
};

thread_local HourStart t_hour;

} // namespace

qint64 LocalTimeSeconds(int second, int minute, int hour, int day, int month0, int yearSince1900)
{
    std::time_t seconds = -1;
    if (second < 0 || second > 59 || minute < 0 || minute > 59) {
        // Out-of-range fields run into the next hour or day: mktime normalises them.
        seconds = StandardMkTime(second, minute, hour, day, month0, yearSince1900);
    } else {
        const char* tz = std::getenv("TZ");
        if (!t_hour.Matches(tz, hour, day, month0, yearSince1900)) {
            t_hour.valid = true;
            t_hour.zoneSet = tz != nullptr;
            t_hour.zone = tz ? tz : "";
            t_hour.hour = hour;
            t_hour.day = day;
            t_hour.month0 = month0;
            t_hour.yearSince1900 = yearSince1900;
            t_hour.start = StandardMkTime(0, 0, hour, day, month0, yearSince1900);
            const std::time_t end = StandardMkTime(59, 59, hour, day, month0, yearSince1900);
            // -1 is also mktime's failure, so an hour starting one second before 1970 is not taken.
            t_hour.uniform = t_hour.start != -1 && end != -1 && end - t_hour.start == kSecondsPerHour - 1;
        }
        seconds = t_hour.uniform ? t_hour.start + minute * 60 + second
                                 : StandardMkTime(second, minute, hour, day, month0, yearSince1900);
    }
    return seconds < 0 ? -1 : qint64(seconds);
}

} // namespace zq
