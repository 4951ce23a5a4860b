#pragma once

#include "FilterFactories.h"
#include "HResult.h"

#include <QString>
#include <gst/gst.h>

namespace zq {

/// The filters the playback graph is made of, by what they do (they take the place of class ids).
enum class FilterClass {
    StreamParse, // "TQStreamParseFilter": filesrc ! avidemux
    VideoDecoder, // "FFDShow Decoder k": queue ! h264parse ! avdec_h264 ! videobalance ! videoflip
    ColourConverter, // "Color Space Convertor k": videoconvertscale (to the screen's size)
    VideoRenderer, // "Enhanced Video Renderer[-k]": appsink (BGRx)
    AacDecoder, // "COREAAC AUDIO" / "CoreAAC Decoder": aacparse ! avdec_aac
    AudioRenderer, // "DirectSound Audio Renderer": ... ! volume ! audio sink
};

/// Pins are the pads of a filter; these case-sensitive parts of a pad name mark the channel pins.
constexpr const char* kVideoPinName = "video";
constexpr const char* kAudioPinName = "audio";
/// ProbeAudioPins adds this for every audio pin that carries PCM.
constexpr int kPcmAudioCode = 1000;

/// A new element (floating reference) for the filter, or null when one of its factories is not installed
/// or, for the audio renderer, its sink cannot be opened.
GstElement* CreateFilter(FilterClass clsid, const FilterFactories& factories);

/// Creates the filter, names it and adds it to graph; on success *filter holds a reference of its own.
/// E_POINTER without graph or filter, REGDB_E_CLASSNOTREG when the filter cannot be made, E_FAIL when the
/// graph refuses it (a name used twice).
HRESULT AddFilterByClsid(GstBin* graph, FilterClass clsid, const QByteArray& name,
    const FilterFactories& factories, GstElement** filter);

/// Links the first free output pin of upstream that fits a free input pin of downstream, spending at most
/// three attempts: 1 when linked, 0 when the attempts ran out, E_FAIL when every pair was tried, -1
/// without a graph. Pins fit when their media types meet.
HRESULT ConnectFilters(GstBin* graph, GstElement* upstream, GstElement* downstream);

/// The number of output pins whose name contains "video".
int CountVideoPins(GstElement* filter);

/// 0 no audio, 1 ... 999 compressed audio, 1000 and more PCM audio: 1 for each output pin whose name
/// contains "audio", 1000 more when that pin's first media type is raw audio.
int ProbeAudioPins(GstElement* filter);

/// Where SaveGraphFile writes the graph: "test.grf.dot" in the system's temporary folder.
QString GraphFilePath();

/// Writes a GraphViz picture of graph to GraphFilePath(); a failure is silent.
void SaveGraphFile(GstBin* graph);

} // namespace zq
