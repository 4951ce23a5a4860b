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
    double latitude = 37.5583; // decimal degrees, negative south
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
struct RecordingRequest {
    int videoStreams = 2; // 1, 2 or 4; stream 0 is the front camera, the others use the rear size
    int frontWidth = 320;
    int frontHeight = 180;
    int rearWidth = 320;
    int rearHeight = 180;
    int framesPerSecond = 30;
    double durationSeconds = 3.0;
    AudioKind audio = AudioKind::Aac;
    StrdPlacement strd = StrdPlacement::FirstVideo;
    bool idx1BeforeMovi = false;
    qint64 truncateAt = -1; // cut the finished file to this many bytes (-1: keep whole)
    qint64 targetBytes = 0; // grow the recording to about this size (benchmarks); 0: as encoded
    /// Video rate of the whole recording, shared by the streams in proportion to their pixel counts. 0: the
    /// encoder's default quality (small files); above 0 noise is added so the encoder really spends it.
    int videoBitrateKbps = 0;
    char infoDigit = '2'; // last byte of the 30-byte "$I" information record
    QDateTime startUtc; // invalid: 2017-05-31 00:05:07 UTC
    int gsensorPerSecond = 10;
    int gpsPerSecond = 1;
    bool gps = true;
    bool invalidFixes = false; // status "V" in every RMC sentence
    bool innerInfoRecords = true; // 18-byte "$I" records between the sensor records
    /// Explicit sensor data; when empty, a plausible drive is made up from the start time.
    QVector<GSample> gsensor;
    QVector<GpsPoint> fixes;

    // Made-up drive. The track is a function of the time since driveStartUtc, so recordings that share a
    // drive start continue one another's track (invalid: the drive starts with this recording).
    QDateTime driveStartUtc;
    bool parked = false; // standing still: speed 0, a calm G-sensor
    double impactAtSeconds = -1.0; // a G-sensor spike this far into the recording (-1: none)

    int audioSampleRate = 16000; // mono; AAC frames of 1024 samples, PCM in blocks of a tenth of a second
    /// A "JUNK" chunk of this many payload bytes (odd sizes allowed, padded) right in front of "idx1".
    int junkBeforeIdx1Bytes = 0;
};

/// What was written, for tests to check against.
struct GeneratedRecording {
    QString path;
    qint64 sizeBytes = 0;
    int videoFramesPerStream = 0;
    QByteArray userData; // the whole "strd" payload as written ("$I" record first)

    double durationSeconds = 0.0; // videoFramesPerStream / framesPerSecond
    int encodedFramesPerStream = 0; // frames encoded; beyond them (targetBytes) the pictures repeat
    int audioChunks = 0;
    /// The sensor data as written (a reader of the file must get exactly these back). Axis values that the
    /// record cannot hold are stored clamped: 0 becomes 1, magnitudes above 256 become 256.
    QVector<GSample> gsensor;
    QVector<GpsPoint> fixes;
};

/// Why the generator would refuse a request (sizes, counts and placements it cannot write); empty when fine.
QString CheckRecordingRequest(const RecordingRequest& request);

/// Writes a recording in the recorder's AVI layout. False, with a message in *error, when encoding or
/// writing fails (ffmpeg missing, disk full, ...).
bool WriteRecording(
    const QString& path, const RecordingRequest& request, GeneratedRecording* result, QString* error);

/// A file name in the recorder's grammar: "YYYYMMDD_HHMMSS" + category letter + ".avi".
QString RecordingFileName(const QDateTime& localStart, char categoryLetter);

/// Writes a sample card below root: NORMAL/, EVENT/, PARKING/ with recordings of all three letters over a
/// few minutes of driving, setup.cfg, time.cfg, system_info1.bin and system_info2.bin.
bool WriteSampleCard(const QString& root, QString* error);

} // namespace zq::recgen
