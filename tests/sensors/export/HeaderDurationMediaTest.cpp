#include "EngineTestSupport.h"
#include "HeaderDuration.h"
#include "HeadlessVideoSurface.h"
#include "Player.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

using recgen::AudioKind;

// The G-sensor offsets of an export are only where the viewer shows the samples when the header's
// duration is the one the viewer's player reports.
TEST(HeaderDurationMediaTest, AgreesWithThePlayersDuration)
{
    struct Case {
        const char* key;
        int videoStreams;
        AudioKind audio;
        double seconds;
        int framesPerSecond;
    };
    for (const Case& c : { Case { "export-aac", 2, AudioKind::Aac, 2.5, 30 }, // AAC runs a little longer
             Case { "export-pcm", 1, AudioKind::Pcm, 2.0, 25 },
             Case { "export-silent", 1, AudioKind::None, 3.0, 5 } }) {
        recgen::RecordingRequest request;
        request.videoStreams = c.videoStreams;
        request.audio = c.audio;
        request.durationSeconds = c.seconds;
        request.framesPerSecond = c.framesPerSecond;
        const QString path = test::Recording(QString::fromLatin1(c.key), request);
        ASSERT_FALSE(path.isEmpty());

        HeadlessVideoSurface front;
        HeadlessVideoSurface rear;
        Player player;
        player.Initialize(2, &front, &rear);
        ASSERT_TRUE(player.Open(path, 0, c.videoStreams > 1 ? 1 : -1)) << c.key;
        const std::optional<qint64> header = HeaderDurationMs(path);
        ASSERT_TRUE(header.has_value()) << c.key;
        EXPECT_EQ(*header, player.GetDurationMs()) << c.key;
    }
}

} // namespace
} // namespace zq
