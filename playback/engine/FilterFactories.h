#pragma once

#include <QByteArray>

namespace zq {

/// The GStreamer element factories behind each filter of the playback graph. A name that is not installed
/// makes that filter's creation fail, exactly as an unregistered filter would; tests use that to take a
/// filter away.
struct FilterFactories {
    // "TQStreamParseFilter"
    QByteArray fileSource = "filesrc";
    QByteArray demuxer = "avidemux";
    // "FFDShow Decoder k": queue ! h264parse ! avdec_h264 ! videobalance ! videoflip
    QByteArray queue = "queue";
    QByteArray videoParser = "h264parse";
    QByteArray videoDecoder = "avdec_h264";
    QByteArray videoBalance = "videobalance";
    QByteArray videoFlip = "videoflip";
    // "Color Space Convertor k": converts and scales to the picture the screen shows
    QByteArray colourConverter = "videoconvertscale";
    // "Enhanced Video Renderer[-k]"
    QByteArray videoSink = "appsink";
    // "COREAAC AUDIO" / "CoreAAC Decoder": aacparse ! avdec_aac
    QByteArray aacParser = "aacparse";
    QByteArray aacDecoder = "avdec_aac";
    // "DirectSound Audio Renderer": queue ! audioconvert ! audioresample ! scaletempo ! [audiopanorama] !
    // volume ! audio sink
    QByteArray audioConverter = "audioconvert";
    QByteArray audioResampler = "audioresample";
    QByteArray tempo = "scaletempo";
    QByteArray panorama = "audiopanorama"; // optional: without it the balance has nothing to centre
    QByteArray volume = "volume";
    QByteArray audioSink = "autoaudiosink";
    // Where a demuxer pad without a chain ends.
    QByteArray fakeSink = "fakesink";

    /// The defaults, with the audio sink taken from ZQ_AUDIO_SINK when that is set (tests run without a
    /// sound server and set it to "fakesink").
    static FilterFactories FromEnvironment();
};

} // namespace zq
