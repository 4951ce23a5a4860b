#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace zq::device {

constexpr int kSetupLineCount = 25;
/// Every setup.cfg line starts with a 26-byte label; the value follows at byte 26.
constexpr int kSetupLabelBytes = 26;

/// The label of a setup.cfg line, exactly as the recorder expects it (26 bytes, spelling included).
QByteArray SetupLabel(int line);
/// The field name of a line: its label without the padding and the colon ("Acc Trigger Level").
QString SetupFieldName(int line);
/// Line number of a field name (case-insensitive, surrounding spaces ignored); -1 when there is none.
int SetupLineForName(const QString& name);

/// The lines as a C text-mode reader with a 256-byte buffer sees them: CR LF is one line end (LF), and a
/// line longer than 255 bytes arrives in several pieces, each taken as a line. Line ends stay on the pieces.
QVector<QByteArray> TextModeLines(const QByteArray& bytes);

/// Values of setup.cfg in line order: the bytes after the label, decoded and trimmed of backspace, tab,
/// CR and LF. Reading stops at the first line of 26 bytes or fewer (line end included), so the result may
/// hold fewer than 25 values, and more when the file is longer.
QStringList ParseSetupValues(const QByteArray& bytes);

/// The decimal integer at the start of a text, as atoi reads it (white space, sign, digits; 0 if none),
/// saturated at the limits of a 32-bit integer.
int LeadingInt(const QString& text);

/// The 25 lines of setup.cfg (without line ends) from the 25 values.
QStringList FormatSetupLines(const QStringList& values);
/// The bytes on disk: each line in the local 8-bit encoding, ending in CR LF.
QByteArray JoinFileLines(const QStringList& lines);

} // namespace zq::device
