#include "CCorvaneDlg.h"

#include "CFileLoadDlg.h"
#include "CRkButtonCtrl.h"
#include "CRkGsensorCtrl.h"
#include "CRkListCtrl.h"
#include "CRkScreenCtrl.h"
#include "CRkSimpleSliderCtrl.h"
#include "CRkSliderCtrl.h"
#include "CRkSpeedCtrl.h"
#include "CRkTextCtrl.h"
#include "CRkVolumeCtrl.h"
#include "CommandIds.h"
#include "MainCommands.h"
#include "MapRouting.h"
#include "Menu149.h"
#include "OptionFile.h"
#include "PlayState.h"
#include "PlaybackController.h"
#include "PrintCommand.h"
#include "RecordingListRow.h"
#include "RecordingOpener.h"
#include "SeekTarget.h"
#include "SensorArrays.h"
#include "SensorDisplaySync.h"
#include "SettingCommand.h"
#include "TextLookup.h"
#include "UserFolders.h"
#include "VolumeMonitor.h"
#include "Volumes.h"
#include "WindowMessageEvent.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>
#include <QWindow>

namespace zq {

namespace {

constexpr const char* kModelName = "ZQ481K";
constexpr int kTitleStripPx = 40;
constexpr int kMaxDropPathLength = 260;
constexpr int kTopButtons[] = { kCmdOpen, kCmdMerge, kCmdCapture, kCmdZoom, kCmdPrint, kCmdSetting,
    kCmdLayoutToggle, kCmdAbout, kCmdMinimize, kCmdMaximize, kCmdClose };
constexpr int kCategoryButtons[]
    = { kCmdCategoryAll, kCmdCategoryNormal, kCmdCategoryEvent, kCmdCategoryParking };
constexpr int kChannelButtons[] = { kCmdChannelFront, kCmdChannelRear, kCmdChannelAll };

// The position slider seeks the player itself; while an open is in progress it leaves the mouse alone.
class PlayerSeek : public SeekTarget {
public:
    PlayerSeek(Player* player, const CCorvaneDlg* owner)
        : m_player(player)
        , m_owner(owner)
    {
    }
    void SetPosition(qint64 positionMs) override { m_player->SeekMs(qint32(positionMs)); }
    bool IsBusy() const override { return m_owner->IsWorkerBusy(); }

private:
    Player* m_player;
    const CCorvaneDlg* m_owner;
};

bool PlayingOrPaused(qint32 state)
{
    return state == PlayState::kRunning || state == PlayState::kPaused;
}

} // namespace

CCorvaneDlg::CCorvaneDlg(QWidget* parent)
    : CCorvaneDlg(Options(), parent)
{
}

CCorvaneDlg::CCorvaneDlg(const Options& options, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint)
{
    // Construction: the option file is read before the window exists.
    COptionFile& options_ = TheOptionFile();
    options_.BuildOptionFilePath();
    OptionFilePath() = OptionFileLocation();
    options_.ReadOptionFile();
    InitDialog(options);
}

CCorvaneDlg::~CCorvaneDlg()
{
    KillTimer(kTimerWaitingRow);
    KillTimer(kTimerCardRemoval);
    // The worker drives the player: it is stopped before the player is touched or torn down.
    if (m_opener)
        m_opener->CancelAndWait();
    if (PlayingOrPaused(m_player.GetState()))
        CloseRecording(false);
    if (m_volumes)
        m_volumes->Stop();
    TheOptionFile().WriteOptionFile();
}

void CCorvaneDlg::InitDialog(const Options& options)
{
    setObjectName(QStringLiteral("CorvaneMainWindow"));
    // Every move over the window clears the top buttons' hover state, pressed or not.
    setMouseTracking(true);
    m_library.AddFolderWord(QStringLiteral("NORMAL"));
    m_library.AddFolderWord(QStringLiteral("INFINITE"));
    m_library.AddFolderWord(QStringLiteral("EVENT"));
    m_library.AddFolderWord(QStringLiteral("PARKING"));
    m_library.AddExtension(QStringLiteral("AVI"));
    setWindowTitle(QStringLiteral("%1 Viewer").arg(QLatin1String(kModelName)));

    const int language = TheOptionFile().m_language;
    m_children.Create(this, language);
    m_map = new MapRouting(m_children.map, this);
    m_player.Initialize(2, m_children.front, m_children.rear);
    for (int id : kTopButtons)
        m_children.Button(id)->SetTopBarLayout(true);

    m_children.position->setEnabled(false);
    for (int id : kChannelButtons)
        m_children.Button(id)->hide();
    m_children.Button(kCmdRearMirror)->hide();
    m_children.Button(kCmdChannelFront)->SetSelected(true);
    m_children.Button(kCmdPause)->hide();
    m_children.volume->SetLevel(CRkVolumeCtrl::kInitialLevel);

    m_sync = new SensorDisplaySync(m_children.speed, m_children.overlay2, m_children.overlay4, this);
    m_controller = new PlaybackController(&m_player, m_children.position, m_children.overlay1, m_sync, this);
    m_opener = new RecordingOpener(&m_player, this);
    m_seekTarget = std::make_unique<PlayerSeek>(&m_player, this);
    m_children.position->SetSeekTarget(m_seekTarget.get());
    m_children.position->SetFocusAfterSeek(this);
    m_map->SetSeekTarget(m_seekTarget.get(), m_children.position);
    m_loadDlg = new CFileLoadDlg(this);
    m_loadDlg->SetLanguage(language);
    SetMute(false);

    setMinimumSize(MainLayout::kMinimumSize);
    resize(MainLayout::kMinimumSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    ApplyLayout(m_layoutMode);
    for (int id :
        { kCmdMerge, kCmdCapture, kCmdPrint, kCmdPrev, kCmdRewind, kCmdPlay, kCmdFastForward, kCmdNext })
        SetButtonEnabled(id, false);
    SetCategoryButtonsEnabled({});

    m_temporaryFolder = TemporaryFolder();
    setAcceptDrops(true);
    ConnectUnits();
    RegisterCommands();
    m_map->RegisterCommands(m_commands);
    m_map->StartUp();
    if (options.watchVolumes) {
        m_volumes = new platform::VolumeMonitor(this);
        connect(m_volumes, &platform::VolumeMonitor::volumeRemoved, this, &CCorvaneDlg::OnVolumeRemoved);
        m_volumes->Start();
    }
    if (options.startupNotice)
        StartTimer(kTimerStartupNotice);
    m_initialised = true;
}

void CCorvaneDlg::ConnectUnits()
{
    m_controller->SetBusyCheck([this] { return IsWorkerBusy(); });
    connect(m_controller, &PlaybackController::recordingEnded, this, &CCorvaneDlg::StepAfterEnd);
    connect(m_sync, &SensorDisplaySync::markerMoved, m_map, &MapRouting::OnTick);
    connect(m_children.list, &CRkListCtrl::RowDoubleClicked, this, &CCorvaneDlg::OnRowDoubleClicked);
    connect(m_children.list, &CRkListCtrl::FilesDropped, this, &CCorvaneDlg::HandleDrop);

    connect(m_opener, &RecordingOpener::graphBuilt, this, [this] {
        m_controller->StartTick();
        m_loadDlg->hide();
        if (m_layoutMode == kLayoutNormal)
            m_children.list->clearFocus();
    });
    connect(m_opener, &RecordingOpener::finished, this, &CCorvaneDlg::UpdateVideoWindows);
    connect(m_opener, &RecordingOpener::channelsKnown, this, &CCorvaneDlg::ApplyChannelCount);
    connect(m_opener, &RecordingOpener::recordingReady, this, [this](qint64 durationMs, bool) {
        SetChannelView(m_channelView);
        EnableTransport(true);
        m_durationMs = durationMs;
        m_map->AfterOpen(durationMs);
        m_children.graph->SetSamples(GSensorSamples());
        m_children.overlay2->SetHasData(!GSensorSamples().isEmpty());
        ShowPauseButton(true);
    });
    connect(m_opener, &RecordingOpener::openSucceeded, this, [this](int row) {
        const QString name = m_children.list->GetItemText(row, CRkListCtrl::kFileNameColumn);
        m_currentFileName = name.size() < 4 ? QString() : name;
        m_children.list->SetCurrentRow(row);
        ShowPauseButton(true);
    });
    connect(m_opener, &RecordingOpener::openFailed, this, [this](bool showMessage) {
        if (showMessage)
            ShowMessage(kOpenFailedText);
        if (m_frontShown || m_rearShown)
            HideScreens();
        update();
    });
}

void CCorvaneDlg::RegisterCommands()
{
    // Close runs even while a recording is being opened.
    m_commands.Add(
        kCmdClose, [this] { OnClose(); }, true);
    m_commands.Add(kCmdPrint, [print = std::make_shared<PrintCommand>(*this)] { print->Run(); });
    m_commands.Add(kCmdSetting, [setting = std::make_shared<SettingCommand>(*this)] { setting->Run(); });
    m_handlers = std::make_unique<MainCommands>(this);
    m_handlers->Register(m_commands);
    m_handlers->RouteChildKeys();
    m_children.graph->SetSeekTarget(m_handlers->GraphSeekTarget(),
        [this] { return PlayingOrPaused(m_player.GetState()) ? m_player.GetDurationMs() : qint64(0); });
}

bool CCorvaneDlg::RunCommand(int id)
{
    return m_commands.Run(id, IsWorkerBusy());
}

bool CCorvaneDlg::IsWorkerBusy() const
{
    return m_opener && m_opener->IsBusy();
}

void CCorvaneDlg::OnClose()
{
    if (m_closing)
        return;
    m_closing = true;
    m_opener->CancelAndWait();
    if (PlayingOrPaused(m_player.GetState()))
        m_player.StopAndClose();
    m_controller->StopTick();
    EmptyTemporaryFolder(m_temporaryFolder);
    done(QDialog::Rejected);
}

MapState CCorvaneDlg::CurrentMapState() const
{
    return m_map ? m_map->State() : MapState {};
}

void CCorvaneDlg::SetOnline(bool online)
{
    m_map->SetOnline(online);
}

MainLayout CCorvaneDlg::CurrentLayout() const
{
    return MainLayout::Compute(size(), m_layoutMode, m_channelView, CurrentMapState());
}

void CCorvaneDlg::ApplyLayout(int layoutMode)
{
    m_layoutMode = layoutMode;
    const MainLayout layout = CurrentLayout();
    setUpdatesEnabled(false);
    for (int i = 0; i < kChildCount; ++i) {
        const Child child = Child(i);
        QWidget* widget = m_children.Widget(child);
        if (!widget)
            continue;
        widget->setGeometry(layout.Rect(child));
        if (const auto visible = layout.Visible(child))
            widget->setVisible(*visible);
    }
    for (int id : kTopButtons)
        m_children.Button(id)->SetTopBarLayout(layoutMode == kLayoutNormal);
    m_children.list->PositionScrollBar();
    m_controller->SetNormalLayout(layoutMode == kLayoutNormal);
    if (m_map)
        m_map->AfterLayout(layout.Rect(Child::MapPanel), layoutMode);
    setUpdatesEnabled(true);
    UpdateVideoWindows();
    m_children.list->update();
    update();
}

void CCorvaneDlg::PlaceScreens()
{
    const MainLayout layout = CurrentLayout();
    m_children.front->setGeometry(layout.Rect(Child::FrontScreen));
    m_children.rear->setGeometry(layout.Rect(Child::RearScreen));
    UpdateVideoWindows();
}

void CCorvaneDlg::UpdateVideoWindows()
{
    // While the worker drives the player the screens are told when it has finished.
    if (!IsWorkerBusy())
        m_player.UpdateVideoWindows();
}

void CCorvaneDlg::ShowScreensForView()
{
    m_frontShown = m_channelView != kViewRear;
    m_rearShown = m_channelView != kViewFront;
    m_children.front->setVisible(m_frontShown);
    m_children.rear->setVisible(m_rearShown);
    update();
}

void CCorvaneDlg::SetChannelView(int view)
{
    m_channelView = view;
    const int selected[] = { kViewFront, kViewRear, kViewBoth };
    for (int i = 0; i < 3; ++i) {
        CRkButtonCtrl* button = m_children.Button(kChannelButtons[i]);
        button->SetSelected(selected[i] == view);
        button->Redraw();
    }
    ShowScreensForView();
    PlaceScreens();
}

void CCorvaneDlg::ApplyChannelCount(int channelCount)
{
    const bool two = channelCount == 2;
    for (int id : kChannelButtons)
        m_children.Button(id)->setVisible(two);
    if (!two) {
        m_children.Button(kCmdRearMirror)->hide();
        m_channelView = kViewFront;
    }
    SetChannelView(m_channelView);
}

void CCorvaneDlg::HideScreens()
{
    m_children.front->hide();
    m_children.rear->hide();
    m_frontShown = m_rearShown = false;
    update();
}

int CCorvaneDlg::VolumePercent() const
{
    return m_mute ? 0 : std::clamp(m_children.volume->Level() * 10 - 1, 0, 99);
}

void CCorvaneDlg::SetMute(bool on)
{
    m_mute = on;
    m_player.SetVolumePercent(VolumePercent());
    if (on)
        m_children.volume->DrawMuted();
    else
        m_children.volume->DrawLevel();
    CRkButtonCtrl* mute = m_children.Button(kCmdMute);
    if (on)
        mute->SetImages(19241, 19242, 0, 0);
    else
        mute->SetImages(19243, 19244, 0, 0);
    mute->Redraw();
}

void CCorvaneDlg::ShowPauseButton(bool playing)
{
    m_children.Button(kCmdPause)->setVisible(playing);
    m_children.Button(kCmdPlay)->setVisible(!playing);
}

void CCorvaneDlg::StartPlayback()
{
    m_player.Play();
    ShowPauseButton(true);
    m_controller->StartTick();
}

void CCorvaneDlg::PausePlayback()
{
    m_player.Pause();
    m_controller->StopTick();
    ShowPauseButton(false);
}

void CCorvaneDlg::SetButtonEnabled(int id, bool enabled)
{
    CRkButtonCtrl* button = m_children.Button(id);
    button->SetButtonEnabled(enabled);
    button->Redraw();
}

void CCorvaneDlg::EnableTransport(bool enabled)
{
    for (int id :
        { kCmdMerge, kCmdCapture, kCmdPrint, kCmdPrev, kCmdRewind, kCmdPlay, kCmdFastForward, kCmdNext })
        SetButtonEnabled(id, enabled);
    m_children.position->setEnabled(enabled);
}

void CCorvaneDlg::SetCategoryButtonsEnabled(const CategoryPresence& presence)
{
    const bool enabled[] = { presence.any, presence.infinite, presence.event, presence.parking };
    for (int i = 0; i < 4; ++i)
        SetButtonEnabled(kCategoryButtons[i], enabled[i]);
}

void CCorvaneDlg::SelectCategoryButtons(int category, const QString& fileName)
{
    const int codes[] = { kCategoryAll, kCategoryInfinite, kCategoryEvent, kCategoryParking };
    if (category != 1) {
        for (int i = 0; i < 4; ++i) {
            CRkButtonCtrl* button = m_children.Button(kCategoryButtons[i]);
            button->SetSelected(codes[i] == category);
            button->Redraw();
        }
    }
    if (fileName.isEmpty())
        return;
    CRkListCtrl* list = m_children.list;
    int row = 0;
    for (int r = 0; r < list->GetItemCount(); ++r) {
        if (list->GetItemText(r, CRkListCtrl::kFileNameColumn) == fileName) {
            row = r;
            break;
        }
    }
    list->SelectRow(row);
    list->EnsureVisible(row);
}

void CCorvaneDlg::ApplyLanguage(int language)
{
    m_children.LoadLanguage(language);
    m_loadDlg->SetLanguage(language);
    // The rows' category words are texts of the language too.
    for (int row = 0; row < m_children.list->GetItemCount(); ++row)
        if (const RecordingEntry* entry = m_fill.EntryForRow(row))
            m_children.list->SetItemText(row, 3, ListRowFor(*entry, row).category);
    update();
}

void CCorvaneDlg::OpenListRow(int row)
{
    if (row < 0)
        return;
    m_children.list->SelectRow(row);
    m_openRow = row;
    RecordingOpener::Request request;
    const QString path = m_children.list->GetItemText(row, CRkListCtrl::kPathColumn);
    request.path = path.size() < 4 ? QString() : path;
    request.row = row;
    if (const RecordingEntry* entry = m_fill.EntryForRow(row)) {
        request.hasEntry = true;
        request.entry = *entry;
    }
    request.sourceKind = m_library.CurrentKind();
    request.temporaryFolder = m_temporaryFolder;
    request.volumePercent = VolumePercent();
    request.rate = m_children.speedSlider->GetRate();
    request.brightness = m_children.brightSlider->GetBrightness();
    request.rearMirror = TheOptionFile().m_rearMirror;
    m_opener->Start(request);
}

void CCorvaneDlg::CloseRecording(bool hideScreens)
{
    if (hideScreens)
        HideScreens();
    m_player.StopAndClose();
    EmptyTemporaryFolder(m_temporaryFolder);
    ShowPauseButton(false);
    m_children.position->setValue(0);
    ResetPlaybackDisplays();
}

void CCorvaneDlg::ResetPlaybackDisplays()
{
    for (int id : { kCmdPrev, kCmdPlay, kCmdNext })
        SetButtonEnabled(id, true);
    for (int id : { kCmdMerge, kCmdCapture, kCmdPrint, kCmdRewind, kCmdFastForward })
        SetButtonEnabled(id, false);
    ClearSensorArrays();
    m_children.graph->SetSamples({});
    m_children.graph->update();
    m_sync->Reset();
    m_children.position->setEnabled(false);
    setFocus();
}

void CCorvaneDlg::StepAfterEnd()
{
    CRkListCtrl* list = m_children.list;
    const int count = list->GetItemCount();
    const int row = m_openRow;
    CloseRecording(false);
    if (count >= 1 && row >= 0 && row + 1 < count) {
        list->SelectRow(row + 1);
        OpenListRow(row + 1);
        return;
    }
    if (count >= 1 && row >= 0) {
        list->SelectRow(0);
        SetChannelView(kViewFront);
    }
    HideScreens();
}

void CCorvaneDlg::ShowMessage(int textId)
{
    QString text;
    if (!LookupText(textId, &text))
        return;
    QMessageBox box(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("message%1").arg(textId));
    box.exec();
}

void CCorvaneDlg::ResetSource()
{
    if (m_player.GetState() == PlayState::kRunning)
        PausePlayback();
    m_sourceRoot.clear();
    CloseRecording(true);
    SetCategoryButtonsEnabled({});
    m_children.list->DeleteAllItems();
    m_fill.Clear();
    ShowMessage(kNoRecordingsText);
    QCoreApplication::postEvent(this, new WindowMessageEvent(kMsgRepaintCategoryButtons));
}

void CCorvaneDlg::ResetAfterCardRemoval()
{
    if (m_player.GetState() == PlayState::kRunning)
        PausePlayback();
    m_sourceRoot.clear();
    CloseRecording(true);
    SetCategoryButtonsEnabled({});
    m_children.list->DeleteAllItems();
    m_fill.Clear();
    for (int id : kChannelButtons)
        m_children.Button(id)->hide();
    m_children.Button(kCmdRearMirror)->hide();
    for (int id : { kCmdPrev, kCmdRewind, kCmdPlay, kCmdFastForward, kCmdNext })
        SetButtonEnabled(id, false);
    m_children.overlay1->SetDuration(0);
    m_children.overlay1->SetPosition(0);
    m_sync->Reset();
    m_map->ResetForNoRecording();
    ShowMessage(kNoRecordingsText);
    QCoreApplication::postEvent(this, new WindowMessageEvent(kMsgRepaintCategoryButtons));
}

void CCorvaneDlg::OnVolumeRemoved(const QString& root)
{
    if (m_sourceRoot.isEmpty() || !platform::SameRoot(root, m_sourceRoot))
        return;
    if (IsWorkerBusy())
        StartTimer(kTimerCardRemoval);
    else
        ResetAfterCardRemoval();
}

void CCorvaneDlg::HandleDrop(const QStringList& paths)
{
    if (IsWorkerBusy() || paths.isEmpty())
        return;
    if (PlayingOrPaused(m_player.GetState())) {
        m_player.StopAndClose();
        EmptyTemporaryFolder(m_temporaryFolder);
    }
    const QString first = paths.first().left(kMaxDropPathLength);
    m_library.RefreshSources();
    m_library.OpenSource(m_library.SourceIndexForPath(first), DroppedPaths { paths });
    m_loadDlg->SetMode(CFileLoadDlg::kModeDropped);
    m_loadDlg->SetPath(first);
    m_loadDlg->SetFill([this, first] { FillAfterLoad(first); });
    m_loadDlg->exec();
}

void CCorvaneDlg::FillAfterLoad(const QString& path)
{
    const int kind = m_library.CurrentKind();
    if (kind != kSourceRemovable && kind != kSourceBrowse)
        return;
    SetCategoryButtonsEnabled({});
    if (m_fill.FillAll(m_library, m_children.list) > 0) {
        m_sourceRoot = platform::Volumes::RemovableRootOf(path);
        SetCategoryButtonsEnabled(m_fill.Presence());
        SelectCategoryButtons(kCategoryAll, QString());
        m_children.list->SelectRow(0);
        m_children.list->setFocus();
        m_children.list->EnsureVisible(0);
        OpenListRow(0);
    } else {
        ResetSource();
    }
    QCoreApplication::postEvent(this, new WindowMessageEvent(kMsgRepaintCategoryButtons));
}

void CCorvaneDlg::OnRowDoubleClicked(int row)
{
    m_waitingRow = row;
    KillTimer(kTimerWaitingRow);
    StartTimer(kTimerWaitingRow);
}

void CCorvaneDlg::StartTimer(int which)
{
    KillTimer(which);
    m_timers[which] = startTimer(which == kTimerStartupNotice ? 1 : kTimerPeriodMs, Qt::PreciseTimer);
}

void CCorvaneDlg::KillTimer(int which)
{
    if (m_timers[which]) {
        killTimer(m_timers[which]);
        m_timers[which] = 0;
    }
}

void CCorvaneDlg::timerEvent(QTimerEvent* event)
{
    const int id = event->timerId();
    if (id == m_timers[kTimerWaitingRow]) {
        if (IsWorkerBusy())
            return;
        KillTimer(kTimerWaitingRow);
        if (m_children.list->GetItemCount() == 0)
            return;
        if (m_children.list->GetItemText(m_waitingRow, CRkListCtrl::kPathColumn).size() >= 4) {
            CloseRecording(false);
            OpenListRow(m_waitingRow);
        }
    } else if (id == m_timers[kTimerCardRemoval]) {
        if (IsWorkerBusy())
            return;
        KillTimer(kTimerCardRemoval);
        ResetAfterCardRemoval();
    } else if (id == m_timers[kTimerStartupNotice]) {
        KillTimer(kTimerStartupNotice);
        m_loadDlg->SetMode(CFileLoadDlg::kModeNotice);
        m_loadDlg->exec();
        if (!m_startupPaths.isEmpty())
            HandleDrop(std::exchange(m_startupPaths, {}));
    } else {
        QDialog::timerEvent(event);
    }
}

bool CCorvaneDlg::event(QEvent* event)
{
    switch (WindowMessageEvent::MessageOf(event)) {
    case kMsgCommand:
        RunCommand(static_cast<WindowMessageEvent*>(event)->CommandId());
        return true;
    case kMsgVolumeChanged:
        if (!IsWorkerBusy())
            m_handlers->OnVolumeChanged(int(static_cast<WindowMessageEvent*>(event)->WParam()));
        return true;
    case kMsgRepaintCategoryButtons:
        for (int id : kCategoryButtons)
            m_children.Button(id)->Redraw();
        return true;
    default:
        break;
    }
    return QDialog::event(event);
}

void CCorvaneDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(
        0, 0, m_painter.Background(CurrentLayout(), size(), m_layoutMode, m_frontShown || m_rearShown));
}

void CCorvaneDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (m_initialised)
        ApplyLayout(m_layoutMode);
}

void CCorvaneDlg::keyPressEvent(QKeyEvent* event)
{
    // Esc is the layout toggle here, never the dialog's cancel; Alt+F4 closes even without a window
    // manager to send a close request.
    if (m_handlers->HandleKey(event))
        return;
    QDialog::keyPressEvent(event);
}

void CCorvaneDlg::closeEvent(QCloseEvent* event)
{
    OnClose();
    event->accept();
}

void CCorvaneDlg::reject()
{
    OnClose();
}

void CCorvaneDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        if (event->position().x() < CurrentLayout().listPanel.left())
            ShowLanguageMenu(TheOptionFile().m_language, event->globalPosition().toPoint(), this);
        return;
    }
    if (event->button() != Qt::LeftButton || isMaximized() || !windowHandle())
        return;
    const Qt::Edges edges = MainLayout::ResizeEdges(size(), event->position().toPoint(), isMaximized());
    if (edges)
        windowHandle()->startSystemResize(edges);
    else
        windowHandle()->startSystemMove();
}

void CCorvaneDlg::mouseMoveEvent(QMouseEvent* event)
{
    for (int id : kTopButtons)
        m_children.Button(id)->SetHovering(false);
    QDialog::mouseMoveEvent(event);
}

void CCorvaneDlg::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->position().y() < kTitleStripPx && m_layoutMode == kLayoutNormal)
        RunCommand(kCmdMaximize);
}

void CCorvaneDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CCorvaneDlg::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    // The loading dialog runs modally: leave the drop's own handling first.
    QMetaObject::invokeMethod(
        this, [this, paths] { HandleDrop(paths); }, Qt::QueuedConnection);
}

} // namespace zq
