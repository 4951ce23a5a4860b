#include "CGPSData.h"

#include "CommaSplitter.h"
#include "LeadingNumber.h"
#include "LocalTime.h"

#include <cmath>

namespace zq {

namespace {

constexpr qsizetype kMaxSentenceChars = 1023;
constexpr int kRecorderHourOffset = 9; // the recorder's clock runs nine hours ahead of UTC
constexpr double kKmPerNauticalMile = 1.852;
constexpr double kStandingStillKnots = 1.0; // at or below this the fix counts as standing still

/// Two characters of a field starting at pos, or fewer (none) where the field is shorter.
QByteArrayView Pair(QByteArrayView field, qsizetype pos)
{
    if (pos >= field.size())
        return {};
    return field.sliced(pos, qMin<qsizetype>(2, field.size() - pos));
}

double NmeaDegrees(double raw)
{
    const double value = raw * 0.01;
    const double degrees = std::trunc(value);
    return degrees + (value - degrees) * 100.0 / 60.0;
}

} // namespace

CGPSData CGPSData::FromRmcSentence(QByteArrayView text)
{
    qsizetype length = 0;
    while (length < text.size() && length < kMaxSentenceChars && text[length] != '\0'
        && (length == 0 || text[length] != '$'))
        ++length;

    CGPSData fix;
    CommaSplitter splitter(text.first(length));
    QByteArrayView field;
    if (!splitter.next(&field)) // the sentence name
        return fix;
    if (!splitter.next(&field))
        return fix;
    fix.hour = LeadingInt(Pair(field, 0)) + kRecorderHourOffset;
    fix.minute = LeadingInt(Pair(field, 2));
    fix.second = LeadingInt(Pair(field, 4));
    if (!splitter.next(&field))
        return fix;
    fix.valid = field.startsWith('A') ? 1 : 0;
    if (!splitter.next(&field))
        return fix;
    fix.latitude = LeadingDouble(field);
    if (!splitter.next(&field))
        return fix;
    if (!field.startsWith('N'))
        fix.latitude = -fix.latitude;
    if (!splitter.next(&field))
        return fix;
    fix.longitude = LeadingDouble(field);
    if (!splitter.next(&field))
        return fix;
    if (!field.startsWith('E'))
        fix.longitude = -fix.longitude;
    if (!splitter.next(&field))
        return fix;
    const double knots = LeadingDouble(field);
    fix.speed = knots > kStandingStillKnots ? double(float(knots * kKmPerNauticalMile)) : 0.0;
    if (!splitter.next(&field))
        return fix;
    fix.course = double(float(LeadingDouble(field)));
    if (!splitter.next(&field))
        return fix;
    fix.day = LeadingInt(Pair(field, 0));
    fix.month = LeadingInt(Pair(field, 2));
    fix.year = LeadingInt(Pair(field, 4));

    // Two-digit years 70-99 are 1970-1999, 00-69 are 2000-2069.
    const int yearSince1900 = ((fix.year + 30) % 100) + 70;
    fix.time = LocalTimeSeconds(fix.second, fix.minute, fix.hour, fix.day, fix.month - 1, yearSince1900);
    return fix;
}

double LatitudeDegrees(const CGPSData& fix)
{
    return NmeaDegrees(fix.latitude);
}

double LongitudeDegrees(const CGPSData& fix)
{
    return NmeaDegrees(fix.longitude);
}

double SpeedKmh(const CGPSData& fix)
{
    return fix.speed;
}

} // namespace zq
