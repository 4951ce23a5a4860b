#pragma once

#include "RecordingGenerator.h"

namespace zq::recgen {

/// A made-up drive through Seoul: smooth speed changes between standstill-free city speeds, a slowly
/// turning course, and G-sensor values that follow the acceleration with some noise around (0, 0, 32).
/// Everything is a function of the time since the drive started, so consecutive recordings continue the
/// same track, and the same inputs always give the same data.
class DriveModel {
public:
    static constexpr double kStartLatitude = 37.5583;
    static constexpr double kStartLongitude = 126.9833;

    explicit DriveModel(const QDateTime& driveStartUtc);

    double speedKmh(double secondsSinceStart) const;
    double courseDegrees(double secondsSinceStart) const;
    /// Position after driving for that long (integrated in 0.1 s steps).
    void position(double secondsSinceStart, double* latitude, double* longitude) const;

    /// count fixes, one every 1/perSecond s from recordingStartUtc.
    QVector<GpsPoint> fixes(
        const QDateTime& recordingStartUtc, int count, int perSecond, bool parked, bool valid) const;
    /// count samples, one every 1/perSecond s from recordingStartUtc; an impact spike at impactAtSeconds into
    /// the recording when that is not negative.
    QVector<GSample> gsensor(const QDateTime& recordingStartUtc, int count, int perSecond, bool parked,
        double impactAtSeconds) const;

private:
    double secondsSinceStart(const QDateTime& utc) const;

    QDateTime m_start;
};

} // namespace zq::recgen
