#include "SampleIndexForTime.h"

namespace zq {

std::optional<qsizetype> SampleIndexForTime(qint64 positionMs, qint64 durationMs, qsizetype count)
{
    if (count < 1)
        return std::nullopt;
    const quint64 position = quint32(positionMs);
    const quint64 step = quint64(quint32(durationMs)) / quint64(count);
    // The smallest i with position <= step * (i + 1).
    if (step == 0)
        return position == 0 ? std::optional<qsizetype>(0) : std::nullopt;
    const quint64 index = position == 0 ? 0 : (position - 1) / step;
    if (index >= quint64(count))
        return std::nullopt;
    return qsizetype(index);
}

} // namespace zq
