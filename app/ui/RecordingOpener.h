#pragma once

#include "RecordingEntry.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace zq {

class Player;

/// Opens a recording on a worker thread: checks the file, repairs it into the temporary folder when its
/// index stands in front of its media, builds and starts the graph, applies the settings and reads the
/// sensor records. The worker never touches a widget: every window change is queued to the GUI thread, in
/// order, as one of the signals below. A new open asks the running worker to stop and waits for it; a
/// worker is never terminated, and the changes of a worker that was asked to stop are dropped.
class RecordingOpener : public QObject {
    Q_OBJECT
public:
    /// The fixed pause before an open, which lets a just-closed graph settle.
    static constexpr int kSettleMs = 500;
    static constexpr int kMaxAttempts = 3;

    struct Request {
        QString path;
        int row = -1;
        bool hasEntry = false;
        RecordingEntry entry;
        int sourceKind = 0;
        QString temporaryFolder;
        int volumePercent = 0;
        float rate = 1.0f;
        int brightness = 0;
        bool rearMirror = false;
    };

    explicit RecordingOpener(Player* player, QObject* parent = nullptr);
    ~RecordingOpener() override;

    /// Stops a running worker (asks, then waits), then starts one for the request.
    void Start(const Request& request);
    /// Asks the running worker to stop and waits for it; its pending window changes are dropped.
    void CancelAndWait();
    /// Set from Start until the GUI thread has taken the worker's last change.
    bool IsBusy() const { return m_busy.load(); }
    /// The path of the repaired copy of the current recording (empty when it plays unchanged).
    QString RepairPath() const;
    /// The settle time of the opens started from now on; tests and benchmarks shorten it.
    void SetSettleMs(int ms) { m_settleMs = ms; }

signals:
    /// The graph is built: start the tick, hide the loading dialog, take the focus from the list.
    void graphBuilt();
    /// The recording's channel count from its information record.
    void channelsKnown(int channelCount);
    /// Settings applied and sensor records in place.
    void recordingReady(qint64 durationMs, bool hasGps);
    /// The open of `row` ended well (the engine runs).
    void openSucceeded(int row);
    /// The open failed; the message is shown once per user action.
    void openFailed(bool showMessage);
    /// The worker has ended; the busy flag is clear.
    void finished();

private:
    enum class Result { Failed, Opened, OpenedNotPlaying, Cancelled };
    Result OpenRecording(const Request& request, quint64 generation, int settleMs);
    void Run(Request request, quint64 generation, int settleMs);
    /// Queues a change to the GUI thread; dropped when a newer open has begun since.
    void Queue(quint64 generation, std::function<void()> change);
    bool Cancelled() const { return m_cancel.load(); }
    bool SleepUnlessCancelled(int ms) const;

    Player* m_player;
    std::thread m_thread;
    std::atomic<bool> m_busy { false };
    std::atomic<bool> m_cancel { false };
    std::atomic<quint64> m_generation { 0 };
    int m_settleMs = kSettleMs;
    mutable std::mutex m_repairLock;
    QString m_repairPath;
};

} // namespace zq
