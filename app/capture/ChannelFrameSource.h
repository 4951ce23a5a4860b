#pragma once

#include <QImage>
#include <QtGlobal>

namespace zq {

/// What snapshot saving needs from playback: the play state (0 running, 1 paused, ...), the number of
/// channels of the open recording, and the current frame of a channel.
class ChannelFrameSource {
public:
    virtual ~ChannelFrameSource() = default;
    virtual qint32 GetState() const = 0;
    virtual qint32 GetChannelCount() const = 0;
    /// False, with frame untouched, when the channel has no frame to give.
    virtual bool CaptureFrame(int channel, QImage* frame) = 0;
};

/// Adapts any object with the Player's GetState, GetChannelCount and CaptureFrame (the main window passes
/// its Player) without this library depending on the playback engine.
template <class PlayerType> class PlayerFrameSource final : public ChannelFrameSource {
public:
    explicit PlayerFrameSource(PlayerType& player)
        : m_player(player)
    {
    }
    qint32 GetState() const override { return m_player.GetState(); }
    qint32 GetChannelCount() const override { return m_player.GetChannelCount(); }
    bool CaptureFrame(int channel, QImage* frame) override { return m_player.CaptureFrame(channel, frame); }

private:
    PlayerType& m_player;
};

} // namespace zq
