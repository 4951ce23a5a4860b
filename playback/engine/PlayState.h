#pragma once

#include <QtGlobal>

namespace zq {

/// The play state that the main window, the tick and the snapshot code read from the Player.
struct PlayState {
    static constexpr qint32 kRunning = 0;
    static constexpr qint32 kPaused = 1;
    /// Stopped; also right after a graph is built, with the first frame shown.
    static constexpr qint32 kStopped = 2;
    /// An engine exists but no graph has been built.
    static constexpr qint32 kCreated = 3;
    /// What the Player answers when it has no engine.
    static constexpr qint32 kNoEngine = -1;
};

} // namespace zq
