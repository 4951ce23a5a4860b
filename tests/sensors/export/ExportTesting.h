#pragma once

#include "ExportRecording.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <initializer_list>
#include <optional>

namespace zq::test {

/// A recording named name whose fixes are parsed from the given RMC sentences, as the walk parses them.
ExportRecording RecordingOf(const QString& name, std::initializer_list<const char*> sentences);

/// Runs xmllint --schema on the bytes (without the network); empty when valid, xmllint's complaint otherwise.
QString SchemaProblems(const QByteArray& document, const QString& schemaFile);

/// The rows of an RFC 4180 text, read back by a parser of the test's own (quoted fields, doubled quotes,
/// line breaks inside quotes); nullopt when the text breaks the format (a line not ending in CR LF, a
/// stray quote).
std::optional<QVector<QStringList>> ParseCsv(const QByteArray& text);

} // namespace zq::test
