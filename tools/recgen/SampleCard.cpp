#include "DriveModel.h"
#include "RecordingGenerator.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

namespace zq::recgen {

namespace {

// The recorder names its files in Korean time.
constexpr int kRecorderUtcOffsetSeconds = 9 * 3600;
constexpr int kFrontWidthPx = 640;
constexpr int kFrontHeightPx = 360;
constexpr int kRearWidthPx = 320;
constexpr int kRearHeightPx = 180;

struct CardRecording {
    char letter;
    int seconds;
    double impactAtSeconds;
};

// A few minutes of one drive: driving, two knocks that made event recordings, then the car parked.
constexpr CardRecording kRecordings[] = {
    { 'D', 20, -1.0 },
    { 'D', 20, -1.0 },
    { 'E', 15, 6.0 },
    { 'D', 25, -1.0 },
    { 'D', 20, -1.0 },
    { 'E', 15, 4.5 },
    { 'M', 20, -1.0 },
    { 'M', 15, -1.0 },
};

const char* FolderFor(char letter)
{
    switch (letter) {
    case 'E':
        return "EVENT";
    case 'M':
        return "PARKING";
    default:
        return "NORMAL";
    }
}

QByteArray SetupLine(const char* name, const QByteArray& value)
{
    return QByteArray(name).leftJustified(24, ' ', true) + ": " + value + "\r\n";
}

// setup.cfg as the recorder leaves it: 25 labelled lines, the value at byte 26, CR LF line ends.
QByteArray SetupFile()
{
    struct Field {
        const char* name;
        const char* value;
    };
    static constexpr Field kFields[] = {
        { "Product Name", "ZQ481K" },
        { "H/W Version", "V1.00" },
        { "S/W Version", "V1.03" },
        { "Acc Trigger Level", "3" },
        { "REC Video Qulity", "0" },
        { "REC Audio Enable", "1" },
        { "SPK Vol", "3" },
        { "Video Channels", "1" },
        { "Parking Mode Select", "0" },
        { "Car Battery Volt", "0" },
        { "Battery CutOff Volt", "2" },
        { "Power Off Timer", "2" },
        { "SD Allocation", "1" },
        { "Speaker Mute", "0" },
        { "LCD Off Time", "1" },
        { "LDWS Set On", "0" },
        { "FCWS Set On", "0" },
        { "Sensitivity_LDWS", "60" },
        { "Sensitivity_FCWS", "60" },
        { "Center_X", "10" },
        { "GShock Event Count", "2" },
        { "Radar Event Count", "0" },
        { "ADAS Car Type", "0" },
        { "Parking Mode", "0" },
        { "Night Version OnOff", "1" },
    };
    QByteArray text;
    for (const Field& field : kFields)
        text += SetupLine(field.name, field.value);
    return text;
}

// Opaque files of the recorder: a short signature, then bytes that only the recorder understands.
QByteArray OpaqueFile(const QByteArray& signature, int size, quint32 seed)
{
    QByteArray bytes = signature;
    quint32 state = seed;
    while (bytes.size() < size) {
        state = state * 1664525u + 1013904223u;
        bytes.append(char(state >> 24));
    }
    return bytes;
}

bool WriteBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        if (error != nullptr)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool WriteSampleCard(const QString& root, QString* error)
{
    const QDir card(root);
    for (const char* folder : { "NORMAL", "EVENT", "PARKING" }) {
        if (!card.mkpath(QLatin1String(folder))) {
            if (error != nullptr)
                *error = QStringLiteral("cannot create %1").arg(card.filePath(QLatin1String(folder)));
            return false;
        }
    }

    const QDateTime driveStart(QDate(2017, 5, 31), QTime(0, 5, 7), QTimeZone::utc());
    const DriveModel drive(driveStart);
    QDateTime start = driveStart;
    double drivenSeconds = 0.0;
    for (const CardRecording& recording : kRecordings) {
        RecordingRequest request;
        request.frontWidth = kFrontWidthPx;
        request.frontHeight = kFrontHeightPx;
        request.rearWidth = kRearWidthPx;
        request.rearHeight = kRearHeightPx;
        request.durationSeconds = recording.seconds;
        request.startUtc = start;
        request.driveStartUtc = driveStart;
        request.impactAtSeconds = recording.impactAtSeconds;
        if (recording.letter == 'M') {
            // Parked where the drive ended: the same place in every parking recording.
            request.parked = true;
            double latitude = 0.0;
            double longitude = 0.0;
            drive.position(drivenSeconds, &latitude, &longitude);
            for (int index = 0; index < recording.seconds * request.gpsPerSecond; ++index) {
                GpsPoint fix;
                fix.utc = start.addMSecs(qint64(index) * 1000 / request.gpsPerSecond);
                fix.latitude = latitude;
                fix.longitude = longitude;
                fix.courseDegrees = drive.courseDegrees(drivenSeconds);
                request.fixes.append(fix);
            }
        } else {
            drivenSeconds += recording.seconds;
        }
        const QDateTime local = start.toOffsetFromUtc(kRecorderUtcOffsetSeconds);
        const QString path = card.filePath(QLatin1String(FolderFor(recording.letter)) + QLatin1Char('/')
            + RecordingFileName(local, recording.letter));
        if (!WriteRecording(path, request, nullptr, error))
            return false;
        start = start.addSecs(recording.seconds);
    }

    // The recorder's clock file holds the local time it was last set: here, the end of the last recording.
    const QDateTime clock = start.toOffsetFromUtc(kRecorderUtcOffsetSeconds);
    const QByteArray timeFile = clock.toString(QStringLiteral("yy/MM/dd")).toLatin1() + "\r\n"
        + clock.toString(QStringLiteral("HH/mm/ss")).toLatin1() + "\r\n";
    return WriteBytes(card.filePath(QStringLiteral("setup.cfg")), SetupFile(), error)
        && WriteBytes(card.filePath(QStringLiteral("time.cfg")), timeFile, error)
        && WriteBytes(card.filePath(QStringLiteral("system_info1.bin")),
            OpaqueFile(QByteArrayLiteral("ZQ481K\x01\x00SYSINFO1"), 256, 0x1234u), error)
        && WriteBytes(card.filePath(QStringLiteral("system_info2.bin")),
            OpaqueFile(QByteArrayLiteral("ZQ481K\x01\x00SYSINFO2"), 384, 0x5678u), error)
        && WriteBytes(card.filePath(QStringLiteral("ZQ481K_FMT.BIN")),
            OpaqueFile(QByteArrayLiteral("ZQ481K_FMT"), 512, 0x9ABCu), error);
}

} // namespace zq::recgen
