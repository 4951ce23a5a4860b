#include "SetupFile.h"

#include <array>
#include <climits>

namespace zq::device {

namespace {

// The recorder's own spelling, "Qulity" and "Version" included.
constexpr std::array<const char*, kSetupLineCount> kLabels = {
    "Product Name            : ",
    "H/W Version             : ",
    "S/W Version             : ",
    "Acc Trigger Level       : ",
    "REC Video Qulity        : ",
    "REC Audio Enable        : ",
    "SPK Vol                 : ",
    "Video Channels          : ",
    "Parking Mode Select     : ",
    "Car Battery Volt        : ",
    "Battery CutOff Volt     : ",
    "Power Off Timer         : ",
    "SD Allocation           : ",
    "Speaker Mute            : ",
    "LCD Off Time            : ",
    "LDWS Set On             : ",
    "FCWS Set On             : ",
    "Sensitivity_LDWS        : ",
    "Sensitivity_FCWS        : ",
    "Center_X                : ",
    "GShock Event Count      : ",
    "Radar Event Count       : ",
    "ADAS Car Type           : ",
    "Parking Mode            : ",
    "Night Version OnOff     : ",
};

// fgets with a 256-byte buffer returns at most 255 bytes per call.
constexpr qsizetype kMaxPieceBytes = 255;

bool isTrimmed(QChar c)
{
    return c == QChar(0x08) || c == QChar('\t') || c == QChar('\r') || c == QChar('\n');
}

QString trimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text.at(begin)))
        ++begin;
    while (end > begin && isTrimmed(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

QByteArray SetupLabel(int line)
{
    if (line < 0 || line >= kSetupLineCount)
        return {};
    return QByteArray(kLabels[size_t(line)]);
}

QString SetupFieldName(int line)
{
    QByteArray label = SetupLabel(line);
    label.chop(2); // ": "
    return QString::fromLatin1(label.trimmed());
}

int SetupLineForName(const QString& name)
{
    const QString wanted = name.trimmed();
    for (int line = 0; line < kSetupLineCount; ++line) {
        if (SetupFieldName(line).compare(wanted, Qt::CaseInsensitive) == 0)
            return line;
    }
    return -1;
}

QVector<QByteArray> TextModeLines(const QByteArray& raw)
{
    QByteArray bytes = raw;
    bytes.replace("\r\n", "\n");
    QVector<QByteArray> pieces;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', pos);
        const qsizetype lineEnd = newline < 0 ? bytes.size() : newline + 1;
        const qsizetype pieceEnd = std::min(lineEnd, pos + kMaxPieceBytes);
        pieces.append(bytes.mid(pos, pieceEnd - pos));
        pos = pieceEnd;
    }
    return pieces;
}

QStringList ParseSetupValues(const QByteArray& bytes)
{
    QStringList values;
    for (const QByteArray& line : TextModeLines(bytes)) {
        if (line.size() <= kSetupLabelBytes)
            break;
        values.append(trimControls(QString::fromLocal8Bit(line.mid(kSetupLabelBytes))));
    }
    return values;
}

int LeadingInt(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == ' ' || (text[i] >= QChar('\t') && text[i] <= QChar('\r'))))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    while (i < n && text[i] >= QChar('0') && text[i] <= QChar('9')) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
        ++i;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}

QStringList FormatSetupLines(const QStringList& values)
{
    QStringList lines;
    for (int line = 0; line < kSetupLineCount; ++line)
        lines.append(QString::fromLatin1(SetupLabel(line)) + values.value(line));
    return lines;
}

QByteArray JoinFileLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLocal8Bit() + "\r\n";
    return bytes;
}

} // namespace zq::device
