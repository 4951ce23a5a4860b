#include "SeekQueue.h"

#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <mutex>

namespace zq {

namespace {

// A change the graph reports as finished, with no word of it on the bus for this long, is taken as done:
// a lost message must not hold every later seek back for ever.
constexpr qint64 kSilentCompletionMs = 1000;
constexpr GstClockTime kSettlePollNs = 20 * GST_MSECOND;
constexpr qint64 kSettleGraceMs = 40;

} // namespace

struct SeekQueue::State {
    std::mutex mutex;
    GstElement* graph = nullptr; // the engine's; cleared when the queue goes
    std::function<void()> clearEnd;
    bool onItsWay = false; // sent, frames not there yet
    bool kept = false;
    double keptRate = 1.0;
    qint64 keptNs = 0;
    qint64 targetNs = 0;
    int handedOver = 0; // kept seeks given to a GStreamer thread to send, not sent yet
    quint64 sent = 0;
    QElapsedTimer sinceSent;

    /// Sends a seek now; the caller holds no lock.
    static bool Send(GstElement* graph, const std::shared_ptr<State>& state, double rate, qint64 ns);
    /// The seek on its way has its frames: send the kept one, or nothing is pending any more.
    static void AsyncDone(const std::shared_ptr<State>& state);
};

bool SeekQueue::State::Send(GstElement* graph, const std::shared_ptr<State>& state, double rate, qint64 ns)
{
    // Flushing and accurate: the frame shown afterwards is the one at the position, not the key frame
    // before it. The stop position stays where it is.
    const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    const bool ok = gst_element_seek(graph, rate, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET,
        std::max<qint64>(ns, 0), GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
    std::function<void()> clearEnd;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        if (ok) {
            ++state->sent;
            state->sinceSent.start();
        }
        clearEnd = state->clearEnd;
    }
    if (ok && clearEnd)
        clearEnd();
    return ok;
}

SeekQueue::SeekQueue(GstElement* graph, std::function<void()> clearEnd)
    : m_state(std::make_shared<State>())
{
    m_state->graph = graph;
    m_state->clearEnd = std::move(clearEnd);
}

SeekQueue::~SeekQueue()
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->graph = nullptr;
    m_state->kept = false;
}

bool SeekQueue::Request(double rate, qint64 positionNs)
{
    GstElement* graph = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->targetNs = positionNs;
        if (m_state->onItsWay || m_state->handedOver > 0) {
            m_state->kept = true;
            m_state->keptRate = rate;
            m_state->keptNs = positionNs;
            return true;
        }
        m_state->onItsWay = true;
        graph = m_state->graph;
    }
    if (graph != nullptr && State::Send(graph, m_state, rate, positionNs))
        return true;
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->onItsWay = false;
    return false;
}

void SeekQueue::OnAsyncDone()
{
    State::AsyncDone(m_state);
}

void SeekQueue::State::AsyncDone(const std::shared_ptr<State>& self)
{
    struct Call {
        std::shared_ptr<State> state;
        double rate;
        qint64 ns;
    };
    Call* call = nullptr;
    GstElement* graph = nullptr;
    {
        std::lock_guard<std::mutex> lock(self->mutex);
        if (!self->onItsWay)
            return;
        if (!self->kept || self->graph == nullptr) {
            self->onItsWay = false;
            return;
        }
        self->kept = false;
        ++self->handedOver;
        call = new Call { self, self->keptRate, self->keptNs };
        graph = self->graph;
    }
    // This runs on a streaming thread, which a flushing seek would have to stop: a GStreamer thread of
    // the graph's own sends it instead.
    gst_element_call_async(
        graph,
        [](GstElement* element, gpointer data) {
            auto* pending = static_cast<Call*>(data);
            const bool ok = State::Send(element, pending->state, pending->rate, pending->ns);
            std::lock_guard<std::mutex> lock(pending->state->mutex);
            --pending->state->handedOver;
            if (!ok && pending->state->handedOver == 0 && !pending->state->kept)
                pending->state->onItsWay = false;
        },
        call, [](gpointer data) { delete static_cast<Call*>(data); });
}

bool SeekQueue::Pending(qint64* targetNs)
{
    std::unique_lock<std::mutex> lock(m_state->mutex);
    if (m_state->onItsWay && m_state->handedOver == 0 && m_state->graph != nullptr
        && m_state->sinceSent.isValid() && m_state->sinceSent.elapsed() > kSilentCompletionMs) {
        GstElement* graph = m_state->graph;
        lock.unlock();
        const GstStateChangeReturn settled = gst_element_get_state(graph, nullptr, nullptr, 0);
        lock.lock();
        if (settled == GST_STATE_CHANGE_SUCCESS && m_state->onItsWay && m_state->handedOver == 0) {
            lock.unlock();
            State::AsyncDone(m_state);
            lock.lock();
        }
    }
    const bool pending = m_state->onItsWay || m_state->kept || m_state->handedOver > 0;
    if (pending && targetNs != nullptr)
        *targetNs = m_state->targetNs;
    return pending;
}

bool SeekQueue::Settle(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() <= timeoutMs) {
        GstElement* graph = nullptr;
        {
            std::lock_guard<std::mutex> lock(m_state->mutex);
            if (!m_state->onItsWay && !m_state->kept && m_state->handedOver == 0)
                return true;
            graph = m_state->graph;
        }
        if (graph == nullptr)
            return false;
        const GstStateChangeReturn result = gst_element_get_state(graph, nullptr, nullptr, kSettlePollNs);
        if (result == GST_STATE_CHANGE_FAILURE)
            return false;
        if (result != GST_STATE_CHANGE_SUCCESS && result != GST_STATE_CHANGE_NO_PREROLL)
            continue;
        // The graph stands still, so its completion is on the bus by now or about to be: give the bus
        // a moment, then take it as reported. (The caller waits for the graph once more afterwards.)
        QThread::msleep(1);
        bool overdue = false;
        {
            std::lock_guard<std::mutex> lock(m_state->mutex);
            overdue = m_state->handedOver == 0 && m_state->onItsWay && m_state->sinceSent.isValid()
                && m_state->sinceSent.elapsed() >= kSettleGraceMs;
        }
        if (overdue)
            State::AsyncDone(m_state);
    }
    return false;
}

quint64 SeekQueue::sent() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->sent;
}

std::function<void()> SeekQueue::AsyncDoneHandler() const
{
    std::weak_ptr<State> weak = m_state;
    return [weak] {
        std::shared_ptr<State> state = weak.lock();
        if (!state)
            return;
        State::AsyncDone(state);
    };
}

} // namespace zq
