#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Readable QString values in assertion messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace zq::test {

/// Folder of the committed test data (tests/data).
QString dataPath(const QString& relative);

/// Writes bytes to a file, creating parent folders; returns false on failure.
bool writeFile(const QString& path, const QByteArray& bytes);

/// Reads a whole file; empty when it cannot be read.
QByteArray readFile(const QString& path);

/// Folder that holds the built program bundle (zq481k-tool, lang/, ...).
QString bundleDir();

} // namespace zq::test
