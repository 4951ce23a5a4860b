#pragma once

#include "RecordingGenerator.h"
#include "TestRiff.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zq::test {

struct GeneratedFile {
    bool ok = false;
    QString error;
    recgen::GeneratedRecording result;
    RiffFile riff;
};

/// Writes a recording into folder and parses it back with the tests' own RIFF reader.
inline GeneratedFile Generate(const recgen::RecordingRequest& request, const QTemporaryDir& folder,
    const QString& name = QStringLiteral("test.avi"))
{
    GeneratedFile file;
    const QString path = folder.filePath(name);
    file.ok = recgen::WriteRecording(path, request, &file.result, &file.error);
    if (file.ok)
        file.riff = ParseRiff(readFile(path));
    return file;
}

/// The stream header lists of the "hdrl" list, in stream order.
inline QVector<const RiffChunk*> StreamLists(const RiffFile& riff)
{
    const RiffChunk* hdrl = riff.root.child("LIST", "hdrl");
    return hdrl != nullptr ? hdrl->childrenWith("LIST", "strl") : QVector<const RiffChunk*> {};
}

} // namespace zq::test
