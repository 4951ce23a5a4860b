#pragma once

#include "BackgroundPainter.h"
#include "CommandTable.h"
#include "MainChildren.h"
#include "MainLayout.h"
#include "Player.h"
#include "RecordingLibrary.h"
#include "RecordingListFill.h"

#include <QDialog>
#include <QStringList>
#include <memory>

namespace zq {

class CFileLoadDlg;
class MapRouting;
class CZoomDlg;
class MainCommands;
class PlaybackController;
class RecordingOpener;
class SensorDisplaySync;
class SeekTarget;
namespace platform {
class VolumeMonitor;
}

/// The viewer's main window: a frameless, skinned dialog. It creates the children and the units that do
/// the work (layout arithmetic, command table, playback controller, recording opener, sensor sync,
/// background painter) and routes between them.
class CCorvaneDlg : public QDialog {
    Q_OBJECT
    friend class MainCommands;

public:
    static constexpr int kTimerWaitingRow = 4;
    static constexpr int kTimerCardRemoval = 6;
    static constexpr int kTimerStartupNotice = 7;
    static constexpr int kTimerPeriodMs = 1000;
    static constexpr int kOpenFailedText = 266;
    static constexpr int kNoRecordingsText = 251;

    struct Options {
        /// Whether the start-up notice runs once the event loop starts (widget tests leave it out).
        bool startupNotice = true;
        /// Whether removable volumes are watched.
        bool watchVolumes = true;
    };

    explicit CCorvaneDlg(QWidget* parent = nullptr);
    CCorvaneDlg(const Options& options, QWidget* parent = nullptr);
    ~CCorvaneDlg() override;

    /// Paths taken like a drop once the start-up notice has closed (the command line's).
    void SetStartupPaths(const QStringList& paths) { m_startupPaths = paths; }
    /// The start-up answer of the connection check: the map page is requested when online.
    void SetOnline(bool online);

    void ApplyLayout(int layoutMode);
    void SetChannelView(int view);
    void ApplyChannelCount(int channelCount);
    void HideScreens();
    void SetMute(bool on);
    void StartPlayback();
    void PausePlayback();
    void SelectCategoryButtons(int category, const QString& fileName);
    /// Shows every text, tool tip and per-language image of the window in the language.
    void ApplyLanguage(int language);

    void OpenListRow(int row);
    void CloseRecording(bool hideScreens);
    void ResetPlaybackDisplays();
    void ResetSource();
    void ResetAfterCardRemoval();
    /// A removable volume went away; only the current source's matters.
    void OnVolumeRemoved(const QString& root);
    /// Files or folders dropped on the window or the list (or given on the command line).
    void HandleDrop(const QStringList& paths);
    /// The loading dialog's work after an open or a drop: fill the list and open row 0.
    void FillAfterLoad(const QString& path);
    /// A double click on a list row: the row waits for timer 4.
    void OnRowDoubleClicked(int row);

    int LayoutMode() const { return m_layoutMode; }
    int ChannelView() const { return m_channelView; }
    bool FrontShown() const { return m_frontShown; }
    bool RearShown() const { return m_rearShown; }
    bool IsMuted() const { return m_mute; }
    bool IsWorkerBusy() const;
    bool IsInitialised() const { return m_initialised; }
    const QString& CurrentFileName() const { return m_currentFileName; }
    const QString& SourceRoot() const { return m_sourceRoot; }
    const QString& TemporaryFolderPath() const { return m_temporaryFolder; }
    const MainChildren& Children() const { return m_children; }
    CommandTable& Commands() { return m_commands; }
    MainCommands& Handlers() { return *m_handlers; }
    Player& GetPlayer() { return m_player; }
    RecordingLibrary& Library() { return m_library; }
    RecordingListFill& ListFill() { return m_fill; }
    RecordingOpener* Opener() const { return m_opener; }
    PlaybackController* Controller() const { return m_controller; }
    CFileLoadDlg* LoadingDialog() const { return m_loadDlg; }
    MapRouting* Map() const { return m_map; }
    const BackgroundPainter& Painter() const { return m_painter; }
    MainLayout CurrentLayout() const;
    /// Runs a command as a button or key would.
    bool RunCommand(int id);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void InitDialog(const Options& options);
    void RegisterCommands();
    void ConnectUnits();
    void OnClose();
    void ShowScreensForView();
    void PlaceScreens();
    void UpdateVideoWindows();
    void EnableTransport(bool enabled);
    void SetButtonEnabled(int id, bool enabled);
    void ShowPauseButton(bool playing);
    void SetCategoryButtonsEnabled(const CategoryPresence& presence);
    void ShowMessage(int textId);
    void StepAfterEnd();
    void StartTimer(int which);
    void KillTimer(int which);
    MapState CurrentMapState() const;
    int VolumePercent() const;

    RecordingLibrary m_library;
    RecordingListFill m_fill;
    Player m_player;
    bool m_initialised = false;
    bool m_closing = false;
    int m_layoutMode = kLayoutNormal;
    int m_channelView = kViewFront;
    bool m_mute = false;
    bool m_frontShown = false;
    bool m_rearShown = false;
    int m_openRow = -1;
    int m_waitingRow = -1;
    qint64 m_durationMs = 0;
    QString m_currentFileName;
    QString m_sourceRoot;
    QString m_temporaryFolder;
    QStringList m_startupPaths;
    MainChildren m_children;
    CommandTable m_commands;
    BackgroundPainter m_painter;
    CFileLoadDlg* m_loadDlg = nullptr;
    SensorDisplaySync* m_sync = nullptr;
    PlaybackController* m_controller = nullptr;
    RecordingOpener* m_opener = nullptr;
    MapRouting* m_map = nullptr;
    platform::VolumeMonitor* m_volumes = nullptr;
    std::unique_ptr<SeekTarget> m_seekTarget;
    std::unique_ptr<MainCommands> m_handlers;
    CZoomDlg* m_zoom = nullptr;
    int m_timers[8] = {};
};

} // namespace zq
