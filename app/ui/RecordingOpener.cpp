#include "RecordingOpener.h"

#include "CheckAviLayout.h"
#include "DispatchRecord.h"
#include "Player.h"
#include "ReadAviInfo.h"
#include "RepairAvi.h"
#include "SensorArrays.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <chrono>

Q_LOGGING_CATEGORY(lcOpen, "zq.open")

namespace zq {

namespace {
constexpr int kSleepSliceMs = 20;
} // namespace

RecordingOpener::RecordingOpener(Player* player, QObject* parent)
    : QObject(parent)
    , m_player(player)
{
}

RecordingOpener::~RecordingOpener()
{
    CancelAndWait();
}

QString RecordingOpener::RepairPath() const
{
    std::lock_guard lock(m_repairLock);
    return m_repairPath;
}

void RecordingOpener::CancelAndWait()
{
    // Every change the old worker still has queued belongs to an older generation and is dropped.
    ++m_generation;
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
    m_cancel = false;
    m_busy = false;
}

void RecordingOpener::Start(const Request& request)
{
    CancelAndWait();
    m_busy = true;
    const quint64 generation = m_generation.load();
    m_thread
        = std::thread([this, request, generation, settle = m_settleMs] { Run(request, generation, settle); });
}

void RecordingOpener::Queue(quint64 generation, std::function<void()> change)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation, change = std::move(change)] {
            if (generation == m_generation.load())
                change();
        },
        Qt::QueuedConnection);
}

bool RecordingOpener::SleepUnlessCancelled(int ms) const
{
    for (int slept = 0; slept < ms; slept += kSleepSliceMs) {
        if (Cancelled())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(kSleepSliceMs, ms - slept)));
    }
    return !Cancelled();
}

void RecordingOpener::Run(Request request, quint64 generation, int settleMs)
{
    if (!request.path.isEmpty()) {
        // The whole open repeats only when the graph was built and the engine did not start.
        for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
            const Result result = OpenRecording(request, generation, settleMs);
            if (result == Result::Cancelled)
                break;
            if (result == Result::Failed) {
                Queue(generation, [this] { emit openFailed(true); });
                break;
            }
            if (result == Result::Opened) {
                Queue(generation, [this, row = request.row] { emit openSucceeded(row); });
                break;
            }
            qCWarning(lcOpen) << "the engine did not start; attempt" << attempt + 1 << "of" << kMaxAttempts;
            if (attempt + 1 == kMaxAttempts)
                Queue(generation, [this] { emit openFailed(false); });
        }
    }
    Queue(generation, [this] {
        m_busy = false;
        emit finished();
    });
}

RecordingOpener::Result RecordingOpener::OpenRecording(
    const Request& request, quint64 generation, int settleMs)
{
    {
        std::lock_guard lock(m_repairLock);
        m_repairPath.clear();
    }
    m_player->SetParseOption(0);
    if (!SleepUnlessCancelled(settleMs))
        return Result::Cancelled;

    if (!request.hasEntry || (request.sourceKind != 0 && request.sourceKind != 1))
        return Result::Failed;
    ChunkLocations locations {};
    const qint32 layout = CheckAviLayout(request.path, &locations);
    if (layout == kAviLayoutUnusable)
        return Result::Failed;
    QString playPath = request.entry.path;
    if (layout == kAviLayoutNeedsRepair) {
        QDir().mkpath(request.temporaryFolder);
        // The copy's name is the entry's name with exactly its last four characters cut.
        const QString repairPath
            = QDir(request.temporaryFolder)
                  .filePath(request.entry.name.chopped(std::min<qsizetype>(4, request.entry.name.size()))
                      + QStringLiteral("_REPAIR.avi"));
        QString error;
        if (Cancelled())
            return Result::Cancelled;
        if (!RepairAvi(request.path, repairPath, locations, &error)) {
            qCWarning(lcOpen) << "repair failed:" << error;
            return Result::Failed;
        }
        {
            std::lock_guard lock(m_repairLock);
            m_repairPath = repairPath;
        }
        playPath = repairPath;
    }
    if (Cancelled())
        return Result::Cancelled;
    if (!m_player->Open(playPath, 0, -1))
        return Result::Failed;
    Queue(generation, [this] { emit graphBuilt(); });
    const bool playing = m_player->Play();

    AviInfo info;
    const bool haveInfo = ReadAviInfo(request.path, &info);
    if (Cancelled())
        return Result::Cancelled;
    // A header that cannot be read leaves the recording playing without sensor data.
    const int channels = haveInfo ? info.infoDigit() : 0;

    const qint64 duration = m_player->GetDurationMs();
    m_player->SetVolumePercent(request.volumePercent);
    m_player->SetRate(request.rate);
    m_player->SetBrightness(0, request.brightness);
    m_player->SetBrightness(1, request.brightness);
    if (m_player->GetChannelCount() == 2)
        m_player->SetMirror(1, request.rearMirror);
    // The window's changes come after the worker's last player call: the two never drive it at once.
    Queue(generation, [this, channels] { emit channelsKnown(channels); });
    if (haveInfo)
        DispatchUserData(info.userData.left(info.userDataSize));
    else
        ClearSensorArrays();
    const bool hasGps = !GpsFixes().isEmpty();
    Queue(generation, [this, duration, hasGps] { emit recordingReady(duration, hasGps); });
    return playing ? Result::Opened : Result::OpenedNotPlaying;
}

} // namespace zq
