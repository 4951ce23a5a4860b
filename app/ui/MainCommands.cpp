#include "MainCommands.h"

#include "CAboutDlg.h"
#include "CCorvaneDlg.h"
#include "CFileLoadDlg.h"
#include "CRkButtonCtrl.h"
#include "CRkListCtrl.h"
#include "CRkSimpleSliderCtrl.h"
#include "CRkSliderCtrl.h"
#include "CRkTextCtrl.h"
#include "CRkVolumeCtrl.h"
#include "CXFolderDialog.h"
#include "CZoomDlg.h"
#include "CommandIds.h"
#include "CommandTable.h"
#include "OptionFile.h"
#include "PlayState.h"
#include "PlaybackController.h"
#include "SaveChannelFrames.h"
#include "SeekTarget.h"
#include "SnapshotFolder.h"
#include "TextLookup.h"
#include "UserFolders.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMessageBox>
#include <QUrl>

namespace zq {

namespace {

bool ValidRow(const CRkListCtrl* list, int row)
{
    return row >= 0 && row < list->GetItemCount();
}

// Sees the key presses of the application first and hands those meant for the main window's children to
// the command keys.
class KeyRouter : public QObject {
public:
    KeyRouter(MainCommands* commands, QWidget* window)
        : QObject(window)
        , m_commands(commands)
        , m_window(window)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget == m_window || widget->window() != m_window)
            return false;
        return m_commands->HandleKey(static_cast<QKeyEvent*>(event));
    }

private:
    MainCommands* m_commands;
    QWidget* m_window;
};

class GraphSeek : public SeekTarget {
public:
    GraphSeek(Player* player, CRkSliderCtrl* slider, const CCorvaneDlg* window)
        : m_player(player)
        , m_slider(slider)
        , m_window(window)
    {
    }
    void SetPosition(qint64 positionMs) override
    {
        m_player->SeekMs(qint32(positionMs));
        m_slider->setValue(int(positionMs));
    }
    bool IsBusy() const override { return m_window->IsWorkerBusy(); }

private:
    Player* m_player;
    CRkSliderCtrl* m_slider;
    const CCorvaneDlg* m_window;
};

} // namespace

MainCommands::~MainCommands() = default;

void MainCommands::RouteChildKeys()
{
    qApp->installEventFilter(new KeyRouter(this, m_window));
}

MainCommands::MainCommands(CCorvaneDlg* window)
    : m_window(window)
    , m_openFolder([](const QUrl& url) { QDesktopServices::openUrl(url); })
    , m_graphSeek(std::make_unique<GraphSeek>(&window->m_player, window->m_children.position, window))
{
}

void MainCommands::Register(CommandTable& table)
{
    const auto add = [&](std::initializer_list<int> ids, const std::function<void()>& handler) {
        for (int id : ids) {
            table.Add(id, handler);
            m_registered << id;
        }
    };
    CCorvaneDlg* w = m_window;
    add({ kCmdOpen, kMenuOpen }, [this] { Open(); });
    add({ kCmdMerge }, [this] { Merge(); });
    add({ kCmdCapture }, [this] { Capture(); });
    add({ kCmdLayoutToggle }, [this] { ToggleLayout(); });
    add({ kCmdZoom }, [this] { ToggleZoom(); });
    add({ kCmdAbout }, [this] { About(); });
    add({ kCmdMinimize }, [w] { w->showMinimized(); });
    add({ kCmdMaximize }, [this] { Maximize(); });
    add({ kCmdPrev, kMenuPrevious }, [this] { Prev(); });
    add({ kCmdRewind }, [this] { Rewind(); });
    add({ kCmdPlay }, [this] { Play(); });
    add({ kCmdPause }, [this] { Pause(); });
    add({ kCmdFastForward }, [this] { FastForward(); });
    add({ kCmdNext, kMenuNext }, [this] { Next(); });
    add({ kMenuPlayPause }, [this] { PlayPause(); });
    add({ kCmdSpeedDefault, kMenuSpeedDefault }, [this] { SetSpeedPosition(kSliderNeutral); });
    add({ kMenuFast }, [this, w] { SetSpeedPosition(w->m_children.speedSlider->value() + kSliderStep); });
    add({ kMenuSlow }, [this, w] { SetSpeedPosition(w->m_children.speedSlider->value() - kSliderStep); });
    add({ kCmdBrightDefault, kMenuBrightDefault }, [this] { SetBrightnessPosition(kSliderNeutral); });
    add({ kMenuDarken },
        [this, w] { SetBrightnessPosition(w->m_children.brightSlider->value() - kSliderStep); });
    add({ kMenuBrighten },
        [this, w] { SetBrightnessPosition(w->m_children.brightSlider->value() + kSliderStep); });
    add({ kCmdMute, kMenuMute }, [w] { w->SetMute(!w->IsMuted()); });
    add({ kMenuVolumeUp }, [this] { VolumeStep(1); });
    add({ kMenuVolumeDown }, [this] { VolumeStep(-1); });
    add({ kCmdCategoryAll, kMenuCategoryAll }, [this] { ShowCategory(kCategoryAll, kCmdCategoryAll); });
    add({ kCmdCategoryNormal, kMenuCategoryInfinite },
        [this] { ShowCategory(kCategoryInfinite, kCmdCategoryNormal); });
    add({ kCmdCategoryEvent, kMenuCategoryEvent },
        [this] { ShowCategory(kCategoryEvent, kCmdCategoryEvent); });
    add({ kCmdCategoryParking, kMenuCategoryParking },
        [this] { ShowCategory(kCategoryParking, kCmdCategoryParking); });
    add({ kCmdChannelFront }, [this] { ChannelView(kViewFront, kCmdChannelFront); });
    add({ kCmdChannelRear }, [this] { ChannelView(kViewRear, kCmdChannelRear); });
    add({ kCmdChannelAll }, [this] { ChannelView(kViewBoth, kCmdChannelAll); });
    add({ kCmdRearMirror }, [this] { ToggleRearMirror(); });
}

bool MainCommands::PlayingOrPaused() const
{
    const qint32 state = m_window->m_player.GetState();
    return state == PlayState::kRunning || state == PlayState::kPaused;
}

bool MainCommands::Playing() const
{
    return m_window->m_player.GetState() == PlayState::kRunning;
}

void MainCommands::Modal(const std::function<void()>& body, bool resume)
{
    const bool wasPlaying = Playing();
    if (wasPlaying)
        m_window->PausePlayback();
    body();
    if (resume && wasPlaying && m_window->m_player.GetState() == PlayState::kPaused)
        m_window->StartPlayback();
}

bool MainCommands::HandleKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const int key = event->key();
    const auto run = [this](int id) {
        m_window->RunCommand(id);
        return true;
    };
    if (mods & Qt::ControlModifier) {
        // Ctrl+O opens; any other Ctrl key does nothing at all (Ctrl+S must not reset the speed).
        if (key == Qt::Key_O)
            return run(kCmdOpen);
        return key != Qt::Key_Control;
    }
    if ((mods & Qt::AltModifier) && key == Qt::Key_F4)
        return run(kCmdClose);
    const qint32 state = m_window->m_player.GetState();
    const bool active = state == PlayState::kRunning || state == PlayState::kPaused;
    const CRkListCtrl* list = m_window->m_children.list;
    switch (key) {
    case Qt::Key_Escape:
        return run(kCmdLayoutToggle);
    case Qt::Key_Space:
        return run(kMenuPlayPause);
    case Qt::Key_PageUp:
        if (active && list->CurrentRow() > 0)
            run(kCmdPrev);
        return true;
    case Qt::Key_PageDown:
        if (active && list->CurrentRow() + 1 < list->GetItemCount())
            run(kCmdNext);
        return true;
    case Qt::Key_Up:
        return run(kMenuVolumeUp);
    case Qt::Key_Down:
        return run(kMenuVolumeDown);
    case Qt::Key_Period:
    case Qt::Key_Comma:
        if (!m_window->IsWorkerBusy())
            StepFrame(key == Qt::Key_Period);
        return true;
    default:
        break;
    }
    const QString text = event->text().toLower();
    if (text == QLatin1String("b"))
        return run(kCmdBrightDefault);
    if (text == QLatin1String("s"))
        return run(kCmdSpeedDefault);
    if (text == QLatin1String("m"))
        return run(kCmdMute);
    return false;
}

void MainCommands::OnVolumeChanged(int level)
{
    if (m_window->IsMuted())
        m_window->SetMute(false);
    m_window->m_player.SetVolumePercent(std::clamp(level * 10 - 1, 0, 99));
}

void MainCommands::Open()
{
    Modal(
        [this] {
            if (const auto picked = CXFolderDialog::Pick(m_window); picked && !picked->isEmpty())
                OpenPicked(*picked);
        },
        false);
}

void MainCommands::OpenPicked(const QStringList& paths)
{
    CCorvaneDlg* w = m_window;
    if (PlayingOrPaused()) {
        w->m_player.StopAndClose();
        EmptyTemporaryFolder(w->m_temporaryFolder);
    }
    const QString first = paths.first();
    w->m_library.RefreshSources();
    w->m_library.OpenSource(w->m_library.SourceIndexForPath(first), PickedPaths { paths });
    w->m_loadDlg->SetMode(CFileLoadDlg::kModeOpened);
    w->m_loadDlg->SetPath(first);
    w->m_loadDlg->SetFill([w, first] { w->FillAfterLoad(first); });
    w->m_loadDlg->exec();
}

void MainCommands::Merge()
{
    Modal(
        [this] {
            const int row = m_window->m_children.list->CurrentRow();
            m_window->m_fill.SaveCopy(row, QString(), m_window);
        },
        true);
}

void MainCommands::Capture()
{
    if (!PlayingOrPaused())
        return;
    CCorvaneDlg* w = m_window;
    w->PausePlayback();
    const QString folder = SnapshotFolder(TheOptionFile());
    PlayerFrameSource<Player> source(w->m_player);
    const SnapshotResult result
        = SaveSnapshot(source, folder, w->m_children.list->GetCurrentRowName(), QDateTime::currentDateTime());
    ReportSnapshot(result, folder);
}

void MainCommands::ReportSnapshot(const SnapshotResult& result, const QString& folder)
{
    if (result.outcome == SnapshotResult::Outcome::WriteFailed) {
        QStringList lines;
        for (const SnapshotResult::Failure& failure : result.failures)
            lines << QStringLiteral("%1: %2").arg(failure.path, failure.reason);
        QMessageBox box(QMessageBox::Warning, m_window->windowTitle(), lines.join(QLatin1Char('\n')),
            QMessageBox::Ok, m_window);
        box.setObjectName(QStringLiteral("snapshotFailed"));
        box.exec();
        return;
    }
    QString question;
    if (!result.Saved() || !TheOptionFile().HasLanguageLibrary()
        || !LookupText(kSnapshotSavedText, &question))
        return;
    QMessageBox box(QMessageBox::Question, m_window->windowTitle(), result.paths.front + question,
        QMessageBox::Yes | QMessageBox::No, m_window);
    box.setObjectName(QStringLiteral("message%1").arg(kSnapshotSavedText));
    if (box.exec() == QMessageBox::Yes)
        m_openFolder(QUrl::fromLocalFile(folder));
}

void MainCommands::ToggleLayout()
{
    // Hiding the window would end its modal loop and with it the program: the layout is applied with
    // painting held back instead, so no half-placed picture shows.
    CCorvaneDlg* w = m_window;
    w->ApplyLayout(w->m_layoutMode == kLayoutNormal ? kLayoutVideoOnly : kLayoutNormal);
    w->raise();
    w->activateWindow();
}

void MainCommands::ToggleZoom()
{
    CCorvaneDlg* w = m_window;
    if (!w->m_zoom)
        w->m_zoom = new CZoomDlg(w);
    if (w->m_zoom->IsShown())
        w->m_zoom->HideZoom();
    else
        w->m_zoom->ShowZoom();
    w->m_zoom->update();
}

void MainCommands::About()
{
    Modal(
        [this] {
            CAboutDlg about(m_window);
            about.SetLanguage(TheOptionFile().m_language);
            about.SetRecordingCount(m_window->m_children.list->GetItemCount());
            if (about.exec() == QDialog::Accepted && m_window->m_player.GetChannelCount() == 2
                && PlayingOrPaused())
                m_window->m_player.SetMirror(1, TheOptionFile().m_rearMirror);
        },
        true);
}

void MainCommands::Maximize()
{
    if (m_window->isMaximized())
        m_window->showNormal();
    else
        m_window->showMaximized();
}

void MainCommands::Prev()
{
    CCorvaneDlg* w = m_window;
    const int row = w->m_children.list->CurrentRow();
    if (row == 0)
        return;
    w->CloseRecording(false);
    if (w->m_children.list->GetItemCount() > 0 && ValidRow(w->m_children.list, row - 1))
        w->OpenListRow(row - 1);
    else
        w->HideScreens();
}

void MainCommands::Next()
{
    CCorvaneDlg* w = m_window;
    CRkListCtrl* list = w->m_children.list;
    const int row = list->CurrentRow();
    if (row + 1 >= list->GetItemCount())
        return;
    w->CloseRecording(false);
    if (ValidRow(list, row)) {
        list->SelectRow(row + 1);
        w->OpenListRow(row + 1);
    } else {
        w->HideScreens();
    }
}

void MainCommands::Seek(qint64 positionMs)
{
    m_window->m_player.SeekMs(qint32(positionMs));
    m_window->m_controller->Tick();
}

void MainCommands::Rewind()
{
    if (!Playing())
        return;
    const qint64 step = qint64(TheOptionFile().m_playValue) * 1000;
    Seek(std::max<qint64>(0, m_window->m_player.GetPositionMs() - step));
}

void MainCommands::FastForward()
{
    if (!Playing())
        return;
    const qint64 step = qint64(TheOptionFile().m_playValue) * 1000;
    Player& player = m_window->m_player;
    Seek(std::min(player.GetDurationMs(), player.GetPositionMs() + step));
}

void MainCommands::Play()
{
    CCorvaneDlg* w = m_window;
    const qint32 state = w->m_player.GetState();
    if (state == PlayState::kPaused) {
        w->StartPlayback();
        return;
    }
    if (state == PlayState::kRunning)
        return;
    const int row = w->m_children.list->CurrentRow();
    if (ValidRow(w->m_children.list, row)
        && !w->m_children.list->GetItemText(row, CRkListCtrl::kPathColumn).isEmpty())
        w->OpenListRow(row);
}

void MainCommands::Pause()
{
    if (Playing())
        m_window->PausePlayback();
}

void MainCommands::PlayPause()
{
    const qint32 state = m_window->m_player.GetState();
    if (state == PlayState::kRunning)
        Pause();
    else if (state == PlayState::kPaused)
        Play();
}

void MainCommands::SetSpeedPosition(int position)
{
    CCorvaneDlg* w = m_window;
    CRkSimpleSliderCtrl* slider = w->m_children.speedSlider;
    slider->setValue(std::clamp(position, 0, 100));
    const float rate = slider->GetRate();
    w->m_children.overlay1->SetRate(rate);
    const qint32 state = w->m_player.GetState();
    if (state != PlayState::kStopped && state != PlayState::kCreated)
        w->m_player.SetRate(rate);
}

void MainCommands::SetBrightnessPosition(int position)
{
    CCorvaneDlg* w = m_window;
    CRkSimpleSliderCtrl* slider = w->m_children.brightSlider;
    slider->setValue(std::clamp(position, 0, 100));
    const int brightness = slider->GetBrightness();
    const qint32 state = w->m_player.GetState();
    if (state != PlayState::kStopped && state != PlayState::kCreated) {
        w->m_player.SetBrightness(0, brightness);
        w->m_player.SetBrightness(1, brightness);
    }
    // A paused picture only shows the new brightness once a frame passes the filter again.
    if (state == PlayState::kPaused)
        w->m_player.SeekMs(qint32(w->m_player.GetPositionMs()));
}

void MainCommands::VolumeStep(int delta)
{
    CCorvaneDlg* w = m_window;
    if (w->IsMuted())
        w->SetMute(false);
    const int level = w->m_children.volume->Level() + delta;
    if (level < 0 || level > kMaxVolumeLevel)
        return;
    w->m_children.volume->SetLevel(level);
    w->m_children.volume->update();
    w->m_player.SetVolumePercent(std::clamp(level * 10 - 1, 0, 99));
}

void MainCommands::ShowCategory(int category, int buttonId)
{
    CCorvaneDlg* w = m_window;
    if (!w->m_children.Button(buttonId)->IsButtonEnabled())
        return;
    if (category == kCategoryAll)
        w->m_fill.FillAll(w->m_library, w->m_children.list);
    else
        w->m_fill.FillCategory(category, w->m_library, w->m_children.list);
    w->SelectCategoryButtons(category, w->m_currentFileName);
    // The open recording keeps its mark only where the new rows still show it.
    CRkListCtrl* list = w->m_children.list;
    int openRow = -1;
    for (int r = 0; r < list->GetItemCount() && !w->m_currentFileName.isEmpty(); ++r)
        if (list->GetItemText(r, CRkListCtrl::kFileNameColumn) == w->m_currentFileName) {
            openRow = r;
            break;
        }
    list->SetCurrentRow(openRow);
    if (PlayingOrPaused())
        w->m_openRow = openRow;
}

void MainCommands::ChannelView(int view, int buttonId)
{
    CCorvaneDlg* w = m_window;
    const qint32 state = w->m_player.GetState();
    if (state != PlayState::kStopped && state != PlayState::kCreated && state != PlayState::kNoEngine) {
        w->SetChannelView(view);
        return;
    }
    if (w->m_channelView == view) {
        w->m_children.Button(buttonId)->SetSelected(true);
        w->m_children.Button(buttonId)->Redraw();
    }
}

void MainCommands::ToggleRearMirror()
{
    COptionFile& options = TheOptionFile();
    options.m_rearMirror = !options.m_rearMirror;
    m_window->m_player.SetMirror(1, options.m_rearMirror);
}

void MainCommands::StepFrame(bool forward)
{
    CCorvaneDlg* w = m_window;
    if (w->m_player.GetState() != PlayState::kPaused)
        return;
    if (forward)
        w->m_player.StepForward();
    else
        w->m_player.StepBackward();
    w->m_controller->Tick();
}

} // namespace zq
