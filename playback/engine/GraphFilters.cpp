#include "GraphFilters.h"

#include "DecoderParams.h"
#include "StreamParseFilter.h"
#include "VideoRenderer.h"

#include <QDir>
#include <QSaveFile>
#include <cstring>
#include <gst/base/gstbasetransform.h>
#include <vector>

namespace zq {

namespace {

struct ChainPart {
    const QByteArray& factory;
    const char* name;
    bool optional = false;
};

void Discard(GstElement* element)
{
    if (element != nullptr)
        gst_object_unref(gst_object_ref_sink(element));
}

void AddGhostPad(
    GstElement* bin, GstElement* inner, const char* padName, GstPadDirection direction, const char* caps)
{
    GstCaps* templateCaps = gst_caps_from_string(caps);
    GstPadTemplate* padTemplate = GST_PAD_TEMPLATE(
        gst_object_ref_sink(gst_pad_template_new(padName, direction, GST_PAD_ALWAYS, templateCaps)));
    gst_caps_unref(templateCaps);
    GstPad* target = gst_element_get_static_pad(inner, padName);
    GstPad* ghost = gst_ghost_pad_new_from_template(padName, target, padTemplate);
    gst_object_unref(target);
    gst_object_unref(padTemplate);
    gst_element_add_pad(bin, ghost);
}

/// A bin of the parts linked in a row, with a "sink" pin of sinkCaps and, when srcCaps is given, a "src"
/// pin of srcCaps. Null when a part that is not optional cannot be made; *elements gets every part made
/// (null for a missing optional one), in order.
GstElement* MakeChainBin(std::initializer_list<ChainPart> parts, const char* sinkCaps, const char* srcCaps,
    std::vector<GstElement*>* elements)
{
    std::vector<GstElement*> made;
    bool complete = true;
    for (const ChainPart& part : parts) {
        GstElement* element = gst_element_factory_make(part.factory.constData(), part.name);
        if (element == nullptr && !part.optional)
            complete = false;
        made.push_back(element);
    }
    if (!complete) {
        for (GstElement* element : made)
            Discard(element);
        return nullptr;
    }
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* previous = nullptr;
    GstElement* first = nullptr;
    for (GstElement* element : made) {
        if (element == nullptr)
            continue;
        gst_bin_add(GST_BIN(bin), element);
        if (previous != nullptr && !gst_element_link(previous, element)) {
            Discard(bin);
            return nullptr;
        }
        if (first == nullptr)
            first = element;
        previous = element;
    }
    AddGhostPad(bin, first, "sink", GST_PAD_SINK, sinkCaps);
    if (srcCaps != nullptr)
        AddGhostPad(bin, previous, "src", GST_PAD_SRC, srcCaps);
    if (elements != nullptr)
        *elements = made;
    return bin;
}

GstElement* CreateVideoDecoder(const FilterFactories& factories)
{
    std::vector<GstElement*> parts;
    GstElement* bin
        = MakeChainBin({ { factories.queue, "queue" }, { factories.videoParser, "parser" },
                           { factories.videoDecoder, "decoder" }, { factories.videoBalance, "balance" },
                           { factories.videoFlip, "flip" } },
            "video/x-h264", "video/x-raw", &parts);
    if (bin == nullptr)
        return nullptr;
    // videoflip starts at "identity" but still copies every frame until its direction has changed
    // once: without a mirror the decoder's frame must pass untouched. A later direction switches it
    // back and forth by itself.
    if (GST_IS_BASE_TRANSFORM(parts[4]))
        gst_base_transform_set_passthrough(GST_BASE_TRANSFORM(parts[4]), TRUE);
    DecoderParams::Attach(bin, parts[3], parts[4]);
    return bin;
}

void SetIfPresent(GstElement* element, const char* property, int value)
{
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(element), property) != nullptr)
        g_object_set(element, property, value, nullptr);
}

/// The renderer takes I420 and scales it itself: the converter only brings a decoder's other formats to
/// I420 and otherwise passes frames through. Those pictures are only looked at (a capture takes the
/// decoder's own frame): the chroma is taken as it lies and not dithered, and no borders are added.
GstElement* CreateColourConverter(const FilterFactories& factories)
{
    GstElement* converter = gst_element_factory_make(factories.colourConverter.constData(), nullptr);
    if (converter == nullptr)
        return nullptr;
    SetIfPresent(converter, "add-borders", FALSE);
    SetIfPresent(converter, "chroma-mode", 3); // GST_VIDEO_CHROMA_MODE_NONE
    SetIfPresent(converter, "dither", 0); // GST_VIDEO_DITHER_NONE
    return converter;
}

GstElement* CreateAacDecoder(const FilterFactories& factories)
{
    return MakeChainBin({ { factories.aacParser, "parser" }, { factories.aacDecoder, "decoder" } },
        "audio/mpeg", "audio/x-raw", nullptr);
}

/// The audio output is opened once before it joins the graph: an output that cannot be used counts as
/// missing, so the recording plays without sound instead of not at all.
GstElement* CreateAudioRenderer(const FilterFactories& factories)
{
    std::vector<GstElement*> parts;
    // The queue lets the demuxer run on while the audio output waits for the clock.
    GstElement* bin = MakeChainBin({ { factories.queue, "queue" }, { factories.audioConverter, "converter" },
                                       { factories.audioResampler, "resampler" },
                                       { factories.tempo, "tempo" }, { factories.panorama, "panorama", true },
                                       { factories.volume, "volume" }, { factories.audioSink, "sink" } },
        "audio/x-raw", nullptr, &parts);
    if (bin == nullptr)
        return nullptr;
    GstElement* output = parts.back();
    const bool usable = gst_element_set_state(output, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    gst_element_set_state(output, GST_STATE_NULL);
    if (!usable) {
        Discard(bin);
        return nullptr;
    }
    return bin;
}

std::vector<GstPad*> ListPads(GstElement* element, GstPadDirection direction)
{
    std::vector<GstPad*> pads;
    GstIterator* iterator = direction == GST_PAD_SRC ? gst_element_iterate_src_pads(element)
                                                     : gst_element_iterate_sink_pads(element);
    GValue item = G_VALUE_INIT;
    bool done = false;
    while (!done) {
        switch (gst_iterator_next(iterator, &item)) {
        case GST_ITERATOR_OK:
            pads.push_back(GST_PAD(g_value_dup_object(&item)));
            g_value_reset(&item);
            break;
        case GST_ITERATOR_RESYNC:
            for (GstPad* pad : pads)
                gst_object_unref(pad);
            pads.clear();
            gst_iterator_resync(iterator);
            break;
        default:
            done = true;
            break;
        }
    }
    g_value_unset(&item);
    gst_iterator_free(iterator);
    return pads;
}

void ReleasePads(std::vector<GstPad*>& pads)
{
    for (GstPad* pad : pads)
        gst_object_unref(pad);
    pads.clear();
}

bool PadNameContains(GstPad* pad, const char* part)
{
    return std::strstr(GST_PAD_NAME(pad), part) != nullptr;
}

} // namespace

GstElement* CreateFilter(FilterClass clsid, const FilterFactories& factories)
{
    switch (clsid) {
    case FilterClass::StreamParse:
        return StreamParseFilter::Create(factories);
    case FilterClass::VideoDecoder:
        return CreateVideoDecoder(factories);
    case FilterClass::ColourConverter:
        return CreateColourConverter(factories);
    case FilterClass::VideoRenderer:
        return VideoRenderer::Create(factories);
    case FilterClass::AacDecoder:
        return CreateAacDecoder(factories);
    case FilterClass::AudioRenderer:
        return CreateAudioRenderer(factories);
    }
    return nullptr;
}

HRESULT AddFilterByClsid(GstBin* graph, FilterClass clsid, const QByteArray& name,
    const FilterFactories& factories, GstElement** filter)
{
    if (graph == nullptr || filter == nullptr)
        return E_POINTER;
    *filter = nullptr;
    GstElement* created = CreateFilter(clsid, factories);
    if (created == nullptr)
        return REGDB_E_CLASSNOTREG;
    gst_object_ref_sink(created);
    HRESULT hr = E_FAIL;
    if (gst_object_set_name(GST_OBJECT(created), name.constData()) && gst_bin_add(graph, created)) {
        *filter = GST_ELEMENT(gst_object_ref(created));
        hr = S_OK;
    }
    gst_object_unref(created);
    return hr;
}

HRESULT ConnectFilters(GstBin* graph, GstElement* upstream, GstElement* downstream)
{
    if (graph == nullptr)
        return -1;
    if (upstream == nullptr || downstream == nullptr)
        return E_POINTER;
    std::vector<GstPad*> outputs = ListPads(upstream, GST_PAD_SRC);
    std::vector<GstPad*> inputs = ListPads(downstream, GST_PAD_SINK);
    const auto tryPairs = [&outputs, &inputs]() -> HRESULT {
        constexpr int kConnectAttempts = 3;
        int attemptsLeft = kConnectAttempts;
        for (GstPad* output : outputs) {
            if (gst_pad_is_linked(output))
                continue;
            for (GstPad* input : inputs) {
                if (gst_pad_is_linked(input))
                    continue;
                if (attemptsLeft == 0)
                    return 0;
                --attemptsLeft;
                // Pins are matched by the media types they promise; the caps that flow are settled later.
                const auto checks
                    = GstPadLinkCheck(GST_PAD_LINK_CHECK_HIERARCHY | GST_PAD_LINK_CHECK_TEMPLATE_CAPS);
                if (gst_pad_link_full(output, input, checks) == GST_PAD_LINK_OK)
                    return 1;
            }
        }
        return E_FAIL;
    };
    const HRESULT result = tryPairs();
    ReleasePads(outputs);
    ReleasePads(inputs);
    return result;
}

int CountVideoPins(GstElement* filter)
{
    if (filter == nullptr)
        return 0;
    std::vector<GstPad*> outputs = ListPads(filter, GST_PAD_SRC);
    int count = 0;
    for (GstPad* pad : outputs) {
        if (PadNameContains(pad, kVideoPinName))
            ++count;
    }
    ReleasePads(outputs);
    return count;
}

int ProbeAudioPins(GstElement* filter)
{
    if (filter == nullptr)
        return 0;
    std::vector<GstPad*> outputs = ListPads(filter, GST_PAD_SRC);
    int code = 0;
    for (GstPad* pad : outputs) {
        if (!PadNameContains(pad, kAudioPinName))
            continue;
        ++code;
        GstCaps* caps = gst_pad_get_pad_template_caps(pad);
        if (caps != nullptr && !gst_caps_is_any(caps) && gst_caps_get_size(caps) > 0
            && gst_structure_has_name(gst_caps_get_structure(caps, 0), "audio/x-raw"))
            code += kPcmAudioCode;
        if (caps != nullptr)
            gst_caps_unref(caps);
    }
    ReleasePads(outputs);
    return code;
}

QString GraphFilePath()
{
    return QDir::tempPath() + QStringLiteral("/test.grf.dot");
}

void SaveGraphFile(GstBin* graph)
{
    if (graph == nullptr)
        return;
    gchar* dot = gst_debug_bin_to_dot_data(graph, GST_DEBUG_GRAPH_SHOW_ALL);
    if (dot == nullptr)
        return;
    QSaveFile file(GraphFilePath());
    if (file.open(QIODevice::WriteOnly))
        file.write(dot);
    file.commit();
    g_free(dot);
}

} // namespace zq
