#pragma once

#include <QtGlobal>
#include <optional>

namespace zq {

/// Maps a playback position to a sample, taking the count samples as evenly spread over the duration:
/// with step = duration / count, sample i covers the positions after step * i up to step * (i + 1).
/// Position and duration are milliseconds of which only the low 32 bits count, as unsigned. None when
/// count < 1 or the position lies beyond the last sample (with step 0 only position 0 maps, to 0).
std::optional<qsizetype> SampleIndexForTime(qint64 positionMs, qint64 durationMs, qsizetype count);

} // namespace zq
