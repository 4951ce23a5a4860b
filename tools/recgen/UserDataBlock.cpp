#include "UserDataBlock.h"

#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zq::recgen {

namespace {

constexpr int kMaxAxisMagnitude = 256;
constexpr qint64 kTenThousandthsPerDegree = 60 * 10000;

struct Coordinate {
    int degrees;
    double minutes;
};

// Rounds to the printed 1/10000 minute first, so 59.99996 minutes never prints as "60.0000".
Coordinate SplitDegrees(double value)
{
    const qint64 units = qRound64(std::fabs(value) * kTenThousandthsPerDegree);
    return { int(units / kTenThousandthsPerDegree), double(units % kTenThousandthsPerDegree) / 10000.0 };
}

quint8 SignByte(int value, int sequence)
{
    return value < 0 ? quint8((sequence * 37) % 128) : quint8(128 + (sequence * 53) % 128);
}

struct Event {
    double seconds;
    int kind; // 0 inner "$I", 1 "$G", 2 "$M": the order within one instant
    int index;
};

} // namespace

QByteArray UserDataBlock::InfoRecord(const QDateTime& startUtc, char digit)
{
    QByteArray record("$IZQ481K_V1.00_");
    record += startUtc.toUTC()
                  .toString(QStringLiteral("yyyyMMddHHmmss"))
                  .toLatin1()
                  .leftJustified(14, '0', true);
    record += digit;
    return record;
}

QByteArray UserDataBlock::InnerInfoRecord(int second)
{
    return QByteArray("$I") + QByteArray::number(second).rightJustified(16, '0', true);
}

GSample UserDataBlock::Representable(const GSample& sample)
{
    auto axis = [](int value) {
        if (value == 0)
            return 1;
        return std::clamp(value, -kMaxAxisMagnitude, kMaxAxisMagnitude);
    };
    return { axis(sample.x), axis(sample.y), axis(sample.z) };
}

QByteArray UserDataBlock::GSensorRecord(const GSample& sample, int sequence)
{
    const GSample stored = Representable(sample);
    QByteArray record("$M");
    for (int value : { stored.x, stored.y, stored.z })
        record += char(std::abs(value) - 1);
    for (int value : { stored.x, stored.y, stored.z })
        record += char(SignByte(value, sequence));
    // Bytes the viewer ignores: the sequence number, little-endian, and four zero bytes.
    for (int shift = 0; shift < 32; shift += 8)
        record += char((quint32(sequence) >> shift) & 0xFF);
    record += QByteArray(4, '\0');
    return record;
}

QByteArray UserDataBlock::NmeaChecksum(const QByteArray& body)
{
    quint8 sum = 0;
    for (char ch : body)
        sum ^= quint8(ch);
    return QByteArray::number(sum, 16).toUpper().rightJustified(2, '0');
}

GpsPoint UserDataBlock::AsWritten(const GpsPoint& fix)
{
    GpsPoint written = fix;
    const Coordinate latitude = SplitDegrees(fix.latitude);
    const Coordinate longitude = SplitDegrees(fix.longitude);
    written.latitude = std::copysign(latitude.degrees + latitude.minutes / 60.0, fix.latitude);
    written.longitude = std::copysign(longitude.degrees + longitude.minutes / 60.0, fix.longitude);
    written.speedKnots = std::round(std::max(0.0, fix.speedKnots) * 100.0) / 100.0;
    written.courseDegrees
        = std::round(std::fmod(std::fmod(fix.courseDegrees, 360.0) + 360.0, 360.0) * 100.0) / 100.0;
    if (written.courseDegrees >= 360.0)
        written.courseDegrees = 0.0;
    // The sentence holds hundredths of a second.
    const QDateTime utc = fix.utc.toUTC();
    written.utc = utc.addMSecs(-(utc.time().msec() % 10));
    return written;
}

QByteArray UserDataBlock::RmcSentence(const GpsPoint& fix)
{
    const GpsPoint value = AsWritten(fix);
    const Coordinate latitude = SplitDegrees(value.latitude);
    const Coordinate longitude = SplitDegrees(value.longitude);
    const QDateTime utc = value.utc.toUTC();
    const QTime time = utc.time();
    const QDate date = utc.date();
    // Speed gets a leading zero when that makes the sentence even in length: every record then has an even
    // length, and so has the whole block (ffmpeg skips an H.264 stream's "strd" without its pad byte).
    char body[160];
    for (int speedWidth : { 0, 1 }) {
        char speed[32];
        const int digits = std::snprintf(speed, sizeof speed, "%.2f", value.speedKnots);
        std::snprintf(speed, sizeof speed, "%0*.2f", digits + speedWidth, value.speedKnots);
        const int length = std::snprintf(body, sizeof body,
            "GPRMC,%02d%02d%02d.%02d,%c,%02d%07.4f,%c,%03d%07.4f,%c,%s,%.2f,%02d%02d%02d,,,%c", time.hour(),
            time.minute(), time.second(), time.msec() / 10, value.valid ? 'A' : 'V', latitude.degrees,
            latitude.minutes, value.latitude < 0 ? 'S' : 'N', longitude.degrees, longitude.minutes,
            value.longitude < 0 ? 'W' : 'E', speed, value.courseDegrees, date.day(), date.month(),
            date.year() % 100, value.valid ? 'A' : 'N');
        // "$" + body + "*" + two digits.
        if ((length + 4) % 2 == 0)
            break;
    }
    const QByteArray text(body);
    return "$" + text + "*" + NmeaChecksum(text);
}

QByteArray UserDataBlock::Build(const RecordingRequest& request, const QDateTime& startUtc,
    const QVector<GSample>& gsensor, const QVector<GpsPoint>& fixes)
{
    const double gsensorRate = request.gsensorPerSecond > 0 ? request.gsensorPerSecond : 1;
    const double gpsRate = request.gpsPerSecond > 0 ? request.gpsPerSecond : 1;
    QVector<Event> events;
    events.reserve(gsensor.size() + fixes.size() + 64);
    double last = 0.0;
    for (int index = 0; index < gsensor.size(); ++index) {
        events.append({ index / gsensorRate, 2, index });
        last = std::max(last, index / gsensorRate);
    }
    for (int index = 0; index < fixes.size(); ++index) {
        events.append({ index / gpsRate, 1, index });
        last = std::max(last, index / gpsRate);
    }
    if (request.innerInfoRecords && !events.isEmpty()) {
        for (int second = 0; second <= int(last); ++second)
            events.append({ double(second), 0, second });
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.seconds != b.seconds ? a.seconds < b.seconds : a.kind < b.kind;
    });

    QByteArray block = InfoRecord(startUtc, request.infoDigit);
    block.reserve(
        block.size() + gsensor.size() * kGSensorRecordBytes + fixes.size() * 80 + events.size() * 2);
    for (const Event& event : events) {
        if (event.kind == 0)
            block += InnerInfoRecord(event.index);
        else if (event.kind == 1)
            block += RmcSentence(fixes.at(event.index));
        else
            block += GSensorRecord(gsensor.at(event.index), event.index);
    }
    return block;
}

} // namespace zq::recgen
