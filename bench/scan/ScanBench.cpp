// Builds a card-sized tree (recordings in NORMAL, EVENT and PARKING, hidden files, a link back to the top)
// and times `zq481k-tool scan DIR` against `find DIR -type f -printf '%s %p\n'`, which reads the same sizes,
// in the same run: whole processes, warm cache, median of the rounds.
//
//   zq_bench_scan [--files N] [--rounds N] [--dir FOLDER] [--tool PATH]
#include "ChildRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

using zq::bench::ChildRun;
using zq::bench::RunChild;

constexpr int kDefaultFiles = 10000;
constexpr int kHiddenFiles = 50;
constexpr int kDefaultRounds = 5;
constexpr double kGoalRatio = 2.0;

struct Folder {
    const char* name;
    char category;
    int share; // parts of a thousand
};
constexpr Folder kFolders[] = { { "NORMAL", 'D', 700 }, { "EVENT", 'E', 200 }, { "PARKING", 'M', 100 } };

/// A file of the given size that takes no room on the disk.
bool MakeSparseFile(const QString& path, qint64 size)
{
    const int fd
        = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool sized = ::ftruncate(fd, size) == 0;
    return ::close(fd) == 0 && sized;
}

/// The recorder's name of the n-th recording of a folder: one a minute from 31 May 2017 on.
QString RecordingName(int n, char category)
{
    const int minutes = n;
    const int day = 1 + minutes / (24 * 60) % 28;
    return QStringLiteral("201705%1_%2%300%4.avi")
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(minutes / 60 % 24, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'))
        .arg(QLatin1Char(category));
}

bool BuildTree(const QString& root, int files)
{
    int made = 0;
    for (const Folder& folder : kFolders) {
        const QString path = root + QLatin1Char('/') + QLatin1String(folder.name);
        if (!QDir().mkpath(path))
            return false;
        const int count = &folder == &kFolders[2] ? files - made : files * folder.share / 1000;
        for (int i = 0; i < count; ++i) {
            if (!MakeSparseFile(path + QLatin1Char('/') + RecordingName(i, folder.category),
                    qint64(20 + i % 50) * 1024 * 1024 + i))
                return false;
        }
        made += count;
    }
    const QString normal = root + QStringLiteral("/NORMAL/");
    for (int i = 0; i < kHiddenFiles; ++i) {
        if (!MakeSparseFile(normal + QLatin1Char('.') + RecordingName(i, 'D'), 1024 * 1024))
            return false;
    }
    // A link from inside the card back to its top: a scan that followed it would never end.
    return ::symlink("..", QFile::encodeName(normal + QStringLiteral("loop")).constData()) == 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    int files = kDefaultFiles;
    int rounds = kDefaultRounds;
    QString folder = QDir::tempPath();
    QString tool = QStringLiteral(ZQ_TOOL_PATH);
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--files"))
            files = std::max(3, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--rounds"))
            rounds = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--dir"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--tool"))
            tool = args[i + 1];
    }

    QTemporaryDir dir(folder + QStringLiteral("/zq-bench-scan-XXXXXX"));
    if (!dir.isValid() || !BuildTree(dir.path(), files)) {
        std::fprintf(stderr, "cannot build the tree in %s\n", qPrintable(folder));
        return 1;
    }
    const QStringList scan { tool, QStringLiteral("scan"), dir.path() };
    const QStringList find { QStringLiteral("find"), dir.path(), QStringLiteral("-type"), QStringLiteral("f"),
        QStringLiteral("-printf"), QStringLiteral("%s %p\\n") };

    // The first runs warm the cache and check that both see what they should.
    const ChildRun firstScan = RunChild(scan);
    const ChildRun firstFind = RunChild(find);
    const qsizetype scanned = firstScan.output.count('\n');
    const qsizetype found = firstFind.output.count('\n');
    if (!firstScan.ok || !firstFind.ok || scanned != files || found != files + kHiddenFiles) {
        std::fprintf(stderr, "wrong listing: the scan listed %lld of %d recordings, find %lld of %d files\n",
            static_cast<long long>(scanned), files, static_cast<long long>(found), files + kHiddenFiles);
        return 1;
    }

    std::vector<double> scanSeconds;
    std::vector<double> findSeconds;
    std::vector<double> startSeconds;
    for (int round = 0; round < rounds; ++round) {
        // How much of the scan's time is the program starting: the same program doing nothing.
        const ChildRun idle = RunChild({ tool, QStringLiteral("--help") });
        if (idle.ok)
            startSeconds.push_back(idle.seconds);
        // Alternate the order, so that neither program always runs on the other one's leftovers.
        const ChildRun a = RunChild(round % 2 ? find : scan);
        const ChildRun b = RunChild(round % 2 ? scan : find);
        const ChildRun& byScan = round % 2 ? b : a;
        const ChildRun& byFind = round % 2 ? a : b;
        if (!byScan.ok || !byFind.ok) {
            std::fprintf(stderr, "round %d failed\n", round + 1);
            return 1;
        }
        std::printf("round %d: scan %.3f s, find %.3f s\n", round + 1, byScan.seconds, byFind.seconds);
        scanSeconds.push_back(byScan.seconds);
        findSeconds.push_back(byFind.seconds);
    }
    const double byScan = Median(scanSeconds);
    const double byFind = Median(findSeconds);
    std::printf(
        "tree: %d recordings in NORMAL/EVENT/PARKING, %d hidden files, a link loop\n", files, kHiddenFiles);
    std::printf(
        "zq481k-tool scan: %.3f s, find -printf '%%s %%p': %.3f s (median of %d)\n", byScan, byFind, rounds);
    if (!startSeconds.empty())
        std::printf("of which start-up (zq481k-tool --help): %.3f s\n", Median(startSeconds));
    std::printf("ratio to find: %.2f (goal %.1f or less)\n", byScan / byFind, kGoalRatio);
    return 0;
}
