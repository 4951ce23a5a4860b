#include "TimeFile.h"

#include "SetupFile.h"

#include <QVector>

namespace zq::device {

TimeFields ParseTimeText(const QByteArray& bytes)
{
    const QVector<QByteArray> lines = TextModeLines(bytes);
    auto field = [&lines](int line, int pos) {
        if (line >= lines.size())
            return QString();
        QString text = QString::fromLocal8Bit(lines[line].mid(pos, 2));
        // Only the line end is cut: the field is what stands at that position, nothing else.
        while (text.endsWith('\n') || text.endsWith('\r'))
            text.chop(1);
        return text;
    };
    TimeFields fields;
    // "20" goes in front only of a year that is there: on its own it would pick the first year of the list.
    const QString shortYear = field(0, 0);
    if (!shortYear.isEmpty())
        fields.year = QStringLiteral("20") + shortYear;
    fields.month = field(0, 3);
    fields.day = field(0, 6);
    fields.hour = field(1, 0);
    fields.minute = field(1, 3);
    fields.second = field(1, 6);
    return fields;
}

QStringList FormatTimeLines(const TimeFields& fields)
{
    return { fields.year.mid(2, 2) + '/' + fields.month + '/' + fields.day,
        fields.hour + '/' + fields.minute + '/' + fields.second };
}

} // namespace zq::device
