#include "Commands.h"
#include "CsvWriter.h"
#include "ExportRecording.h"
#include "GpxWriter.h"
#include "KmlWriter.h"
#include "RecordingLibrary.h"

#include <QBuffer>
#include <QFileInfo>
#include <QSaveFile>
#include <functional>

namespace zq::tool {

namespace {

constexpr int kWritten = 0;
constexpr int kFileFailed = 1;
constexpr int kWrongArguments = 2;

const char* const kExportHelp
    = "usage: zq481k-tool export PATH... --format gpx|kml|csv [--out FILE] [--gsensor]\n"
      "\n"
      "Exports the GPS track of recordings. PATH is a recording, a folder or a card's mount root; the\n"
      "recordings are listed as the viewer lists them (oldest first) and make one trip in that order.\n"
      "Times are UTC from the sentences' own date and time fields (the viewer shows them nine hours\n"
      "later), written as ISO 8601; a fix whose date is unusable keeps its position and has no time.\n"
      "\n"
      "  gpx   GPX 1.1: one track, one segment per recording, the valid fixes with time and speed (m/s)\n"
      "  kml   KML 2.2: one line per recording in one folder, placemarks at the start and the end\n"
      "  csv   every fix with its valid flag: recording,time_utc,latitude,longitude,speed_kmh,valid\n"
      "\n"
      "options:\n"
      "  --format FORMAT   gpx, kml or csv (required)\n"
      "  --out FILE        write to FILE instead of standard output\n"
      "  --gsensor         with csv and --out: also write the G-sensor samples to FILE with \"-gsensor\"\n"
      "                    before its extension: recording,offset_ms,x_g,y_g,z_g (offset_ms is where the\n"
      "                    sample's even share of the recording begins)\n"
      "  --help            show this text\n"
      "\n"
      "exit status: 0 when written; 1 when a recording could not be read or the output could not be\n"
      "written (each is named; the other recordings are still exported); 2 for wrong arguments.\n";

using Writer = std::function<bool(const QVector<ExportRecording>&, QIODevice*)>;

struct Options {
    QStringList paths;
    QString format;
    QString out;
    bool gsensor = false;
};

/// Parses the arguments; an empty message means they are fine.
QString ParseOptions(const QStringList& args, Options* options, bool* help)
{
    for (int index = 0; index < args.size(); ++index) {
        QString arg = args.at(index);
        QString value;
        bool hasValue = false;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(u'=')) {
            value = arg.section(u'=', 1);
            arg = arg.section(u'=', 0, 0);
            hasValue = true;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            *help = true;
            return {};
        }
        if (arg == QLatin1String("--format") || arg == QLatin1String("--out")) {
            if (!hasValue) {
                if (index + 1 >= args.size())
                    return QStringLiteral("%1 needs a value").arg(arg);
                value = args.at(++index);
            }
            (arg == QLatin1String("--format") ? options->format : options->out) = value;
        } else if (arg == QLatin1String("--gsensor") && !hasValue) {
            options->gsensor = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option \"%1\"").arg(args.at(index));
        } else {
            options->paths.append(arg);
        }
    }
    if (options->paths.isEmpty())
        return QStringLiteral("no PATH given");
    if (options->format.isEmpty())
        return QStringLiteral("--format is required (gpx, kml or csv)");
    if (options->format != QLatin1String("gpx") && options->format != QLatin1String("kml")
        && options->format != QLatin1String("csv"))
        return QStringLiteral("unknown format \"%1\" (gpx, kml or csv)").arg(options->format);
    if (options->gsensor && options->format != QLatin1String("csv"))
        return QStringLiteral("--gsensor goes with --format csv");
    if (options->gsensor && options->out.isEmpty())
        return QStringLiteral("--gsensor needs --out FILE: the samples go to a second file beside it");
    if (!options->out.isEmpty() && QFileInfo(options->out).isDir())
        return QStringLiteral("--out names a folder: %1").arg(options->out);
    return {};
}

/// The recordings under the paths, in list order, through the same scan as a drop on the viewer.
QStringList ListRecordings(const QStringList& paths)
{
    RecordingLibrary library;
    library.AddExtension(QStringLiteral("AVI"));
    library.RefreshSources();
    library.OpenSource(library.SourceIndexForPath(paths.first()), DroppedPaths { paths });
    QStringList recordings;
    for (const RecordingEntry& entry : library.Entries())
        recordings.append(entry.path);
    return recordings;
}

/// Writes the whole file or leaves what was there before untouched.
bool WriteFile(
    const QString& path, const Writer& writer, const QVector<ExportRecording>& recordings, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !writer(recordings, &file) || !file.commit()) {
        *error = QStringLiteral("cannot write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

int runExport(const QStringList& args, CommandIo io)
{
    Options options;
    bool help = false;
    const QString wrong = ParseOptions(args, &options, &help);
    if (help) {
        io.out << kExportHelp;
        return kWritten;
    }
    if (!wrong.isEmpty()) {
        io.err << "zq481k-tool export: " << wrong << "\n"
               << "Try \"zq481k-tool export --help\".\n";
        return kWrongArguments;
    }

    int status = kWritten;
    auto fail = [&](const QString& message) {
        io.err << "zq481k-tool export: " << message << "\n";
        status = kFileFailed;
    };

    // A missing path would end the viewer's whole drop; here it is named and the others are still read.
    QStringList existing;
    for (const QString& path : options.paths) {
        if (QFileInfo::exists(path))
            existing.append(path);
        else
            fail(QStringLiteral("no such file or folder: \"%1\"").arg(path));
    }
    const QStringList paths = existing.isEmpty() ? QStringList() : ListRecordings(existing);
    if (paths.isEmpty() && !existing.isEmpty())
        io.err << "zq481k-tool export: no recordings found\n";

    // An output path that names one of the recordings would replace the recording with its own track.
    QStringList outputs;
    if (!options.out.isEmpty())
        outputs.append(options.out);
    if (options.gsensor)
        outputs.append(GsensorCsvPath(options.out));
    for (const QString& output : outputs) {
        const QString target = QFileInfo(output).canonicalFilePath();
        for (const QString& path : paths) {
            if (!target.isEmpty() && QFileInfo(path).canonicalFilePath() == target) {
                io.err << "zq481k-tool export: the output \"" << output << "\" is one of the recordings\n"
                       << "Try \"zq481k-tool export --help\".\n";
                return kWrongArguments;
            }
        }
    }

    QVector<ExportRecording> recordings;
    for (const QString& path : paths) {
        ExportRecording recording;
        QString error;
        if (ReadExportRecording(path, &recording, &error))
            recordings.append(recording);
        else
            fail(error);
    }

    Writer writer;
    if (options.format == QLatin1String("gpx"))
        writer = WriteGpx;
    else if (options.format == QLatin1String("kml"))
        writer = WriteKml;
    else
        writer = WriteTrackCsv;

    QString error;
    if (options.out.isEmpty()) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        writer(recordings, &buffer);
        io.out << QString::fromUtf8(buffer.data());
        io.out.flush();
        if (io.out.status() != QTextStream::Ok)
            fail(QStringLiteral("cannot write to standard output"));
        return status;
    }
    if (!WriteFile(options.out, writer, recordings, &error))
        fail(error);
    if (options.gsensor && !WriteFile(GsensorCsvPath(options.out), WriteGsensorCsv, recordings, &error))
        fail(error);
    return status;
}

} // namespace zq::tool
