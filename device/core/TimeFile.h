#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zq::device {

/// The six fields of time.cfg as the clock lists take them: the year with "20" in front ("2017"), the
/// others as the two characters found in the file.
struct TimeFields {
    QString year, month, day, hour, minute, second;
};

/// Reads the two lines by position (characters 0-1, 3-4, 6-7), so any separator is accepted. A missing
/// line or a short one gives empty or shortened fields; an empty field selects nothing.
TimeFields ParseTimeText(const QByteArray& bytes);

/// The two lines of time.cfg without line ends: year (last two digits of a four-digit year) / month /
/// day, then hour / minute / second; "/" in both.
QStringList FormatTimeLines(const TimeFields& fields);

} // namespace zq::device
