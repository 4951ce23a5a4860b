#pragma once

#include <QtGlobal>

namespace zq {

/// A calendar date and time as the recorder's names give it (no time zone).
struct SystemTime {
    quint16 year = 0;
    quint16 month = 0;
    quint16 dayOfWeek = 0;
    quint16 day = 0;
    quint16 hour = 0;
    quint16 minute = 0;
    quint16 second = 0;
    quint16 milliseconds = 0;
};

/// 100-ns ticks since 1601-01-01 00:00, split into halves as the recorder's PC software stores them.
struct FileTime {
    quint32 low = 0;
    quint32 high = 0;
    quint64 Ticks() const { return (quint64(high) << 32) | low; }
};

/// Converts a date-time to ticks since 1601 as Windows' SystemTimeToFileTime does: false, leaving *out
/// untouched, for a date that does not exist (year outside 1601..30827, month 0 or 13, 31 April, 29 February
/// of a common year, hour 24 ...). The day of week is not examined.
bool SystemTimeToFileTime(const SystemTime& time, FileTime* out);

} // namespace zq
