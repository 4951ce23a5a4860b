#include "LocalTime.h"

#include <QByteArray>
#include <QFileInfo>
#include <ctime>
#include <gtest/gtest.h>
#include <vector>

namespace zq {
namespace {

/// The conversion as mktime gives it, call by call: the reference every result must equal.
qint64 ByMkTime(int second, int minute, int hour, int day, int month0, int yearSince1900)
{
    std::tm parts {};
    parts.tm_sec = second;
    parts.tm_min = minute;
    parts.tm_hour = hour;
    parts.tm_mday = day;
    parts.tm_mon = month0;
    parts.tm_year = yearSince1900;
    parts.tm_isdst = 0;
    const std::time_t seconds = std::mktime(&parts);
    return seconds < 0 ? -1 : qint64(seconds);
}

/// Sets the local time zone for a scope; nullptr unsets TZ (the system's zone).
struct TimeZone {
    explicit TimeZone(const char* zone) { zone ? qputenv("TZ", zone) : qunsetenv("TZ"), tzset(); }
    ~TimeZone() { m_had ? qputenv("TZ", m_saved) : qunsetenv("TZ"), tzset(); }
    const bool m_had = qEnvironmentVariableIsSet("TZ");
    const QByteArray m_saved = qgetenv("TZ");
};

struct Fields {
    int second, minute, hour, day, month0, year;
};

/// Every hour of the days around the changes of daylight saving and of offset that the zones below know,
/// a day of each month of the recorder's hundred years, and fields out of their ranges.
std::vector<Fields> Grid()
{
    std::vector<Fields> grid;
    const int minuteSeconds[][2] = { { 0, 0 }, { 59, 59 }, { 29, 59 }, { 30, 0 }, { 44, 59 }, { 45, 0 } };
    for (const int year : { 86, 111, 117 }) // 1986, 2011, 2017
        for (const int month0 : { 0, 2, 3, 8, 9, 10, 11 })
            for (int day = 1; day <= 31; ++day)
                for (int hour = 0; hour <= 24; ++hour)
                    for (const auto& [minute, second] : minuteSeconds)
                        grid.push_back({ second, minute, hour, day, month0, year });
    for (int year = 70; year < 170; ++year)
        for (int month0 = 0; month0 < 12; ++month0)
            for (const int hour : { 0, 9, 23, 33 })
                grid.push_back({ 30, 15, hour, 15, month0, year });
    // What a sentence can hold besides: two-digit fields up to 99, hours up to 108, month 0, day 0.
    for (const Fields odd : std::initializer_list<Fields> { { 99, 75, 108, 99, 98, 117 },
             { 0, 0, 0, 0, -1, 117 }, { 60, 0, 9, 1, 0, 117 }, { 0, 60, 9, 1, 0, 117 },
             { 59, 59, 23, 31, 11, 69 }, { 0, 0, 9, 1, 0, 70 } })
        grid.push_back(odd);
    return grid;
}

TEST(LocalTime, EqualsMkTimeInEveryZoneAcrossDaylightSavingAndOffsetChanges)
{
    std::vector<const char*> zones = { nullptr, "UTC0", "KST-9", "JST-10", "EST5EDT,M3.2.0,M11.1.0",
        "<+0545>-5:45", "LHST-10:30LHDT-11,M10.1.0,M4.1.0", "NZST-12NZDT,M9.5.0,M4.1.0/3" };
    // Zones with a history, where the system has them: a 30-minute change, a moved offset, a skipped day,
    // daylight saving in winter.
    for (const char* file : { "Australia/Lord_Howe", "Asia/Kathmandu", "Pacific/Apia", "Europe/Dublin",
             "America/New_York", "Asia/Seoul" })
        if (QFileInfo::exists(QStringLiteral("/usr/share/zoneinfo/") + QLatin1String(file)))
            zones.push_back(file);

    const std::vector<Fields> grid = Grid();
    for (const char* zone : zones) {
        const TimeZone scope(zone);
        int differences = 0;
        for (const Fields& f : grid) {
            const qint64 expected = ByMkTime(f.second, f.minute, f.hour, f.day, f.month0, f.year);
            const qint64 got = LocalTimeSeconds(f.second, f.minute, f.hour, f.day, f.month0, f.year);
            if (got != expected && ++differences <= 5)
                ADD_FAILURE() << (zone ? zone : "(TZ unset)") << ": " << 1900 + f.year << '-' << f.month0 + 1
                              << '-' << f.day << ' ' << f.hour << ':' << f.minute << ':' << f.second
                              << " gave " << got << ", mktime " << expected;
        }
        EXPECT_EQ(differences, 0) << (zone ? zone : "(TZ unset)");
    }
}

TEST(LocalTime, FollowsAChangeOfZoneWithinTheSameHour)
{
    qint64 utc = 0;
    {
        const TimeZone scope("UTC0");
        utc = LocalTimeSeconds(0, 30, 12, 1, 6, 117);
        EXPECT_EQ(utc, 1498912200); // 2017-07-01 12:30 UTC
    }
    {
        const TimeZone scope("KST-9");
        EXPECT_EQ(LocalTimeSeconds(0, 30, 12, 1, 6, 117), utc - 9 * 3600);
    }
    {
        // Read as standard time even in summer.
        const TimeZone scope("EST5EDT,M3.2.0,M11.1.0");
        EXPECT_EQ(LocalTimeSeconds(0, 30, 12, 1, 6, 117), utc + 5 * 3600);
    }
    const TimeZone scope("JST-10");
    EXPECT_EQ(LocalTimeSeconds(0, 0, 9, 1, 0, 70), -1); // before 1970 UTC
    EXPECT_EQ(LocalTimeSeconds(0, 0, 10, 1, 0, 70), 0);
}

} // namespace
} // namespace zq
