// Repairs a 1 GiB generated recording whose index stands in front of its media list and compares the time
// with cp of the same file in the same run; reports the repair's peak memory.
//
//   zq_bench_repair [--bytes N] [--rounds N] [--dir FOLDER]
//
// The recording and the copies are written to a temporary folder (default: the system temp folder) and
// deleted at the end.
#include "CheckAviLayout.h"
#include "ChildRun.h"
#include "RecordingGenerator.h"
#include "RepairAvi.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr qint64 kDefaultBytes = qint64(1) << 30;
constexpr int kDefaultRounds = 5;
constexpr double kBytesPerMiB = 1024.0 * 1024.0;

/// A timed run of a whole process; a child that prints "peak MIB" reports its peak memory that way.
struct ChildRun {
    bool ok = false;
    double seconds = 0.0;
    double peakMiB = 0.0; // the child's own high-water mark, when it reports one
};

/// The high-water mark of this process's resident memory since it started its program. getrusage's
/// ru_maxrss would also count the memory of a parent that spawned us, which exec carries over.
double PeakResidentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

ChildRun RunChild(const QStringList& arguments)
{
    ::sync(); // no writeback of earlier work competes with the timed run
    const zq::bench::ChildRun child = zq::bench::RunChild(arguments);
    ChildRun run { child.ok, child.seconds, 0.0 };
    if (child.output.startsWith("peak "))
        run.peakMiB = child.output.mid(5).trimmed().toDouble();
    return run;
}

int RepairOnly(const QString& source, const QString& destination)
{
    zq::ChunkLocations locations;
    if (zq::CheckAviLayout(source, &locations) != zq::kAviLayoutNeedsRepair)
        return 3;
    QString error;
    if (!zq::RepairAvi(source, destination, locations, &error)) {
        std::fprintf(stderr, "repair failed: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("peak %.2f\n", PeakResidentMiB());
    return 0;
}

void DropCopy(const QString& path)
{
    QFile::remove(path);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--repair-only"))
        return RepairOnly(args[2], args[3]);

    qint64 bytes = kDefaultBytes;
    int rounds = kDefaultRounds;
    QString folder = QDir::tempPath();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--bytes"))
            bytes = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--rounds"))
            rounds = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--dir"))
            folder = args[i + 1];
    }

    QTemporaryDir dir(folder + QStringLiteral("/zq-bench-repair-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder in %s\n", qPrintable(folder));
        return 1;
    }
    const QString source = dir.filePath(QStringLiteral("20170531_000507I.avi"));
    const QString byCp = dir.filePath(QStringLiteral("cp-copy.avi"));
    const QString repaired = dir.filePath(QStringLiteral("20170531_000507I_REPAIR.avi"));

    zq::recgen::RecordingRequest wanted;
    wanted.idx1BeforeMovi = true;
    wanted.durationSeconds = 10.0; // encoded once; the generator repeats the pictures up to the target size
    wanted.targetBytes = bytes;
    zq::recgen::GeneratedRecording recording;
    QString error;
    std::printf(
        "generating a %.0f MiB recording with the index in front of the media...\n", bytes / kBytesPerMiB);
    std::fflush(stdout);
    if (!zq::recgen::WriteRecording(source, wanted, &recording, &error)) {
        std::fprintf(stderr, "generation failed: %s\n", qPrintable(error));
        return 1;
    }
    const qint64 size = QFile(source).size();

    // Read the source once so both programs start from the page cache.
    RunChild({ "sh", "-c", "cat \"$0\" > /dev/null", source });

    std::vector<double> cpSeconds;
    std::vector<double> repairSeconds;
    double peakRepairMiB = 0.0;
    const QStringList repairCommand { app.applicationFilePath(), "--repair-only", source, repaired };
    for (int round = 0; round < rounds; ++round) {
        // Alternate the order, so that neither program always runs on the other one's leftovers.
        ChildRun cp;
        ChildRun repair;
        if (round % 2 == 1)
            repair = RunChild(repairCommand);
        cp = RunChild({ "cp", source, byCp });
        DropCopy(byCp);
        if (round % 2 == 0)
            repair = RunChild(repairCommand);
        if (!cp.ok || !repair.ok) {
            std::fprintf(stderr, "round %d failed (cp %d, repair %d)\n", round + 1, cp.ok, repair.ok);
            return 1;
        }
        if (round == 0) {
            zq::ChunkLocations after;
            if (QFile(repaired).size() != size
                || zq::CheckAviLayout(repaired, &after) != zq::kAviLayoutPlayable) {
                std::fprintf(stderr, "the repaired copy is wrong\n");
                return 1;
            }
        }
        DropCopy(repaired);
        std::printf("round %d: cp %.3f s, repair %.3f s (peak %.1f MiB)\n", round + 1, cp.seconds,
            repair.seconds, repair.peakMiB);
        cpSeconds.push_back(cp.seconds);
        repairSeconds.push_back(repair.seconds);
        peakRepairMiB = std::max(peakRepairMiB, repair.peakMiB);
    }

    zq::ChunkLocations locations;
    zq::CheckAviLayout(source, &locations);
    std::printf("file: %.1f MiB, index (%u bytes) at %u, media list (%u bytes) at %u\n", size / kBytesPerMiB,
        locations.idx1Size, locations.idx1Offset, locations.moviSize, locations.moviOffset);
    // The disk is shared with other work, so both the best and the middle run are shown.
    std::sort(cpSeconds.begin(), cpSeconds.end());
    std::sort(repairSeconds.begin(), repairSeconds.end());
    const double bestCp = cpSeconds.front();
    const double bestRepair = repairSeconds.front();
    const double medianCp = cpSeconds[cpSeconds.size() / 2];
    const double medianRepair = repairSeconds[repairSeconds.size() / 2];
    std::printf("repair time / cp time: %.3f best (repair %.3f s, cp %.3f s), %.3f median (repair %.3f s, cp "
                "%.3f s), %d rounds\n",
        bestRepair / bestCp, bestRepair, bestCp, medianRepair / medianCp, medianRepair, medianCp, rounds);
    std::printf("repair peak memory: %.1f MiB = %.4f of the file size\n", peakRepairMiB,
        peakRepairMiB / (size / kBytesPerMiB));
    return 0;
}
