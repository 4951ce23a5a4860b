#include "EngineTestSupport.h"
#include "GraphFilters.h"
#include "HeadlessVideoSurface.h"
#include "PlaybackEngine.h"
#include "StreamParseFilter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zq;
using zq::recgen::AudioKind;
using zq::recgen::RecordingRequest;
using zq::recgen::StrdPlacement;

namespace {

RecordingRequest Request(
    int videoStreams, AudioKind audio = AudioKind::Aac, StrdPlacement strd = StrdPlacement::FirstVideo)
{
    RecordingRequest request;
    request.videoStreams = videoStreams;
    request.audio = audio;
    request.strd = strd;
    request.durationSeconds = 2.0;
    return request;
}

class GraphBuild : public ::testing::Test {
protected:
    HeadlessVideoSurface m_front;
    HeadlessVideoSurface m_rear;
    PlaybackEngine m_engine { 2, { &m_front, &m_rear, nullptr, nullptr } };

    std::string Names() const { return test::ElementNames(m_engine.graph()); }
    bool HasElement(const char* name) const
    {
        return (", " + Names() + ",").find(std::string(", ") + name + ",") != std::string::npos;
    }
    /// Both screens show a first frame of their own channel.
    void ExpectChannelsOnScreens(int channels)
    {
        HeadlessVideoSurface* screens[] = { &m_front, &m_rear };
        for (int k = 0; k < 2; ++k) {
            if (k < channels) {
                ASSERT_TRUE(test::PumpUntil([&] { return !screens[k]->frame().isNull(); })) << "screen " << k;
                EXPECT_EQ(test::FrameChannel(screens[k]->frame()), k);
                EXPECT_EQ(screens[k]->videoRect(), screens[k]->ClientRect());
            } else {
                test::PumpFor(50);
                EXPECT_TRUE(screens[k]->frame().isNull()) << "screen " << k;
            }
        }
    }
};

TEST_F(GraphBuild, OneVideoStreamBuildsTheSingleChannelGraphOnScreenOne)
{
    const QString path = test::Recording("one-aac", Request(1));
    ASSERT_EQ(m_engine.BuildGraph(path, 0, -1), S_OK);
    EXPECT_EQ(m_engine.state(), PlayState::kStopped);
    EXPECT_EQ(m_engine.videoPinCount(), 1);
    EXPECT_EQ(Names(),
        "TQStreamParseFilter, COREAAC AUDIO, DirectSound Audio Renderer, FFDShow Decoder1, Color Space "
        "Convertor 1, "
        "Enhanced Video Renderer");
    ExpectChannelsOnScreens(1);
    qint64 duration = 0;
    ASSERT_EQ(m_engine.GetDuration(&duration), S_OK);
    EXPECT_GE(duration, 20'000'000); // the longest stream: AAC frames may end a little after the video
    EXPECT_LT(duration, 21'000'000);
}

TEST_F(GraphBuild, TwoStreamsOnTwoScreensBuildChannelsOneAndTwoInOrder)
{
    const QString path = test::Recording("two-aac", Request(2));
    ASSERT_EQ(m_engine.BuildGraph(path, 0, -1), S_OK);
    EXPECT_EQ(m_engine.videoPinCount(), 2);
    EXPECT_EQ(Names(),
        "TQStreamParseFilter, CoreAAC Decoder, DirectSound Audio Renderer, FFDShow Decoder1, Color Space "
        "Convertor 1, "
        "Enhanced Video Renderer-1, FFDShow Decoder2, Color Space Convertor 2, Enhanced Video Renderer-2");
    ExpectChannelsOnScreens(2);
}

TEST_F(GraphBuild, TheParseFilterKeepsItsFlagAndPair)
{
    m_engine.SetParseOption(0);
    ASSERT_EQ(m_engine.BuildGraph(test::Recording("one-aac", Request(1)), 7, -1), S_OK);
    GstElement* source = gst_bin_get_by_name(GST_BIN(m_engine.graph()), "TQStreamParseFilter");
    const StreamParseFilter* control = StreamParseFilter::Query(source);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->flag(), 0);
    EXPECT_EQ(control->pairFirst(), 7);
    EXPECT_EQ(control->pairSecond(), -1);
    EXPECT_EQ(control->fileName(), m_engine.fileName());
    gst_object_unref(source);
}

TEST_F(GraphBuild, FourStreamsOnTwoScreensBuildTwoChannelsAndCountFourPins)
{
    const QString path = test::Recording("four-aac", Request(4));
    ASSERT_EQ(m_engine.BuildGraph(path, 0, -1), S_OK);
    EXPECT_EQ(m_engine.videoPinCount(), 4);
    EXPECT_FALSE(HasElement("FFDShow Decoder3"));
    EXPECT_FALSE(m_engine.HasRenderer(2));
    ExpectChannelsOnScreens(2);
    // The streams without a chain end in fake sinks: the whole recording plays to its end.
    ASSERT_EQ(m_engine.SetCurrentPosition(15'000'000), S_OK);
    ASSERT_EQ(m_engine.Play(), S_OK);
    qint64 position = 0;
    EXPECT_TRUE(test::PumpUntil(
        [&] { return m_engine.GetCurrentPosition(&position) == S_OK && position >= 20'000'000; }));
}

TEST_F(GraphBuild, AudioChainFollowsTheAudioPin)
{
    struct Case {
        const char* key;
        AudioKind audio;
        int code;
        bool aacDecoder;
        bool audioRenderer;
    };
    for (const Case& c : { Case { "two-pcm", AudioKind::Pcm, 1001, false, true },
             Case { "two-silent", AudioKind::None, 0, false, false },
             Case { "two-aac", AudioKind::Aac, 1, true, true } }) {
        SCOPED_TRACE(c.key);
        const QString path = test::Recording(c.key, Request(2, c.audio, StrdPlacement::FirstVideo));
        ASSERT_EQ(m_engine.BuildGraph(path, 0, -1), S_OK);
        GstElement* source = gst_bin_get_by_name(GST_BIN(m_engine.graph()), "TQStreamParseFilter");
        EXPECT_EQ(ProbeAudioPins(source), c.code);
        gst_object_unref(source);
        EXPECT_EQ(HasElement("CoreAAC Decoder"), c.aacDecoder);
        EXPECT_EQ(HasElement("DirectSound Audio Renderer"), c.audioRenderer);
        ExpectChannelsOnScreens(2);
        m_engine.TearDownGraph();
    }
}

TEST_F(GraphBuild, MissingAacDecoderStopsTheBuildBeforeAnyVideoFilter)
{
    FilterFactories factories = FilterFactories::FromEnvironment();
    factories.aacDecoder = "zq-not-installed-aac";
    m_engine.SetFactories(factories);
    EXPECT_EQ(m_engine.BuildGraph(test::Recording("two-aac", Request(2)), 0, -1), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(Names(), "TQStreamParseFilter");
    EXPECT_EQ(GST_STATE(m_engine.graph()), GST_STATE_NULL);
    EXPECT_FALSE(m_engine.built());
    // PCM needs no AAC decoder.
    EXPECT_EQ(m_engine.BuildGraph(test::Recording("two-pcm", Request(2, AudioKind::Pcm)), 0, -1), S_OK);
}

TEST_F(GraphBuild, MissingOrUnusableAudioOutputStillGivesPictures)
{
    // filesink without a location cannot open: an output that exists but cannot be used.
    for (const char* sink : { "zq-not-installed-sink", "filesink" }) {
        SCOPED_TRACE(sink);
        FilterFactories factories = FilterFactories::FromEnvironment();
        factories.audioSink = sink;
        m_engine.SetFactories(factories);
        ASSERT_EQ(m_engine.BuildGraph(test::Recording("two-aac", Request(2)), 0, -1), S_OK);
        EXPECT_FALSE(m_engine.HasAudioRenderer());
        EXPECT_EQ(m_engine.PutVolume(0), E_NOTIMPL);
        ExpectChannelsOnScreens(2);
        EXPECT_EQ(m_engine.Play(), S_OK);
        m_engine.TearDownGraph();
    }
}

class StrdPlacementBuild : public GraphBuild, public ::testing::WithParamInterface<StrdPlacement> { };

TEST_P(StrdPlacementBuild, BothChannelsPlay)
{
    const QString key = QStringLiteral("strd-%1").arg(int(GetParam()));
    ASSERT_EQ(m_engine.BuildGraph(test::Recording(key, Request(2, AudioKind::Aac, GetParam())), 0, -1), S_OK);
    ExpectChannelsOnScreens(2);
    ASSERT_EQ(m_engine.Play(), S_OK);
    const int firstFront = m_front.framesPresented();
    const int firstRear = m_rear.framesPresented();
    EXPECT_TRUE(test::PumpUntil([&] {
        return m_front.framesPresented() > firstFront + 5 && m_rear.framesPresented() > firstRear + 5;
    }));
    EXPECT_GT(test::FrameIndex(m_rear.frame()), 0);
}

INSTANTIATE_TEST_SUITE_P(Placements, StrdPlacementBuild,
    ::testing::Values(StrdPlacement::FirstVideo, StrdPlacement::RearVideo, StrdPlacement::Audio));

TEST_F(GraphBuild, FilesThatCannotBeParsedAreNotAccepted)
{
    QTemporaryDir folder;
    const QString text = folder.filePath("not-a-recording.avi");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("RIFX this is no AVI file");
    file.close();
    EXPECT_EQ(m_engine.BuildGraph(QString(), 0, -1), S_FALSE);
    EXPECT_EQ(m_engine.graph(), nullptr);
    EXPECT_EQ(m_engine.BuildGraph(text, 0, -1), S_FALSE);
    EXPECT_EQ(m_engine.BuildGraph(folder.filePath("missing.avi"), 0, -1), S_FALSE);
    EXPECT_FALSE(m_engine.built());
}

TEST_F(GraphBuild, PathsLongerThan260CharactersPlay)
{
    QTemporaryDir folder;
    QString deep = folder.path();
    while (deep.size() < 300)
        deep += QStringLiteral("/a-rather-long-folder-name-for-a-card-copy");
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString path = deep + QStringLiteral("/20170531_000507I.avi");
    ASSERT_TRUE(QFile::copy(test::Recording("two-aac", Request(2)), path));
    ASSERT_EQ(m_engine.BuildGraph(path, 0, -1), S_OK);
    EXPECT_EQ(m_engine.fileName(), path);
    ExpectChannelsOnScreens(2);
}

TEST_F(GraphBuild, AGraphThatCannotCueItsFramesFailsAndLeavesNothingRunning)
{
    // jpegenc in the converter's place hands the renderer JPEG pictures, which it refuses.
    FilterFactories factories = FilterFactories::FromEnvironment();
    factories.colourConverter = "jpegenc";
    m_engine.SetFactories(factories);
    EXPECT_LT(m_engine.BuildGraph(test::Recording("two-aac", Request(2)), 0, -1), 0);
    EXPECT_FALSE(m_engine.built());
    ASSERT_NE(m_engine.graph(), nullptr);
    GstIterator* elements = gst_bin_iterate_recurse(GST_BIN(m_engine.graph()));
    int running = 0;
    gst_iterator_foreach(
        elements,
        [](const GValue* item, gpointer count) {
            if (GST_STATE(g_value_get_object(item)) != GST_STATE_NULL)
                ++*static_cast<int*>(count);
        },
        &running);
    gst_iterator_free(elements);
    EXPECT_EQ(running, 0);
}

TEST_F(GraphBuild, TearingDownTwiceOrWithoutAGraphIsHarmless)
{
    m_engine.TearDownGraph();
    ASSERT_EQ(m_engine.BuildGraph(test::Recording("two-aac", Request(2)), 0, -1), S_OK);
    ASSERT_TRUE(test::PumpUntil([&] { return !m_front.frame().isNull(); }));
    m_engine.TearDownGraph();
    EXPECT_EQ(m_engine.graph(), nullptr);
    EXPECT_EQ(m_engine.state(), PlayState::kStopped);
    EXPECT_TRUE(m_front.frame().isNull()); // the screen forgets the closed recording
    m_engine.TearDownGraph();
    EXPECT_EQ(m_engine.Play(), E_NOINTERFACE);
    // A second build on the same engine starts from a clean graph.
    ASSERT_EQ(m_engine.BuildGraph(test::Recording("one-aac", Request(1)), 0, -1), S_OK);
    EXPECT_EQ(m_engine.videoPinCount(), 1);
}

TEST_F(GraphBuild, EveryBuildRewritesTheGraphFile)
{
    QTemporaryDir folder;
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(folder.path()));
    const QString dump = GraphFilePath();
    ASSERT_TRUE(dump.startsWith(folder.path()));
    ASSERT_EQ(m_engine.BuildGraph(test::Recording("two-aac", Request(2)), 0, -1), S_OK);
    QFile first(dump);
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    const QByteArray twoChannels = first.readAll();
    first.close();
    EXPECT_TRUE(twoChannels.contains("Enhanced Video Renderer-2"));
    ASSERT_EQ(m_engine.BuildGraph(test::Recording("one-aac", Request(1)), 0, -1), S_OK);
    QFile second(dump);
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    const QByteArray oneChannel = second.readAll();
    EXPECT_TRUE(oneChannel.contains("TQStreamParseFilter"));
    EXPECT_FALSE(oneChannel.contains("Enhanced Video Renderer-2"));
    if (oldTemp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTemp);
}

} // namespace
