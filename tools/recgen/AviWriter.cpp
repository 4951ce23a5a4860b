#include "AviWriter.h"

#include <QFile>
#include <algorithm>

namespace zq::recgen {

namespace {

constexpr int kBitmapInfoBytes = 40;
// ffmpeg reserves room for an OpenDML super index in every stream header list and pads the header with a
// JUNK chunk of this size; recorders do much the same, so readers meet both.
constexpr int kStreamJunkBytes = 4120;
constexpr int kHeaderJunkBytes = 1016;
constexpr int kIndexEntryBytes = 16;
constexpr quint32 kAvifHasIndex = 0x10;
constexpr quint32 kAvifIsInterleaved = 0x100;
constexpr qint64 kMaxRiffBytes = 0xFFFFFFF0ll;
constexpr qsizetype kWriteBufferBytes = 4 << 20;
const QByteArray kSoftware = QByteArrayLiteral("ZQ481K");

qint64 Padded(qint64 size)
{
    return size + (size & 1);
}

void PutU16(QByteArray& out, quint32 value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void PutU32(QByteArray& out, quint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((value >> shift) & 0xFF));
}

void PutChunk(QByteArray& out, const char* id, const QByteArray& payload)
{
    out.append(id, 4);
    PutU32(out, quint32(payload.size()));
    out.append(payload);
    if (payload.size() & 1)
        out.append('\0');
}

QByteArray List(const char* type, const QByteArray& content)
{
    QByteArray list("LIST");
    PutU32(list, quint32(content.size() + 4));
    list.append(type, 4);
    list.append(content);
    return list;
}

QByteArray ChunkId(int stream, bool video)
{
    return QByteArray::number(stream).rightJustified(2, '0') + (video ? "dc" : "wb");
}

int MaxUnitSize(const AviStream& stream)
{
    int largest = 0;
    for (const EncodedStream::Unit& unit : stream.encoded.units)
        largest = std::max(largest, unit.size);
    return largest;
}

quint32 StreamLength(const AviStream& stream)
{
    return quint32(stream.chunkCount * stream.chunkScale);
}

struct ScheduledChunk {
    int stream;
    qint64 chunk;
};

// Chunks in the order a recorder writes them: by start time, video before audio at the same instant.
QVector<ScheduledChunk> Schedule(const QVector<AviStream>& streams)
{
    QVector<ScheduledChunk> order;
    qint64 total = 0;
    for (const AviStream& stream : streams)
        total += stream.chunkCount;
    order.reserve(total);
    QVector<qint64> next(streams.size(), 0);
    for (qint64 written = 0; written < total; ++written) {
        int best = -1;
        for (int index = 0; index < streams.size(); ++index) {
            const AviStream& stream = streams.at(index);
            if (next[index] >= stream.chunkCount)
                continue;
            if (best < 0) {
                best = index;
                continue;
            }
            // Start times next*chunkScale*scale/rate compared without rounding.
            const AviStream& other = streams.at(best);
            const qint64 mine = next[index] * stream.chunkScale * stream.scale * qint64(other.rate);
            const qint64 theirs = next[best] * other.chunkScale * other.scale * qint64(stream.rate);
            if (mine < theirs)
                best = index;
        }
        order.append({ best, next[best] });
        ++next[best];
    }
    return order;
}

const EncodedStream::Unit& UnitFor(const AviStream& stream, qint64 chunk)
{
    return stream.encoded.units.at(qsizetype(chunk % stream.encoded.units.size()));
}

QByteArray StreamHeaderList(const AviStream& stream)
{
    QByteArray strh;
    strh.append(stream.video ? "vids" : "auds", 4);
    if (stream.video)
        strh.append("H264", 4);
    else
        PutU32(strh, 0);
    PutU32(strh, 0); // dwFlags
    PutU16(strh, 0); // wPriority
    PutU16(strh, 0); // wLanguage
    PutU32(strh, 0); // dwInitialFrames
    PutU32(strh, stream.scale);
    PutU32(strh, stream.rate);
    PutU32(strh, 0); // dwStart
    PutU32(strh, StreamLength(stream));
    PutU32(strh, quint32(MaxUnitSize(stream)));
    PutU32(strh, 0xFFFFFFFFu); // dwQuality: the default
    PutU32(strh, stream.sampleSize);
    PutU16(strh, 0);
    PutU16(strh, 0);
    PutU16(strh, stream.video ? quint32(stream.width) : 0);
    PutU16(strh, stream.video ? quint32(stream.height) : 0);

    QByteArray strf;
    if (stream.video) {
        PutU32(strf, kBitmapInfoBytes);
        PutU32(strf, quint32(stream.width));
        PutU32(strf, quint32(stream.height));
        PutU16(strf, 1); // biPlanes
        PutU16(strf, 24); // biBitCount
        strf.append("H264", 4);
        PutU32(strf, quint32(stream.width * stream.height * 3));
        PutU32(strf, 0);
        PutU32(strf, 0);
        PutU32(strf, 0);
        PutU32(strf, 0);
    } else {
        PutU16(strf, stream.formatTag);
        PutU16(strf, quint32(stream.channels));
        PutU32(strf, quint32(stream.sampleRate));
        qint64 bytes = 0;
        for (const EncodedStream::Unit& unit : stream.encoded.units)
            bytes += unit.size;
        const qint64 units = std::max<qint64>(1, stream.encoded.units.size());
        const quint32 averageBytesPerSecond = stream.sampleSize > 0
            ? stream.rate * stream.sampleSize / std::max<quint32>(1, stream.scale)
            : quint32(bytes * stream.rate / (units * std::max<quint32>(1, stream.scale)));
        PutU32(strf, averageBytesPerSecond);
        PutU16(strf, stream.blockAlign);
        PutU16(strf, quint32(stream.bitsPerSample));
        PutU16(strf, quint32(stream.formatExtra.size()));
        strf.append(stream.formatExtra);
    }

    QByteArray content;
    PutChunk(content, "strh", strh);
    PutChunk(content, "strf", strf);
    if (!stream.strd.isEmpty())
        PutChunk(content, "strd", stream.strd);
    PutChunk(content, "JUNK", QByteArray(kStreamJunkBytes, '\0'));
    return List("strl", content);
}

struct Layout {
    QByteArray head; // RIFF header, hdrl, INFO and the JUNK pad
    QByteArray index; // the idx1 chunk, with the JUNK asked for in front of it
    qint64 moviBytes = 0; // the whole movi LIST, header included
    qint64 total = 0;
    QVector<ScheduledChunk> order;
};

Layout Plan(const QVector<AviStream>& streams, const AviLayoutOptions& options)
{
    Layout layout;
    layout.order = Schedule(streams);

    qint64 moviPayload = 0;
    quint32 largestChunk = 0;
    for (const ScheduledChunk& chunk : layout.order) {
        const int size = UnitFor(streams.at(chunk.stream), chunk.chunk).size;
        moviPayload += 8 + Padded(size);
        largestChunk = std::max<quint32>(largestChunk, quint32(size));
    }
    layout.moviBytes = 12 + moviPayload;

    // The index: offsets count from the "movi" fourcc, so the first chunk sits at 4.
    QByteArray entries;
    entries.reserve(layout.order.size() * kIndexEntryBytes);
    qint64 offset = 4;
    for (const ScheduledChunk& chunk : layout.order) {
        const AviStream& stream = streams.at(chunk.stream);
        const EncodedStream::Unit& unit = UnitFor(stream, chunk.chunk);
        entries.append(ChunkId(chunk.stream, stream.video));
        PutU32(entries, unit.keyframe ? AviWriter::kIndexKeyframe : 0);
        PutU32(entries, quint32(offset));
        PutU32(entries, quint32(unit.size));
        offset += 8 + Padded(unit.size);
    }
    if (options.junkBeforeIdx1Bytes > 0)
        PutChunk(layout.index, "JUNK", QByteArray(options.junkBeforeIdx1Bytes, '\0'));
    PutChunk(layout.index, "idx1", entries);

    const AviStream& first = streams.first();
    const double seconds = first.rate > 0 ? double(first.chunkCount) * first.scale / first.rate : 0.0;
    QByteArray avih;
    PutU32(avih, first.rate > 0 ? quint32(qRound64(1000000.0 * first.scale / first.rate)) : 0);
    PutU32(avih, seconds > 0.0 ? quint32(qMin<double>(moviPayload / seconds, 0xFFFFFFFFu)) : 0);
    PutU32(avih, 0); // dwPaddingGranularity
    PutU32(avih, kAvifHasIndex | kAvifIsInterleaved);
    PutU32(avih, quint32(first.chunkCount));
    PutU32(avih, 0); // dwInitialFrames
    PutU32(avih, quint32(streams.size()));
    PutU32(avih, largestChunk + 8);
    PutU32(avih, quint32(first.width));
    PutU32(avih, quint32(first.height));
    for (int reserved = 0; reserved < 4; ++reserved)
        PutU32(avih, 0);

    QByteArray hdrl;
    PutChunk(hdrl, "avih", avih);
    for (int index = 0; index < streams.size(); ++index)
        hdrl.append(StreamHeaderList(streams.at(index)));

    QByteArray info;
    PutChunk(info, "ISFT", kSoftware + '\0');

    QByteArray body = List("hdrl", hdrl);
    body.append(List("INFO", info));
    PutChunk(body, "JUNK", QByteArray(kHeaderJunkBytes, '\0'));

    layout.total = 12 + body.size() + layout.moviBytes + layout.index.size();
    layout.head = "RIFF";
    PutU32(layout.head, quint32(std::min(layout.total - 8, kMaxRiffBytes)));
    layout.head.append("AVI ");
    layout.head.append(body);
    return layout;
}

class BufferedFile {
public:
    explicit BufferedFile(const QString& path)
        : m_file(path)
    {
        m_buffer.reserve(kWriteBufferBytes);
    }

    bool open() { return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate); }
    QString errorString() const { return m_file.errorString(); }

    bool write(const char* data, qsizetype size)
    {
        if (m_buffer.size() + size > kWriteBufferBytes && !flush())
            return false;
        if (size >= kWriteBufferBytes)
            return m_file.write(data, size) == size;
        m_buffer.append(data, size);
        return true;
    }
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }

    bool flush()
    {
        if (m_buffer.isEmpty())
            return true;
        const bool ok = m_file.write(m_buffer) == m_buffer.size();
        m_buffer.clear();
        return ok;
    }
    bool close()
    {
        const bool ok = flush() && m_file.flush();
        m_file.close();
        return ok;
    }

private:
    QFile m_file;
    QByteArray m_buffer;
};

} // namespace

qint64 AviWriter::PlannedSize(const QVector<AviStream>& streams, const AviLayoutOptions& options)
{
    return Plan(streams, options).total;
}

bool AviWriter::Write(
    const QString& path, const QVector<AviStream>& streams, const AviLayoutOptions& options, QString* error)
{
    if (streams.isEmpty()) {
        *error = QStringLiteral("a recording needs at least one stream");
        return false;
    }
    for (const AviStream& stream : streams) {
        if (stream.chunkCount > 0 && stream.encoded.units.isEmpty()) {
            *error = QStringLiteral("a stream has no encoded data");
            return false;
        }
    }
    const Layout layout = Plan(streams, options);
    if (layout.total - 8 > kMaxRiffBytes) {
        *error = QStringLiteral("the recording would exceed the 4 GiB that a RIFF file can hold");
        return false;
    }

    BufferedFile file(path);
    if (!file.open()) {
        *error = QStringLiteral("cannot create %1: %2").arg(path, file.errorString());
        return false;
    }
    QByteArray moviHeader("LIST");
    PutU32(moviHeader, quint32(layout.moviBytes - 8));
    moviHeader.append("movi");

    bool ok = file.write(layout.head);
    if (options.idx1BeforeMovi)
        ok = ok && file.write(layout.index);
    ok = ok && file.write(moviHeader);
    QByteArray chunkHeader;
    for (const ScheduledChunk& chunk : layout.order) {
        if (!ok)
            break;
        const AviStream& stream = streams.at(chunk.stream);
        const EncodedStream::Unit& unit = UnitFor(stream, chunk.chunk);
        chunkHeader = ChunkId(chunk.stream, stream.video);
        PutU32(chunkHeader, quint32(unit.size));
        ok = file.write(chunkHeader) && file.write(stream.encoded.data.constData() + unit.offset, unit.size);
        if (ok && (unit.size & 1))
            ok = file.write("\0", 1);
    }
    if (!options.idx1BeforeMovi)
        ok = ok && file.write(layout.index);
    ok = file.close() && ok;
    if (!ok) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace zq::recgen
