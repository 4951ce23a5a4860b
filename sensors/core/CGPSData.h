#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace zq {

/// One GPS fix as the recorder's RMC sentence gives it. A default fix has every field zero.
struct CGPSData {
    qint32 year = 0; // two-digit year of the date field, 0-99
    qint32 month = 0; // 1-12 as written
    qint32 day = 0;
    qint32 hour = 0; // UTC hour plus 9 (the recorder's zone), not wrapped: 9 to 32
    qint32 minute = 0;
    qint32 second = 0; // whole seconds; the fraction is not read
    qint32 valid = 0; // 1 when the status field begins with "A"
    double latitude = 0.0; // NMEA ddmm.mmmm, negative unless north
    double longitude = 0.0; // NMEA dddmm.mmmm, negative unless east
    double speed = 0.0; // km/h, at single precision; 0 up to 1 knot
    double course = 0.0; // degrees, at single precision
    qint64 time = 0; // seconds since 1970 from the fields above, read as local time; 0 if incomplete

    /// Parses an RMC sentence beginning at its "$" and running to the next "$", a zero byte or the end of
    /// text (at most 1023 characters). A sentence with fewer than ten comma-separated fields gives the
    /// fields read so far, zeros elsewhere, and time 0.
    static CGPSData FromRmcSentence(QByteArrayView text);
};

/// Decimal degrees of the NMEA ddmm.mmmm latitude and dddmm.mmmm longitude; the sign carries through.
double LatitudeDegrees(const CGPSData& fix);
double LongitudeDegrees(const CGPSData& fix);
/// The speed field, km/h.
double SpeedKmh(const CGPSData& fix);

} // namespace zq
