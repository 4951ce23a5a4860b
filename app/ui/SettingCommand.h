#pragma once

namespace zq {

class CCorvaneDlg;

/// The Setting command of the main window: runs the settings dialog and applies what it changed (rear
/// mirror, interface language, a formatted card). Playback is paused for it and resumes afterwards when it
/// was running and there is still a list to play from.
class SettingCommand {
public:
    explicit SettingCommand(CCorvaneDlg& window);

    /// Runs the command; whether the dialog was confirmed.
    bool Run();

private:
    void ApplyConfirmed();

    CCorvaneDlg& m_window;
};

} // namespace zq
