#include "HeadlessPlayer.h"

#include <gst/gst.h>

namespace zq::tool {

namespace {
constexpr int kChannels = 2; // the viewer shows and captures the front and the rear channel
}

bool HeadlessPlayer::Open(const QString& path)
{
    gst_init(nullptr, nullptr);
    FilterFactories factories = FilterFactories::FromEnvironment();
    factories.audioSink = "fakesink";
    m_player.SetFilterFactories(factories);
    m_player.Initialize(kChannels, &m_front, &m_rear);
    m_player.SetParseOption(0);
    return m_player.Open(path, 0, -1);
}

} // namespace zq::tool
