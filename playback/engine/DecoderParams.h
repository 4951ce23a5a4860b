#pragma once

#include "HResult.h"

#include <gst/gst.h>
#include <mutex>

namespace zq {

/// The decoder-parameter interface of a "FFDShow Decoder k": numbered parameters that switch the
/// picture adjustments of the decoder's chain (brightness through videobalance, mirroring through
/// videoflip). Both take effect on the next frame that is decoded. The object belongs to the decoder's
/// bin element.
class DecoderParams {
public:
    static constexpr qint32 kPictureProperties = 205; // 1: apply the brightness below
    static constexpr qint32 kBrightness = 202; // -255 ... 255, added to every pixel's luma
    static constexpr qint32 kFlip = 1101; // 1: apply the mirroring below
    static constexpr qint32 kFlipHorizontal = 1113; // 1: mirror left to right, 0: as recorded
    static constexpr qint32 kBrightnessLimit = 255;

    /// Attaches the parameters to a decoder bin whose chain holds balance and flip.
    static void Attach(GstElement* decoder, GstElement* balance, GstElement* flip);
    /// The parameters of a decoder, or null when element is not a video decoder.
    static DecoderParams* Query(GstElement* decoder);

    /// S_OK when the parameter is known and applied, E_INVALIDARG for an unknown id.
    HRESULT PutParam(qint32 id, qint32 value);

private:
    DecoderParams(GstElement* balance, GstElement* flip);
    void Apply();

    std::mutex m_mutex;
    GstElement* m_balance; // children of the decoder bin, which owns them
    GstElement* m_flip;
    bool m_pictureProperties = false;
    qint32 m_brightness = 0;
    bool m_flipOn = false;
    bool m_flipHorizontal = false;
};

} // namespace zq
