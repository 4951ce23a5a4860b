#pragma once

#include <QByteArray>
#include <QVector>

// A RIFF reader of the tests' own, independent of the generator, to check what it writes.
namespace zq::test {

struct RiffChunk {
    QByteArray id;
    quint32 size = 0; // the size field
    qint64 offset = 0; // of the chunk header in the file
    QByteArray listType; // for "RIFF" and "LIST"
    QVector<RiffChunk> children;

    qint64 payloadOffset() const { return offset + 8; }
    const RiffChunk* child(const QByteArray& childId, const QByteArray& type = {}) const;
    QVector<const RiffChunk*> childrenWith(const QByteArray& childId, const QByteArray& type = {}) const;
};

struct RiffFile {
    RiffChunk root;
    bool wellFormed = false; // every size fits its parent, the pads are in place, nothing trails
    QByteArray bytes;
    QByteArray payload(const RiffChunk& chunk) const { return bytes.mid(chunk.payloadOffset(), chunk.size); }
};

RiffFile ParseRiff(const QByteArray& bytes);

quint16 U16At(const QByteArray& bytes, qsizetype offset);
quint32 U32At(const QByteArray& bytes, qsizetype offset);

} // namespace zq::test
