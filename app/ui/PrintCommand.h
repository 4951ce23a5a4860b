#pragma once

#include "ReportInput.h"

#include <QString>

namespace zq {

class CCorvaneDlg;
class Player;

/// The Print command of the main window: the report of the moment on screen, printed on the printer the
/// print dialog chooses (or into a PDF file). Playback is paused for it and stays paused.
class PrintCommand {
public:
    enum class Result { NotAllowed, Cancelled, Printed, Failed };

    explicit PrintCommand(CCorvaneDlg& window);

    /// Runs the command; only a recording that is playing or paused can be printed.
    Result Run();
    /// The report of the player's current moment: its frames at the recording's own size, the sensor
    /// values at its position, the map picture when the map view shows a position.
    static ReportInput Collect(Player& player);

private:
    CCorvaneDlg& m_window;
};

} // namespace zq
