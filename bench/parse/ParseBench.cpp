// Reads and walks one hour of sensor records (36,000 G-sensor samples and 3,600 GPS fixes, the recorder's
// 10 and 1 a second) as opening a recording does, and compares the time with one 200 ms playback tick, with
// TZ unset and set: the figures should not depend on how the local zone is given.
//
//   zq_bench_parse [--rounds N]
#include "DispatchRecord.h"
#include "ReadAviInfo.h"
#include "SensorArrays.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kSeconds = 3600;
constexpr int kSamplesPerSecond = 10;
constexpr double kTickMs = 200.0; // the playback tick: the budget for reading a recording's records
constexpr int kDefaultRounds = 41;

QByteArray U32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray Chunk(const char* id, const QByteArray& payload)
{
    QByteArray bytes = QByteArray(id, 4) + U32(quint32(payload.size())) + payload;
    if (payload.size() % 2)
        bytes += '\0';
    return bytes;
}

QByteArray List(const char* type, const QByteArray& children)
{
    return "LIST" + U32(quint32(children.size() + 4)) + QByteArray(type, 4) + children;
}

/// The user-data block of an hour of driving in the recorder's layout.
QByteArray HourOfRecords()
{
    QByteArray block = "$IZQ481K-FW1.02-20170531-00012";
    block.reserve(kSeconds * (kSamplesPerSecond * 16 + 80 + 18));
    char sentence[128];
    for (int second = 0; second < kSeconds; ++second) {
        for (int i = 0; i < kSamplesPerSecond; ++i) {
            const int n = second * kSamplesPerSecond + i;
            block += "$M";
            const char sample[14] = { char(n % 64), char(3), char(31), char(n % 2 ? 200 : 20), char(130),
                char(200), char(n), char(n >> 8), char(n >> 16), 0, 0, 0, 0, 0 };
            block.append(sample, sizeof sample);
        }
        const int minutes = second / 60;
        std::snprintf(sentence, sizeof sentence,
            "$GPRMC,%02d%02d%02d.00,A,3733.%04d,N,12659.%04d,E,%.2f,%.2f,310517,,,A*00", minutes / 60,
            minutes % 60, second % 60, second % 10000, (second * 7) % 10000, 20.0 + second % 40,
            (second % 360) * 1.0);
        block += sentence;
        if (second % 60 == 0)
            block += "$I" + QByteArray(16, 'i');
    }
    return block;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    std::vector<double> walkMs;
    std::vector<double> openMs;
    qsizetype samples = 0;
    qsizetype fixes = 0;
};

/// One round: the walk of the block alone, and what opening a recording does with it.
bool MeasureRound(const QByteArray& block, const QString& path, Figures* figures)
{
    auto start = std::chrono::steady_clock::now();
    const zq::SensorRecords records = zq::ParseUserData(QByteArrayView(block).sliced(30));
    figures->walkMs.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    figures->samples = records.gsensor.size();
    figures->fixes = records.gps.size();

    // What opening a recording does: read the header's block, then walk it into the process-wide arrays.
    start = std::chrono::steady_clock::now();
    zq::AviInfo info;
    zq::ReadAviInfo(path, &info);
    zq::ClearSensorArrays();
    zq::DispatchUserData(info.userData);
    figures->openMs.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (figures->samples != kSeconds * kSamplesPerSecond || figures->fixes != kSeconds
        || zq::GpsFixes().size() != kSeconds) {
        std::fprintf(stderr, "wrong counts: %lld samples, %lld fixes\n",
            static_cast<long long>(figures->samples), static_cast<long long>(figures->fixes));
        return false;
    }
    return true;
}

void UseZone(const QByteArray& zone)
{
    if (zone.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    tzset();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int rounds = kDefaultRounds;
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--rounds"))
        rounds = std::max(1, args[2].toInt());

    const QByteArray block = HourOfRecords();
    const QByteArray header = List("hdrl",
        Chunk("avih", QByteArray(56, '\0'))
            + List("strl",
                Chunk("strh", "vidsH264" + QByteArray(48, '\0')) + Chunk("strf", QByteArray(40, '\0'))
                    + Chunk("strd", block)));
    const QByteArray body = header + List("movi", Chunk("00dc", QByteArray(1000, 'v')));
    const QByteArray file = "RIFF" + U32(quint32(body.size() + 4)) + "AVI " + body;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hour.avi"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
        return 1;
    out.close();

    // The walk converts each GPS fix's time in the local zone: with TZ unset (the zone comes from
    // /etc/localtime) and with TZ set, the two ways a session can be. Rounds alternate, so both see the
    // same load on the machine.
    const QByteArray userZone = qgetenv("TZ");
    const QByteArray setZone = userZone.isEmpty() ? QByteArray("KST-9") : userZone;
    Figures unset;
    Figures set;
    for (int round = 0; round < rounds; ++round) {
        UseZone({});
        if (!MeasureRound(block, path, &unset))
            return 1;
        UseZone(setZone);
        if (!MeasureRound(block, path, &set))
            return 1;
    }

    std::printf("one hour of records: %lld G-sensor samples, %lld GPS fixes, %.0f KiB block\n",
        static_cast<long long>(set.samples), static_cast<long long>(set.fixes), block.size() / 1024.0);
    for (const auto& [label, figures] : { std::pair { "TZ unset", &unset }, std::pair { "TZ set", &set } }) {
        const double walk = Median(figures->walkMs);
        const double open = Median(figures->openMs);
        std::printf("%s: record walk %.2f ms = %.4f of a %.0f ms tick (%.0f ns a record, median of %d); "
                    "header read + walk into the arrays %.2f ms = %.4f of a tick\n",
            label, walk, walk / kTickMs, kTickMs, walk * 1e6 / double(figures->samples + figures->fixes),
            rounds, open, open / kTickMs);
    }
    std::printf("record walk with TZ unset against TZ=%s: %.2f (goal 1.5 or less)\n", setZone.constData(),
        Median(unset.walkMs) / Median(set.walkMs));
    return 0;
}
