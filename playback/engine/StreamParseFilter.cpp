#include "StreamParseFilter.h"

#include "AviStreamList.h"
#include "PlaybackLog.h"

#include <QFile>

namespace zq {

namespace {

GQuark ControlQuark()
{
    static const GQuark quark = g_quark_from_static_string("zq-stream-parse-control");
    return quark;
}

bool IsH264(const QByteArray& fourCC)
{
    static const QByteArray kNames[] = { "H264", "h264", "X264", "x264", "AVC1", "avc1" };
    for (const QByteArray& name : kNames) {
        if (fourCC == name)
            return true;
    }
    return false;
}

// The pins carry the media type their stream's header promises, so that connecting a pin to a chain
// that cannot take it fails at once, as it would for any filter.
GstCaps* PinCaps(const AviStreamInfo& stream)
{
    if (stream.type == "vids") {
        const QByteArray& fourCC = stream.compression.isEmpty() ? stream.handler : stream.compression;
        return gst_caps_new_empty_simple(IsH264(fourCC) ? "video/x-h264" : "video/x-zq-unsupported");
    }
    constexpr quint16 kFormatPcm = 0x0001;
    constexpr quint16 kFormatAac = 0x00FF;
    constexpr quint16 kFormatAacLatm = 0x1602;
    constexpr quint16 kFormatAacAdts = 0x1600;
    constexpr quint16 kFormatAacMpeg4 = 0x706D;
    switch (stream.formatTag) {
    case kFormatPcm:
        return gst_caps_new_empty_simple("audio/x-raw");
    case kFormatAac:
    case kFormatAacAdts:
    case kFormatAacLatm:
    case kFormatAacMpeg4:
        return gst_caps_new_empty_simple("audio/mpeg");
    default:
        return gst_caps_new_empty_simple("audio/x-zq-unsupported");
    }
}

/// The recorder writes its sensor block into a stream header's "strd" chunk. avidemux hands those bytes
/// on as codec_data when the format has no extradata of its own, and h264parse then refuses the caps:
/// nothing would play. A real avcC record begins with its version byte 1; anything else is dropped.
GstPadProbeReturn DropFalseCodecData(GstPad*, GstPadProbeInfo* info, gpointer)
{
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (event == nullptr || GST_EVENT_TYPE(event) != GST_EVENT_CAPS)
        return GST_PAD_PROBE_OK;
    GstCaps* caps = nullptr;
    gst_event_parse_caps(event, &caps);
    if (caps == nullptr || gst_caps_get_size(caps) == 0)
        return GST_PAD_PROBE_OK;
    const GstStructure* structure = gst_caps_get_structure(caps, 0);
    if (!gst_structure_has_name(structure, "video/x-h264"))
        return GST_PAD_PROBE_OK;
    const GValue* value = gst_structure_get_value(structure, "codec_data");
    if (value == nullptr || !GST_VALUE_HOLDS_BUFFER(value))
        return GST_PAD_PROBE_OK;
    constexpr guint8 kAvcCVersion = 1;
    guint8 version = 0;
    GstBuffer* codecData = gst_value_get_buffer(value);
    if (codecData != nullptr && gst_buffer_extract(codecData, 0, &version, 1) == 1 && version == kAvcCVersion)
        return GST_PAD_PROBE_OK;

    GstCaps* repaired = gst_caps_copy(caps);
    gst_structure_remove_field(gst_caps_get_structure(repaired, 0), "codec_data");
    GstEvent* replacement = gst_event_new_caps(repaired);
    gst_caps_unref(repaired);
    gst_event_set_seqnum(replacement, gst_event_get_seqnum(event));
    gst_event_unref(event);
    GST_PAD_PROBE_INFO_DATA(info) = replacement;
    return GST_PAD_PROBE_OK;
}

} // namespace

StreamParseFilter::StreamParseFilter(
    GstElement* bin, GstElement* fileSource, GstElement* demuxer, const FilterFactories& factories)
    : m_bin(bin)
    , m_fileSource(fileSource)
    , m_demuxer(demuxer)
    , m_factories(factories)
{
}

GstElement* StreamParseFilter::Create(const FilterFactories& factories)
{
    GstElement* fileSource = gst_element_factory_make(factories.fileSource.constData(), "file-source");
    GstElement* demuxer = gst_element_factory_make(factories.demuxer.constData(), "demuxer");
    if (fileSource == nullptr || demuxer == nullptr) {
        for (GstElement* element : { fileSource, demuxer }) {
            if (element != nullptr)
                gst_object_unref(gst_object_ref_sink(element));
        }
        return nullptr;
    }
    GstElement* bin = gst_bin_new(nullptr);
    gst_bin_add_many(GST_BIN(bin), fileSource, demuxer, nullptr);
    if (!gst_element_link(fileSource, demuxer)) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    auto* self = new StreamParseFilter(bin, fileSource, demuxer, factories);
    g_object_set_qdata_full(G_OBJECT(bin), ControlQuark(), self,
        [](gpointer data) { delete static_cast<StreamParseFilter*>(data); });
    g_signal_connect(demuxer, "pad-added", G_CALLBACK(OnPadAdded), self);
    g_signal_connect(demuxer, "no-more-pads", G_CALLBACK(OnNoMorePads), self);
    return bin;
}

StreamParseFilter* StreamParseFilter::Query(GstElement* element)
{
    if (element == nullptr)
        return nullptr;
    return static_cast<StreamParseFilter*>(g_object_get_qdata(G_OBJECT(element), ControlQuark()));
}

HRESULT StreamParseFilter::SetFlag(qint32 flag)
{
    m_flag = flag;
    return S_OK;
}

HRESULT StreamParseFilter::SetPair(qint32 first, qint32 second)
{
    m_pairFirst = first;
    m_pairSecond = second;
    return S_OK;
}

HRESULT StreamParseFilter::Load(const QString& path)
{
    if (!m_fileName.isNull())
        return VFW_E_WRONG_STATE;
    QVector<AviStreamInfo> streams;
    if (path.isEmpty() || !ReadAviStreamList(path, &streams))
        return E_FAIL;
    g_object_set(m_fileSource, "location", QFile::encodeName(path).constData(), nullptr);

    // Pins in stream order, named as avidemux names its pads: per type, counted from 0.
    int videoStreams = 0;
    int audioStreams = 0;
    for (const AviStreamInfo& stream : streams) {
        QByteArray name;
        if (stream.type == "vids")
            name = "video_" + QByteArray::number(videoStreams++);
        else if (stream.type == "auds")
            name = "audio_" + QByteArray::number(audioStreams++);
        else
            continue;
        GstCaps* caps = PinCaps(stream);
        GstPadTemplate* pinTemplate = GST_PAD_TEMPLATE(gst_object_ref_sink(
            gst_pad_template_new(name.constData(), GST_PAD_SRC, GST_PAD_SOMETIMES, caps)));
        gst_caps_unref(caps);
        GstPad* pin = gst_ghost_pad_new_no_target_from_template(name.constData(), pinTemplate);
        gst_object_unref(pinTemplate);
        if (pin == nullptr)
            return LogFailure(E_FAIL);
        gst_pad_add_probe(pin, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, DropFalseCodecData, nullptr, nullptr);
        gst_element_add_pad(m_bin, pin);
    }
    m_fileName = path;
    return S_OK;
}

// Runs on the demuxer's streaming thread while the graph cues its first frames: it only links pads.
void StreamParseFilter::OnPadAdded(GstElement*, GstPad* pad, StreamParseFilter* self)
{
    gchar* name = gst_pad_get_name(pad);
    GstPad* pin = gst_element_get_static_pad(self->m_bin, name);
    g_free(name);
    bool joined = false;
    if (pin != nullptr && GST_IS_GHOST_PAD(pin) && gst_pad_is_linked(pin)) {
        GstPad* target = gst_ghost_pad_get_target(GST_GHOST_PAD(pin));
        if (target == nullptr)
            joined = gst_ghost_pad_set_target(GST_GHOST_PAD(pin), pad);
        else
            gst_object_unref(target);
    }
    if (pin != nullptr)
        gst_object_unref(pin);
    if (!joined)
        self->EndInFakeSink(pad);
}

// An unlinked pad would stop the whole demuxer with "not-linked"; a pad without a chain is drained into a
// fake sink. A sink holds the first buffer it gets while the graph is paused, so a leaky queue in front of it
// drops what the stream carries instead of holding up the demuxer (and with it every other channel).
void StreamParseFilter::EndInFakeSink(GstPad* pad)
{
    GstElement* drain = gst_element_factory_make(m_factories.queue.constData(), nullptr);
    GstElement* sink = gst_element_factory_make(m_factories.fakeSink.constData(), nullptr);
    if (drain == nullptr || sink == nullptr) {
        for (GstElement* element : { drain, sink }) {
            if (element != nullptr)
                gst_object_unref(gst_object_ref_sink(element));
        }
        LogFailure(REGDB_E_CLASSNOTREG);
        return;
    }
    constexpr guint kDrainLeakDownstream = 2; // GstQueueLeaky: drop the oldest buffers
    g_object_set(drain, "leaky", kDrainLeakDownstream, "max-size-buffers", 1u, "max-size-bytes", 0u,
        "max-size-time", guint64(0), nullptr);
    g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    // Not a sink of the graph: it takes no part in seeks, position queries or the end of the recording.
    GST_OBJECT_FLAG_UNSET(sink, GST_ELEMENT_FLAG_SINK);
    gst_bin_add_many(GST_BIN(m_bin), drain, sink, nullptr);
    GstPad* drainPad = gst_element_get_static_pad(drain, "sink");
    if (!gst_element_link(drain, sink) || gst_pad_link(pad, drainPad) != GST_PAD_LINK_OK)
        LogFailure(E_FAIL);
    gst_object_unref(drainPad);
    gst_element_sync_state_with_parent(sink);
    gst_element_sync_state_with_parent(drain);
}

// A stream that the header announced but the demuxer did not expose would leave its chain waiting for a
// first frame for ever; such a pin ends its stream at once.
void StreamParseFilter::OnNoMorePads(GstElement*, StreamParseFilter* self)
{
    GstIterator* pads = gst_element_iterate_src_pads(self->m_bin);
    GValue item = G_VALUE_INIT;
    bool done = false;
    while (!done) {
        switch (gst_iterator_next(pads, &item)) {
        case GST_ITERATOR_OK: {
            GstPad* pin = GST_PAD(g_value_get_object(&item));
            GstPad* target = GST_IS_GHOST_PAD(pin) ? gst_ghost_pad_get_target(GST_GHOST_PAD(pin)) : nullptr;
            if (target != nullptr) {
                gst_object_unref(target);
            } else if (GST_IS_GHOST_PAD(pin) && gst_pad_is_linked(pin)) {
                gchar* streamId = gst_pad_create_stream_id(pin, self->m_bin, GST_PAD_NAME(pin));
                gst_pad_push_event(pin, gst_event_new_stream_start(streamId));
                g_free(streamId);
                GstSegment segment;
                gst_segment_init(&segment, GST_FORMAT_TIME);
                gst_pad_push_event(pin, gst_event_new_segment(&segment));
                gst_pad_push_event(pin, gst_event_new_eos());
            }
            g_value_reset(&item);
            break;
        }
        case GST_ITERATOR_RESYNC:
            gst_iterator_resync(pads);
            break;
        default:
            done = true;
            break;
        }
    }
    g_value_unset(&item);
    gst_iterator_free(pads);
}

} // namespace zq
