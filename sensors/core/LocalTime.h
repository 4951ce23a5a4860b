#pragma once

#include <QtGlobal>

namespace zq {

/// Seconds since 1970 of a local date and time read with daylight saving off, normalised as mktime does
/// (hour 24 is the next day's midnight, month -1 is December of the year before); -1 for a moment before
/// 1970 UTC or one that cannot be represented. The zone is the process's (TZ, else /etc/localtime).
/// Results are mktime's own; mktime is asked once per hour of records rather than once per record.
qint64 LocalTimeSeconds(int second, int minute, int hour, int day, int month0, int yearSince1900);

} // namespace zq
