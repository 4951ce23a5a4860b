#include "GraphEvents.h"

#include "PlaybackLog.h"

#include <QCoreApplication>
#include <atomic>
#include <mutex>

namespace zq {

struct GraphEvents::State {
    std::atomic<bool> error { false };
    std::atomic<bool> atEnd { false };
    mutable std::mutex mutex;
    QString lastError;
    std::function<void()> asyncDone;
};

namespace {

QString MessageText(GstMessage* message)
{
    GError* error = nullptr;
    gchar* debug = nullptr;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
        gst_message_parse_error(message, &error, &debug);
    else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_WARNING)
        gst_message_parse_warning(message, &error, &debug);
    QString text = QStringLiteral("%1: %2").arg(QString::fromUtf8(GST_OBJECT_NAME(GST_MESSAGE_SRC(message))),
        QString::fromUtf8(error != nullptr ? error->message : "unknown"));
    if (error != nullptr)
        g_error_free(error);
    g_free(debug);
    return text;
}

void LogOnGuiThread(GstMessage* message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        LogFailure(E_FAIL);
        qCWarning(lcPlayback).noquote() << "graph error from" << MessageText(message);
        break;
    case GST_MESSAGE_WARNING:
        qCInfo(lcPlayback).noquote() << "graph warning from" << MessageText(message);
        break;
    case GST_MESSAGE_EOS:
        qCDebug(lcPlayback) << "the recording has played to its end";
        break;
    default:
        break;
    }
}

} // namespace

GraphEvents::GraphEvents(GstElement* pipeline)
    : m_bus(gst_pipeline_get_bus(GST_PIPELINE(pipeline)))
    , m_state(std::make_shared<State>())
{
    gst_bus_set_sync_handler(m_bus, &GraphEvents::OnMessage, new std::shared_ptr<State>(m_state),
        [](gpointer data) { delete static_cast<std::shared_ptr<State>*>(data); });
}

GraphEvents::~GraphEvents()
{
    gst_bus_set_sync_handler(m_bus, nullptr, nullptr, nullptr);
    gst_object_unref(m_bus);
}

GstBusSyncReply GraphEvents::OnMessage(GstBus*, GstMessage* message, gpointer data)
{
    State& state = **static_cast<std::shared_ptr<State>*>(data);
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_ERROR) {
        const QString text = MessageText(message);
        std::lock_guard<std::mutex> lock(state.mutex);
        state.lastError = text;
        state.error = true;
    } else if (type == GST_MESSAGE_EOS) {
        state.atEnd = true;
    } else if (type == GST_MESSAGE_ASYNC_DONE) {
        // Bins keep their children's messages of this kind: only the whole graph's reaches the bus.
        std::function<void()> handler;
        {
            std::lock_guard<std::mutex> lock(state.mutex);
            handler = state.asyncDone;
        }
        if (handler)
            handler();
    }
    if ((type & (GST_MESSAGE_ERROR | GST_MESSAGE_WARNING | GST_MESSAGE_EOS)) != 0
        && QCoreApplication::instance() != nullptr) {
        GstMessage* queued = gst_message_ref(message);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [queued] {
                LogOnGuiThread(queued);
                gst_message_unref(queued);
            },
            Qt::QueuedConnection);
    }
    return GST_BUS_DROP;
}

bool GraphEvents::HasError() const
{
    return m_state->error;
}

QString GraphEvents::LastError() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->lastError;
}

bool GraphEvents::AtEnd() const
{
    return m_state->atEnd;
}

void GraphEvents::ClearEnd()
{
    m_state->atEnd = false;
}

std::function<void()> GraphEvents::EndClearer() const
{
    std::shared_ptr<State> state = m_state;
    return [state] { state->atEnd = false; };
}

void GraphEvents::SetAsyncDoneHandler(std::function<void()> handler)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->asyncDone = std::move(handler);
}

} // namespace zq
