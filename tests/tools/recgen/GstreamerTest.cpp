#include "GeneratedFile.h"

#include <gst/gst.h>

namespace zq::test {
namespace {

using recgen::AudioKind;
using recgen::RecordingRequest;
using recgen::StrdPlacement;

void CountBuffer(GstElement*, GstBuffer*, GstPad*, gpointer counter)
{
    ++*static_cast<int*>(counter);
}

struct PlayCounts {
    bool finished = false;
    int front = 0;
    int rear = 0;
    int audio = 0;
};

// Decodes every stream of a recording through GStreamer's demuxer, parsers and decoders, as the viewer's
// media graph does, and counts what comes out.
PlayCounts Play(const QString& path, AudioKind audio)
{
    QString description = QStringLiteral("filesrc location=\"%1\" ! avidemux name=demux "
                                         "demux.video_0 ! queue ! h264parse ! avdec_h264 ! fakesink "
                                         "name=front signal-handoffs=true sync=false "
                                         "demux.video_1 ! queue ! h264parse ! avdec_h264 ! fakesink "
                                         "name=rear signal-handoffs=true sync=false ")
                              .arg(path);
    if (audio == AudioKind::Aac)
        description += "demux.audio_0 ! queue ! aacparse ! avdec_aac ! fakesink name=audio "
                       "signal-handoffs=true sync=false";
    else
        description
            += "demux.audio_0 ! queue ! audioconvert ! fakesink name=audio signal-handoffs=true sync=false";
    PlayCounts counts;
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.toUtf8().constData(), &error);
    if (pipeline == nullptr) {
        g_clear_error(&error);
        return counts;
    }
    g_clear_error(&error);
    for (auto [name, counter] : { std::pair { "front", &counts.front }, std::pair { "rear", &counts.rear },
             std::pair { "audio", &counts.audio } }) {
        GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), name);
        g_signal_connect(sink, "handoff", G_CALLBACK(CountBuffer), counter);
        gst_object_unref(sink);
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* message = gst_bus_timed_pop_filtered(
        bus, 60 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    counts.finished = message != nullptr && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message != nullptr)
        gst_message_unref(message);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return counts;
}

TEST(Gstreamer, DecodesEveryFrameAndAllTheSound)
{
    QTemporaryDir folder;
    for (AudioKind audio : { AudioKind::Aac, AudioKind::Pcm }) {
        for (bool indexFirst : { false, true }) {
            RecordingRequest request;
            request.durationSeconds = 2.0;
            request.audio = audio;
            request.idx1BeforeMovi = indexFirst;
            // In the first video stream the block reaches h264parse as codec data, which it refuses; the
            // viewer strips it, a plain pipeline cannot.
            request.strd = StrdPlacement::Audio;
            const GeneratedFile file = Generate(request, folder);
            ASSERT_TRUE(file.ok) << file.error.toStdString();
            const PlayCounts counts = Play(folder.filePath("test.avi"), audio);
            EXPECT_TRUE(counts.finished);
            EXPECT_EQ(counts.front, 60);
            EXPECT_EQ(counts.rear, 60);
            // AAC: one decoded buffer per frame (the first may be the encoder's priming); PCM: one per block.
            if (audio == AudioKind::Aac) {
                EXPECT_GE(counts.audio, file.result.audioChunks - 1);
            } else {
                EXPECT_EQ(counts.audio, file.result.audioChunks);
            }
            EXPECT_LE(counts.audio, file.result.audioChunks);
        }
    }
}

} // namespace
} // namespace zq::test
