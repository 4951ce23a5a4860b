#include "Commands.h"
#include "OptionFile.h"
#include "ProgramFolder.h"
#include "RecordingLibrary.h"
#include "RecordingListRow.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zq::tool {

namespace {

void printScanHelp(QTextStream& stream)
{
    stream << "usage: zq481k-tool scan [--json] PATH...\n\n"
              "Lists the recordings found in PATH (a card's mount root, folders or files) in the order and\n"
              "with the columns of the viewer's recording list: row, date, time, category, path, name, KiB.\n"
              "A card's mount root is scanned as the card; anything else is taken like a drop.\n";
}

} // namespace

int runScan(const QStringList& args, CommandIo io)
{
    bool json = false;
    QStringList paths;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            printScanHelp(io.out);
            return 0;
        }
        if (arg == QLatin1String("--json"))
            json = true;
        else if (arg.startsWith(QLatin1String("--"))) {
            io.err << "zq481k-tool scan: unknown option \"" << arg << "\"\n";
            printScanHelp(io.err);
            return 2;
        } else
            paths.append(arg);
    }
    if (paths.isEmpty()) {
        io.err << "zq481k-tool scan: no PATH given\n";
        printScanHelp(io.err);
        return 2;
    }
    for (const QString& path : paths) {
        if (!QFileInfo::exists(path)) {
            io.err << "zq481k-tool scan: \"" << path << "\" does not exist\n";
            return 2;
        }
    }

    // Category labels in English, from the string tables of the bundle the tool lies in.
    TheOptionFile().m_language = 0;
    TheOptionFile().LoadLanguageDll();

    RecordingLibrary library;
    library.AddExtension(QStringLiteral("AVI"));
    library.RefreshSources();
    const int source = library.SourceIndexForPath(paths.first());
    library.OpenSource(source, DroppedPaths { paths });

    QJsonArray rows;
    const QVector<RecordingEntry>& entries = library.Entries();
    for (int i = 0; i < entries.size(); ++i) {
        const RecordingListRow row = ListRowFor(entries[i], i);
        if (json) {
            rows.append(QJsonObject { { "row", i + 1 }, { "date", row.date }, { "time", row.time },
                { "category", row.category }, { "path", row.path }, { "name", row.name },
                { "sizeKiB", qint64(entries[i].sizeKiB) }, { "origin", entries[i].origin } });
        } else {
            io.out << row.number << '\t' << row.date << '\t' << row.time << '\t' << row.category << '\t'
                   << row.path << '\t' << row.name << '\t' << entries[i].sizeKiB << '\n';
        }
    }
    if (json) {
        const QJsonObject result { { "source", library.CurrentKind() == kSourceRemovable ? "card" : "files" },
            { "entries", rows } };
        io.out << QJsonDocument(result).toJson(QJsonDocument::Indented);
    }
    return 0;
}

} // namespace zq::tool
