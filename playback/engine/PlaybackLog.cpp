#include "PlaybackLog.h"

Q_LOGGING_CATEGORY(lcPlayback, "zq.playback")

namespace zq {

HRESULT LogFailure(HRESULT hr)
{
    qCWarning(lcPlayback, "FAIL %d", hr);
    return hr;
}

} // namespace zq
