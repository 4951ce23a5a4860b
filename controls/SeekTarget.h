#pragma once

#include <QtGlobal>

namespace zq {

/// What the position slider seeks: the main window's player, through a small adapter. Positions are
/// milliseconds from the start of the recording.
class SeekTarget {
public:
    virtual ~SeekTarget() = default;

    /// Moves playback to the position.
    virtual void SetPosition(qint64 positionMs) = 0;
    /// True while a recording is being opened: the slider then ignores the mouse.
    virtual bool IsBusy() const = 0;
};

} // namespace zq
