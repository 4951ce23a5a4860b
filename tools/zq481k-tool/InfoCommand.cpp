#include "CGPSData.h"
#include "Commands.h"
#include "DispatchRecord.h"
#include "ReadAviInfo.h"
#include "SampleIndexForTime.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <limits>
#include <optional>

namespace zq::tool {

namespace {

constexpr int kWrongArguments = 2;

const char* const kInfoHelp
    = "usage: zq481k-tool info FILE [--at MS --duration MS] [--json]\n"
      "\n"
      "Reads the user-data block of a recording as the viewer does: the 30-byte information record (in\n"
      "hex, and the decimal digit in its last byte), every G-sensor sample (x, y, z in 1/32 g) and every\n"
      "GPS fix with all its fields (latitude and longitude as written and in decimal degrees, speed in\n"
      "km/h, time in seconds since 1970 read as local time).\n"
      "\n"
      "options:\n"
      "  --at MS --duration MS   also print the sample and the fix that the playback position MS of a\n"
      "                          recording lasting MS milliseconds maps to (\"none\" when it maps to none)\n"
      "  --json                  print one JSON object; keys are named after the fields\n"
      "  --help                  show this text\n"
      "\n"
      "exit status: 0 on success; 2 for wrong arguments or a FILE that is missing, unreadable or not a\n"
      "RIFF AVI file.\n";

QString Number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QJsonValue IndexValue(std::optional<qsizetype> index)
{
    return index ? QJsonValue(qint64(*index)) : QJsonValue(QJsonValue::Null);
}

QString IndexText(std::optional<qsizetype> index)
{
    return index ? QString::number(*index) : QStringLiteral("none");
}

QJsonObject FixObject(const CGPSData& fix)
{
    return QJsonObject { { "year", fix.year }, { "month", fix.month }, { "day", fix.day },
        { "hour", fix.hour }, { "minute", fix.minute }, { "second", fix.second }, { "valid", fix.valid },
        { "latitude", fix.latitude }, { "longitude", fix.longitude }, { "speed", fix.speed },
        { "course", fix.course }, { "time", fix.time }, { "latitudeDegrees", LatitudeDegrees(fix) },
        { "longitudeDegrees", LongitudeDegrees(fix) } };
}

bool ParseMilliseconds(const QString& text, qint64* value)
{
    bool ok = false;
    const qint64 parsed = text.toLongLong(&ok);
    if (!ok || parsed < 0)
        return false;
    *value = parsed;
    return true;
}

} // namespace

int runInfo(const QStringList& args, CommandIo io)
{
    auto wrong = [&](const QString& message) {
        io.err << "zq481k-tool info: " << message << "\n"
               << "Try \"zq481k-tool info --help\".\n";
        return kWrongArguments;
    };
    bool json = false;
    std::optional<qint64> at;
    std::optional<qint64> duration;
    QStringList files;
    for (int index = 0; index < args.size(); ++index) {
        const QString& arg = args.at(index);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            io.out << kInfoHelp;
            return 0;
        }
        if (arg == QLatin1String("--json")) {
            json = true;
        } else if (arg == QLatin1String("--at") || arg == QLatin1String("--duration")) {
            qint64 value = 0;
            if (index + 1 >= args.size() || !ParseMilliseconds(args.at(index + 1), &value))
                return wrong(QStringLiteral("%1 needs a number of milliseconds (0 or more)").arg(arg));
            (arg == QLatin1String("--at") ? at : duration) = value;
            ++index;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return wrong(QStringLiteral("unknown option \"%1\"").arg(arg));
        } else {
            files.append(arg);
        }
    }
    if (files.size() != 1)
        return wrong(
            files.isEmpty() ? QStringLiteral("no FILE given") : QStringLiteral("give exactly one FILE"));
    if (at.has_value() != duration.has_value())
        return wrong(QStringLiteral("--at and --duration go together"));
    const QString& path = files.first();
    const QString unreadable = UnreadableReason(path);
    if (!unreadable.isEmpty()) {
        io.err << "zq481k-tool info: " << unreadable << "\n";
        return kWrongArguments;
    }
    AviInfo info;
    if (!ReadAviInfo(path, &info)) {
        io.err << "zq481k-tool info: not a RIFF AVI file: " << path << "\n";
        return kWrongArguments;
    }

    // The records go into arrays of this command, not the process-wide ones the viewer shows.
    const SensorRecords records = ParseUserData(info.userData);
    const QByteArray infoRecord(info.infoRecord.data(), AviInfo::kInfoRecordBytes);
    std::optional<qsizetype> sampleIndex;
    std::optional<qsizetype> fixIndex;
    if (at) {
        sampleIndex = SampleIndexForTime(*at, *duration, records.gsensor.size());
        fixIndex = SampleIndexForTime(*at, *duration, records.gps.size());
    }

    if (json) {
        QJsonArray samples;
        for (const CGSensorData& sample : records.gsensor)
            samples.append(QJsonObject { { "x", sample.x }, { "y", sample.y }, { "z", sample.z } });
        QJsonArray fixes;
        for (const CGPSData& fix : records.gps)
            fixes.append(FixObject(fix));
        QJsonObject object { { "file", path }, { "infoRecord", QString::fromLatin1(infoRecord.toHex()) },
            { "infoDigit", info.infoDigit() }, { "userDataSize", qint64(info.userDataSize) },
            { "gsensor", samples }, { "gps", fixes } };
        if (at) {
            object.insert("at",
                QJsonObject { { "position", *at }, { "duration", *duration },
                    { "gsensorIndex", IndexValue(sampleIndex) }, { "gpsIndex", IndexValue(fixIndex) } });
        }
        io.out << QJsonDocument(object).toJson(QJsonDocument::Indented);
        return 0;
    }

    io.out << "infoRecord: " << infoRecord.toHex(' ') << "\n"
           << "infoDigit: " << info.infoDigit() << "\n"
           << "userDataSize: " << info.userDataSize << "\n"
           << "gsensor: " << records.gsensor.size() << " samples\n";
    for (qsizetype i = 0; i < records.gsensor.size(); ++i) {
        const CGSensorData& sample = records.gsensor[i];
        io.out << "  " << i << ": x=" << sample.x << " y=" << sample.y << " z=" << sample.z << "\n";
    }
    io.out << "gps: " << records.gps.size() << " fixes\n";
    for (qsizetype i = 0; i < records.gps.size(); ++i) {
        const CGPSData& fix = records.gps[i];
        io.out << "  " << i << ": year=" << fix.year << " month=" << fix.month << " day=" << fix.day
               << " hour=" << fix.hour << " minute=" << fix.minute << " second=" << fix.second
               << " valid=" << fix.valid << " latitude=" << Number(fix.latitude)
               << " longitude=" << Number(fix.longitude) << " speed=" << Number(fix.speed)
               << " course=" << Number(fix.course) << " time=" << fix.time
               << " latitudeDegrees=" << Number(LatitudeDegrees(fix))
               << " longitudeDegrees=" << Number(LongitudeDegrees(fix)) << "\n";
    }
    if (at) {
        io.out << "at " << *at << " ms of " << *duration << " ms: gsensorIndex=" << IndexText(sampleIndex)
               << " gpsIndex=" << IndexText(fixIndex) << "\n";
    }
    return 0;
}

} // namespace zq::tool
