#pragma once

#include <QtGlobal>
#include <functional>
#include <gst/gst.h>
#include <memory>

namespace zq {

/// The seeks of one graph, coalesced as a slider drag needs them: while one seek is on its way, only the
/// newest further target is kept, and it is sent as soon as the first one has its frames. Nobody waits
/// for a seek unless they ask to. Requests come from the engine's thread, completions from the graph's
/// streaming threads.
class SeekQueue {
public:
    /// clearEnd forgets an end of the recording that was reached; it is called for every seek sent.
    SeekQueue(GstElement* graph, std::function<void()> clearEnd);
    ~SeekQueue();
    SeekQueue(const SeekQueue&) = delete;
    SeekQueue& operator=(const SeekQueue&) = delete;

    /// A flushing, accurate seek to positionNs at rate: sent at once when none is on its way, otherwise
    /// kept (replacing any target kept before). False only when a seek sent at once was refused.
    bool Request(double rate, qint64 positionNs);
    /// The graph has finished an asynchronous change (any thread): the seek on its way has its frames.
    void OnAsyncDone();
    /// True while a seek is on its way or kept; *targetNs is then the newest position asked for.
    bool Pending(qint64* targetNs = nullptr);
    /// Waits until every seek asked for has its frames, sending a kept one itself; false after timeoutMs.
    bool Settle(int timeoutMs);
    /// Seeks sent to the graph so far.
    quint64 sent() const;

    /// A handler for GraphEvents::SetAsyncDoneHandler that outlives this object safely.
    std::function<void()> AsyncDoneHandler() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace zq
