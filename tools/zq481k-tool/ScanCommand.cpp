#include "Commands.h"
#include "OptionFile.h"
#include "ProgramFolder.h"
#include "RecordingLibrary.h"
#include "RecordingListRow.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <iterator>
#include <string>

namespace zq::tool {

namespace {

void printScanHelp(QTextStream& stream)
{
    stream << "usage: zq481k-tool scan [--json] PATH...\n\n"
              "Lists the recordings found in PATH (a card's mount root, folders or files) in the order and\n"
              "with the columns of the viewer's recording list: row, date, time, category, path, name, KiB.\n"
              "A card's mount root is scanned as the card; anything else is taken like a drop.\n";
}

/// The text listing, one tab-separated line a row, encoded straight into UTF-8 and written in large blocks:
/// with a card's ten thousand rows, a string per column and a formatted print per value cost more than
/// listing the card. The columns are those of ListRowFor.
class ListingWriter {
public:
    explicit ListingWriter(QTextStream& stream)
        : m_stream(stream)
    {
        m_buffer.reserve(kBlockSize + 4096);
    }
    ~ListingWriter() { Flush(); }
    ListingWriter(const ListingWriter&) = delete;
    ListingWriter& operator=(const ListingWriter&) = delete;

    void WriteRow(const RecordingEntry& entry, int rowIndex)
    {
        const SystemTime& t = entry.dateTime;
        AppendNumber(quint64(rowIndex) + 1, 1);
        m_buffer += '\t';
        AppendNumber(t.year, 4);
        m_buffer += '-';
        AppendNumber(t.month, 2);
        m_buffer += '-';
        AppendNumber(t.day, 2);
        m_buffer += '\t';
        AppendNumber(t.hour, 2);
        m_buffer += ':';
        AppendNumber(t.minute, 2);
        m_buffer += ':';
        AppendNumber(t.second, 2);
        m_buffer += '\t';
        m_buffer += CategoryText(CategoryOf(entry.name));
        m_buffer += '\t';
        AppendText(entry.path);
        m_buffer += '\t';
        AppendText(entry.name);
        m_buffer += '\t';
        AppendNumber(entry.sizeKiB, 1);
        m_buffer += '\n';
        if (m_buffer.size() >= kBlockSize)
            Flush();
    }

    void Flush()
    {
        if (m_buffer.empty())
            return;
        m_stream.flush();
        if (QIODevice* device = m_stream.device())
            device->write(m_buffer.data(), qint64(m_buffer.size()));
        else
            m_stream << QString::fromUtf8(m_buffer.data(), qsizetype(m_buffer.size()));
        m_buffer.clear();
    }

private:
    static constexpr size_t kBlockSize = 64 * 1024;

    // "%0*d": at least `width` digits.
    void AppendNumber(quint64 value, int width)
    {
        char digits[20];
        int count = 0;
        do {
            digits[count++] = char('0' + value % 10);
            value /= 10;
        } while (value != 0);
        for (int i = count; i < width; ++i)
            m_buffer += '0';
        while (count > 0)
            m_buffer += digits[--count];
    }

    void AppendText(QStringView text)
    {
        const size_t used = m_buffer.size();
        m_buffer.resize(used + size_t(m_utf8.requiredSpace(text.size())));
        char* const end = m_utf8.appendToBuffer(m_buffer.data() + used, text);
        m_buffer.resize(size_t(end - m_buffer.data()));
    }

    // The few category labels, encoded once.
    const std::string& CategoryText(RecordingCategory category)
    {
        const size_t slot = size_t(category) % std::size(m_labels);
        if (!m_labelKnown[slot]) {
            m_labels[slot] = CategoryLabel(category).toStdString();
            m_labelKnown[slot] = true;
        }
        return m_labels[slot];
    }

    QTextStream& m_stream;
    QStringEncoder m_utf8 { QStringEncoder::Utf8 };
    std::string m_buffer;
    std::string m_labels[8];
    bool m_labelKnown[8] {};
};

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

    const QVector<RecordingEntry>& entries = library.Entries();
    if (!json) {
        ListingWriter writer(io.out);
        for (int i = 0; i < entries.size(); ++i)
            writer.WriteRow(entries[i], i);
        return 0;
    }
    QJsonArray rows;
    for (int i = 0; i < entries.size(); ++i) {
        const RecordingListRow row = ListRowFor(entries[i], i);
        rows.append(QJsonObject { { "row", i + 1 }, { "date", row.date }, { "time", row.time },
            { "category", row.category }, { "path", row.path }, { "name", row.name },
            { "sizeKiB", qint64(entries[i].sizeKiB) }, { "origin", entries[i].origin } });
    }
    const QJsonObject result { { "source", library.CurrentKind() == kSourceRemovable ? "card" : "files" },
        { "entries", rows } };
    io.out << QJsonDocument(result).toJson(QJsonDocument::Indented);
    return 0;
}

} // namespace zq::tool
