#include "CMapBridge.h"

#include <cmath>

namespace zq {

void CMapBridge::seekTo(double positionMs)
{
    // The page is outside input: only a finite, non-negative position within 32 bits is passed on.
    if (!std::isfinite(positionMs) || positionMs < 0.0 || positionMs > 4294967295.0)
        return;
    emit seekRequested(qint64(positionMs));
}

} // namespace zq
