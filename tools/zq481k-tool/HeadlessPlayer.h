#pragma once

#include "HeadlessVideoSurface.h"
#include "Player.h"

#include <QString>

namespace zq::tool {

/// A Player over a front and a rear screen that no window shows, opened as the viewer opens a recording.
/// The commands that take pictures never need a sound output, so the audio goes to a fake sink.
class HeadlessPlayer {
public:
    /// Starts GStreamer on first use and opens the recording; false when it does not play.
    bool Open(const QString& path);
    Player& player() { return m_player; }

private:
    HeadlessVideoSurface m_front;
    HeadlessVideoSurface m_rear;
    Player m_player; // declared last: it is torn down before the screens it draws on
};

} // namespace zq::tool
