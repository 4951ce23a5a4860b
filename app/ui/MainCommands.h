#pragma once

#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

class QKeyEvent;
class QUrl;

namespace zq {

class CCorvaneDlg;
class CommandTable;
class SeekTarget;
struct SnapshotResult;

/// The main window's command handlers: buttons, context-menu commands, keys and the volume control's
/// message. The window registers them in its command table, which refuses all but Close while an open is
/// in progress; commands that open a modal window pause first here and resume where they should.
class MainCommands {
public:
    static constexpr int kSliderStep = 10;
    static constexpr int kSliderNeutral = 50;
    static constexpr int kMaxVolumeLevel = 10;
    static constexpr int kSnapshotSavedText = 145;

    explicit MainCommands(CCorvaneDlg* window);
    ~MainCommands();

    /// What a press on the G-sensor graph seeks: the player, and the position slider moves with it as
    /// it does under its own thumb.
    SeekTarget* GraphSeekTarget() const { return m_graphSeek.get(); }

    /// Adds every handler of this unit to the table.
    void Register(CommandTable& table);
    /// Every identifier Register adds, each once.
    const QVector<int>& Registered() const { return m_registered; }

    /// A key press of the window; true when it was a command key (or a swallowed Ctrl key).
    bool HandleKey(QKeyEvent* event);
    /// Routes the key presses of every child of the window through HandleKey before the child sees them,
    /// so that the list or a button with the focus does not take the command keys.
    void RouteChildKeys();
    /// The volume control reports a new level.
    void OnVolumeChanged(int level);

    /// Runs `body` with playback paused when it was running; resumes afterwards when `resume` says so.
    void Modal(const std::function<void()>& body, bool resume);
    /// The folder picker's choice handed to the library and the loading dialog.
    void OpenPicked(const QStringList& paths);
    /// What Yes in the snapshot message does with the folder (the desktop's file manager by default).
    void SetFolderOpener(std::function<void(const QUrl&)> opener) { m_openFolder = std::move(opener); }
    /// The snapshot's message: where it went and whether to open the folder, or why it failed.
    void ReportSnapshot(const SnapshotResult& result, const QString& folder);

    void Open();
    void Merge();
    void Capture();
    void ToggleLayout();
    void ToggleZoom();
    void About();
    void Maximize();
    void Prev();
    void Rewind();
    void Play();
    void Pause();
    void FastForward();
    void Next();
    void PlayPause();
    void SetSpeedPosition(int position);
    void SetBrightnessPosition(int position);
    void VolumeStep(int delta);
    void ShowCategory(int category, int buttonId);
    void ChannelView(int view, int buttonId);
    void ToggleRearMirror();
    /// Frame stepping while paused: one frame on or back.
    void StepFrame(bool forward);

private:
    bool PlayingOrPaused() const;
    bool Playing() const;
    void Seek(qint64 positionMs);

    CCorvaneDlg* m_window;
    std::function<void(const QUrl&)> m_openFolder;
    std::unique_ptr<SeekTarget> m_graphSeek;
    QVector<int> m_registered;
};

} // namespace zq
