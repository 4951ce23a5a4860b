#include "DriveModel.h"

#include <algorithm>
#include <cmath>

namespace zq::recgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kStepSeconds = 0.1;
constexpr double kMetresPerDegree = 111320.0;
constexpr double kKnotsPerKmh = 1.0 / 1.852;
constexpr double kGravity = 9.81;
constexpr double kUnitsPerG = 32.0;

// Small deterministic noise from a time stamp: the same instant always gets the same value.
int Noise(qint64 key, int amplitude)
{
    quint64 value = quint64(key) * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull;
    value ^= value >> 31;
    value *= 0xBF58476D1CE4E5B9ull;
    value ^= value >> 29;
    return int(value % quint64(2 * amplitude + 1)) - amplitude;
}

int NonZero(int value, qint64 key)
{
    if (value != 0)
        return value;
    return (Noise(key, 1) >= 0) ? 1 : -1;
}

} // namespace

DriveModel::DriveModel(const QDateTime& driveStartUtc)
    : m_start(driveStartUtc.toUTC())
{
}

double DriveModel::secondsSinceStart(const QDateTime& utc) const
{
    return m_start.msecsTo(utc) / 1000.0;
}

double DriveModel::speedKmh(double t) const
{
    const double speed
        = 38.0 + 22.0 * std::sin(2 * kPi * t / 90.0) + 9.0 * std::sin(2 * kPi * t / 17.0 + 1.0);
    return std::max(0.0, speed);
}

double DriveModel::courseDegrees(double t) const
{
    const double course = 70.0 + 50.0 * std::sin(2 * kPi * t / 240.0) + 20.0 * std::sin(2 * kPi * t / 55.0);
    return std::fmod(course + 360.0, 360.0);
}

void DriveModel::position(double t, double* latitude, double* longitude) const
{
    double lat = kStartLatitude;
    double lon = kStartLongitude;
    const double end = std::max(0.0, t);
    for (double now = 0.0; now < end; now += kStepSeconds) {
        const double step = std::min(kStepSeconds, end - now);
        const double metres = speedKmh(now) / 3.6 * step;
        const double course = courseDegrees(now) * kPi / 180.0;
        lat += metres * std::cos(course) / kMetresPerDegree;
        lon += metres * std::sin(course) / (kMetresPerDegree * std::cos(lat * kPi / 180.0));
    }
    *latitude = lat;
    *longitude = lon;
}

QVector<GpsPoint> DriveModel::fixes(
    const QDateTime& recordingStartUtc, int count, int perSecond, bool parked, bool valid) const
{
    QVector<GpsPoint> result;
    result.reserve(count);
    const double offset = secondsSinceStart(recordingStartUtc);
    double parkedLatitude = 0.0;
    double parkedLongitude = 0.0;
    if (parked)
        position(offset, &parkedLatitude, &parkedLongitude);
    for (int index = 0; index < count; ++index) {
        const double t = offset + double(index) / perSecond;
        GpsPoint fix;
        fix.utc = recordingStartUtc.toUTC().addMSecs(qint64(index) * 1000 / perSecond);
        if (parked) {
            fix.latitude = parkedLatitude;
            fix.longitude = parkedLongitude;
            fix.speedKnots = 0.0;
            fix.courseDegrees = courseDegrees(offset);
        } else {
            position(t, &fix.latitude, &fix.longitude);
            fix.speedKnots = speedKmh(t) * kKnotsPerKmh;
            fix.courseDegrees = courseDegrees(t);
        }
        fix.valid = valid;
        result.append(fix);
    }
    return result;
}

QVector<GSample> DriveModel::gsensor(
    const QDateTime& recordingStartUtc, int count, int perSecond, bool parked, double impactAtSeconds) const
{
    QVector<GSample> result;
    result.reserve(count);
    const double offset = secondsSinceStart(recordingStartUtc);
    for (int index = 0; index < count; ++index) {
        const double intoRecording = double(index) / perSecond;
        const double t = offset + intoRecording;
        const qint64 key = qRound64(t * 1000.0);
        double lateral = 0.0;
        double longitudinal = 0.0;
        int noise = 1;
        if (!parked) {
            constexpr double kDelta = 0.05;
            const double speed = speedKmh(t) / 3.6;
            longitudinal = (speedKmh(t + kDelta) - speedKmh(t - kDelta)) / 3.6 / (2 * kDelta);
            double turn = courseDegrees(t + kDelta) - courseDegrees(t - kDelta);
            turn = std::remainder(turn, 360.0) * kPi / 180.0 / (2 * kDelta);
            lateral = speed * turn;
            noise = 2;
        }
        GSample sample;
        sample.x = int(std::lround(lateral / kGravity * kUnitsPerG)) + Noise(key * 3, noise);
        sample.y = int(std::lround(longitudinal / kGravity * kUnitsPerG)) + Noise(key * 3 + 1, noise);
        sample.z = 32 + Noise(key * 3 + 2, noise + (parked ? 0 : 1));
        if (impactAtSeconds >= 0.0) {
            // A hard knock: a sharp peak in all three axes that dies away within a second.
            const double since = intoRecording - impactAtSeconds;
            if (since >= 0.0 && since < 0.8) {
                const double decay = std::exp(-since * 4.0);
                sample.x += int(std::lround(85.0 * decay));
                sample.y -= int(std::lround(120.0 * decay));
                sample.z += int(std::lround(70.0 * decay));
            }
        }
        sample.x = NonZero(sample.x, key * 5);
        sample.y = NonZero(sample.y, key * 5 + 1);
        sample.z = NonZero(sample.z, key * 5 + 2);
        result.append(sample);
    }
    return result;
}

} // namespace zq::recgen
