#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

namespace zq::recgen {

/// One G-sensor sample as the recorder stores it: axis values 1..256 in magnitude, in 1/32 g.
struct GSample {
    int x = 0;
    int y = 0;
    int z = 32;
};

/// One GPS fix to be written as an RMC sentence.
struct GpsPoint {
    QDateTime utc;
    double latitude = 37.5583;   // decimal degrees, negative south
    double longitude = 126.9833; // decimal degrees, negative west
    double speedKnots = 0.0;
    double courseDegrees = 0.0;
    bool valid = true;
};

enum class AudioKind { None, Aac, Pcm };
/// Which stream header carries the "strd" user-data block.
enum class StrdPlacement { FirstVideo, RearVideo, Audio, None };

/// Everything a test or the sample card can choose about a generated recording. Defaults give a small,
/// healthy two-channel recording of a few seconds at 320x180 with AAC audio and sensor data.
struct RecordingSpec {
    int videoStreams = 2;  // 1, 2 or 4
    int frontWidth = 320;
    int frontHeight = 180;
    int rearWidth = 320;
    int rearHeight = 180;
    int framesPerSecond = 30;
    double durationSeconds = 3.0;
    AudioKind audio = AudioKind::Aac;
    StrdPlacement strd = StrdPlacement::FirstVideo;
    bool idx1BeforeMovi = false;
    qint64 truncateAt = -1;        // cut the finished file to this many bytes (-1: keep whole)
    qint64 targetBytes = 0;        // grow the recording to about this size (benchmarks); 0: as encoded
    int videoBitrateKbps = 0;      // 0: the encoder's default for the size; noise is added for real rates
    char infoDigit = '2';          // last byte of the 30-byte "$I" information record
    QDateTime startUtc;            // invalid: 2017-05-31 00:05:07 UTC
    int gsensorPerSecond = 10;
    int gpsPerSecond = 1;
    bool gps = true;
    bool invalidFixes = false;     // status "V" in every RMC sentence
    bool innerInfoRecords = true;  // 18-byte "$I" records between the sensor records
    /// Explicit sensor data; when empty, a plausible drive is made up from the start time.
    QVector<GSample> gsensor;
    QVector<GpsPoint> fixes;
};

/// What was written, for tests to check against.
struct GeneratedRecording {
    QString path;
    qint64 sizeBytes = 0;
    int videoFramesPerStream = 0;
    QByteArray userData;  // the whole "strd" payload as written ("$I" record first)
};

/// Writes a recording in the recorder's AVI layout. False, with a message in *error, when encoding or
/// writing fails (ffmpeg missing, disk full, ...).
bool WriteRecording(const QString& path, const RecordingSpec& spec, GeneratedRecording* result, QString* error);

/// A file name in the recorder's grammar: "YYYYMMDD_HHMMSS" + category letter + ".avi".
QString RecordingFileName(const QDateTime& localStart, char categoryLetter);

/// Writes a sample card below root: NORMAL/, EVENT/, PARKING/ with recordings of all three letters over a
/// few minutes of driving, setup.cfg, time.cfg, system_info1.bin and system_info2.bin.
bool WriteSampleCard(const QString& root, QString* error);

}  // namespace zq::recgen
