#pragma once

#include "CGPSData.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace zq {

/// The moment of a fix in UTC, from the sentence's own date and time fields (the hour field holds UTC + 9,
/// which is taken off again). None when the date or the time of day is not a real one: an empty or zero
/// date, a sentence cut short before its date, a month 13, a 31 April.
std::optional<QDateTime> FixTimeUtc(const CGPSData& fix);

/// ISO 8601 in UTC with whole seconds, "2017-05-31T00:05:07Z"; empty when there is no time.
QString IsoUtc(const std::optional<QDateTime>& time);

/// Whether a fix belongs on a map: its status is valid and its position lies on the globe (a sentence with
/// a damaged field can claim latitude 9912 and still say "A").
bool HasMapPosition(const CGPSData& fix);

} // namespace zq
