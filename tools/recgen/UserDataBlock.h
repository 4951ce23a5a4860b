#pragma once

#include "RecordingGenerator.h"

#include <QByteArray>

namespace zq::recgen {

/// The records of the "strd" user-data block, as the recorder writes them.
class UserDataBlock {
public:
    static constexpr int kInfoRecordBytes = 30;
    static constexpr int kInnerInfoRecordBytes = 18;
    static constexpr int kGSensorRecordBytes = 16;

    /// "$I", 27 bytes naming the recorder and the start time, then the digit.
    static QByteArray InfoRecord(const QDateTime& startUtc, char digit);
    /// "$I" and 16 bytes of text: the whole seconds since the start.
    static QByteArray InnerInfoRecord(int second);
    /// "$M", magnitude - 1 of x, y, z, their sign bytes (below 128 negative), 8 bytes the reader ignores.
    /// The sign bytes vary with sequence inside their halves, as any value in a half means the same sign.
    static QByteArray GSensorRecord(const GSample& sample, int sequence);
    /// "$GPRMC,hhmmss.ss,A,ddmm.mmmm,N,dddmm.mmmm,E,knots,course,ddmmyy,,,A*CS" without a line end.
    static QByteArray RmcSentence(const GpsPoint& fix);
    /// The two hex digits of an NMEA checksum: XOR of the bytes between "$" and "*".
    static QByteArray NmeaChecksum(const QByteArray& body);

    /// The sample as a record stores it: each axis 1..256 in magnitude, 0 stored as 1.
    static GSample Representable(const GSample& sample);
    /// The fix as its sentence states it: coordinates to 1/10000 minute, speed and course to 1/100.
    static GpsPoint AsWritten(const GpsPoint& fix);

    /// The whole block: the information record, then the G-sensor records (one every 1/gsensorPerSecond s)
    /// and the RMC sentences (one every 1/gpsPerSecond s) in time order, with an inner "$I" record in front
    /// of the records of every whole second when innerInfoRecords.
    static QByteArray Build(const RecordingRequest& request, const QDateTime& startUtc,
        const QVector<GSample>& gsensor, const QVector<GpsPoint>& fixes);
};

} // namespace zq::recgen
