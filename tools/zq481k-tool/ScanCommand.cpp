#include "Commands.h"
#include "OptionFile.h"
#include "ProgramFolder.h"
#include "RecordingLibrary.h"
#include "RecordingListRow.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace zq::tool {

namespace {

void printScanHelp(QTextStream& stream)
{
    stream << "usage: zq481k-tool scan [--json] PATH...\n\n"
              "Lists the recordings found in PATH (a card's mount root, folders or files) in the order and\n"
              "with the columns of the viewer's recording list: row, date, time, category, path, name, KiB.\n"
              "A card's mount root is scanned as the card; anything else is taken like a drop.\n"
              "\n"
              "exit status: 0 listed, 1 the listing could not be written, 2 wrong arguments or a missing "
              "PATH.\n";
}

/// Pushes out what `stream` holds; false when any of it could not be written (a full disk, a closed pipe),
/// with the reason in *reason.
bool StreamWritten(QTextStream& stream, QString* reason)
{
    stream.flush();
    auto* file = qobject_cast<QFileDevice*>(stream.device());
    const bool written = stream.status() != QTextStream::WriteFailed && (!file || file->flush())
        && (!file || file->error() == QFileDevice::NoError);
    if (!written)
        *reason = stream.device() ? stream.device()->errorString() : QStringLiteral("write failed");
    return written;
}

/// The text listing, one tab-separated line a row, encoded straight into UTF-8 and written in large blocks:
/// with a card's ten thousand rows, a string per column and a formatted print per value cost more than
/// listing the card. The columns are those of ListRowFor.
class ListingWriter {
public:
    explicit ListingWriter(QTextStream& stream)
        : m_stream(stream)
        , m_block(kBlockSize)
    {
    }
    ~ListingWriter() { Flush(); }
    ListingWriter(const ListingWriter&) = delete;
    ListingWriter& operator=(const ListingWriter&) = delete;

    void WriteRow(const RecordingEntry& entry, int rowIndex)
    {
        const std::string_view category = CategoryText(CategoryOf(entry.name));
        // Room for the longest row these texts can make: seven numbers, the separators, both texts encoded.
        const size_t room = 7 * kMaxDigits + 16 + category.size()
            + size_t(m_utf8.requiredSpace(entry.path.size() + entry.name.size()));
        if (m_used + room > m_block.size()) {
            Flush();
            if (room > m_block.size())
                m_block.resize(room);
        }
        const SystemTime& t = entry.dateTime;
        char* out = m_block.data() + m_used;
        out = Number(out, quint64(rowIndex) + 1, 1);
        *out++ = '\t';
        out = Number(out, t.year, 4);
        *out++ = '-';
        out = Number(out, t.month, 2);
        *out++ = '-';
        out = Number(out, t.day, 2);
        *out++ = '\t';
        out = Number(out, t.hour, 2);
        *out++ = ':';
        out = Number(out, t.minute, 2);
        *out++ = ':';
        out = Number(out, t.second, 2);
        *out++ = '\t';
        out = std::copy(category.begin(), category.end(), out);
        *out++ = '\t';
        out = m_utf8.appendToBuffer(out, entry.path);
        *out++ = '\t';
        out = m_utf8.appendToBuffer(out, entry.name);
        *out++ = '\t';
        out = Number(out, entry.sizeKiB, 1);
        *out++ = '\n';
        m_used = size_t(out - m_block.data());
    }

    void Flush()
    {
        if (m_used == 0)
            return;
        m_stream.flush();
        if (QIODevice* device = m_stream.device()) {
            if (device->write(m_block.data(), qint64(m_used)) != qint64(m_used))
                m_failed = true;
        } else {
            m_stream << QString::fromUtf8(m_block.data(), qsizetype(m_used));
        }
        m_used = 0;
    }

    /// Writes what is left; false when any of the listing could not be written.
    bool Finish(QString* reason)
    {
        Flush();
        return StreamWritten(m_stream, reason) && !m_failed;
    }

private:
    static constexpr size_t kBlockSize = 64 * 1024;
    static constexpr size_t kMaxDigits = 20;

    // "%0*d": at least `width` digits.
    static char* Number(char* out, quint64 value, int width)
    {
        char digits[kMaxDigits];
        int count = 0;
        do {
            digits[count++] = char('0' + value % 10);
            value /= 10;
        } while (value != 0);
        for (int i = count; i < width; ++i)
            *out++ = '0';
        while (count > 0)
            *out++ = digits[--count];
        return out;
    }

    // The few category labels, encoded once.
    std::string_view CategoryText(RecordingCategory category)
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
    std::vector<char> m_block;
    size_t m_used = 0;
    bool m_failed = false;
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

    // The process ends after the listing: its entries are left to the exit rather than handed back one by
    // one, which takes about as long as printing them.
    static RecordingLibrary* kept = nullptr;
    delete kept;
    kept = new RecordingLibrary;
    RecordingLibrary& library = *kept;
    library.AddExtension(QStringLiteral("AVI"));
    library.RefreshSources();
    const int source = library.SourceIndexForPath(paths.first());
    library.OpenSource(source, DroppedPaths { paths });

    const QVector<RecordingEntry>& entries = library.Entries();
    if (!json) {
        ListingWriter writer(io.out);
        for (int i = 0; i < entries.size(); ++i)
            writer.WriteRow(entries[i], i);
        QString reason;
        if (!writer.Finish(&reason)) {
            io.err << "zq481k-tool scan: cannot write the listing: " << reason << '\n';
            return 1;
        }
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
    QString reason;
    if (!StreamWritten(io.out, &reason)) {
        io.err << "zq481k-tool scan: cannot write the listing: " << reason << '\n';
        return 1;
    }
    return 0;
}

} // namespace zq::tool
