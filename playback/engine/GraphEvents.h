#pragma once

#include <QString>
#include <functional>
#include <gst/gst.h>
#include <memory>

namespace zq {

/// The bus of one playback graph. Its sync handler runs on whatever thread posts a message: it only
/// records what the engine must know at once (an error, the end of the recording) and queues the message
/// to the GUI thread, where it is logged. No bus watch: that would need Qt's GLib event dispatcher.
class GraphEvents {
public:
    explicit GraphEvents(GstElement* pipeline);
    ~GraphEvents();
    GraphEvents(const GraphEvents&) = delete;
    GraphEvents& operator=(const GraphEvents&) = delete;

    bool HasError() const;
    QString LastError() const;
    /// The whole graph has played to its end (every sink received the end of its stream).
    bool AtEnd() const;
    /// A flushing seek starts the recording over: whatever end was reached no longer holds.
    void ClearEnd();
    /// The same as ClearEnd, callable from any thread for as long as anybody holds it.
    std::function<void()> EndClearer() const;
    /// Called on the posting thread (a streaming thread) each time the graph has finished an
    /// asynchronous change: a seek's or a pause's frames have arrived. Set before the graph runs.
    void SetAsyncDoneHandler(std::function<void()> handler);

private:
    struct State;
    static GstBusSyncReply OnMessage(GstBus* bus, GstMessage* message, gpointer state);

    GstBus* m_bus;
    std::shared_ptr<State> m_state;
};

} // namespace zq
