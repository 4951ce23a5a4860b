#include "DecoderParams.h"

#include <algorithm>
#include <gst/video/video.h>

namespace zq {

namespace {

GQuark ParamsQuark()
{
    static const GQuark quark = g_quark_from_static_string("zq-decoder-params");
    return quark;
}

} // namespace

DecoderParams::DecoderParams(GstElement* balance, GstElement* flip)
    : m_balance(balance)
    , m_flip(flip)
{
}

void DecoderParams::Attach(GstElement* decoder, GstElement* balance, GstElement* flip)
{
    g_object_set_qdata_full(G_OBJECT(decoder), ParamsQuark(), new DecoderParams(balance, flip),
        [](gpointer data) { delete static_cast<DecoderParams*>(data); });
}

DecoderParams* DecoderParams::Query(GstElement* decoder)
{
    if (decoder == nullptr)
        return nullptr;
    return static_cast<DecoderParams*>(g_object_get_qdata(G_OBJECT(decoder), ParamsQuark()));
}

HRESULT DecoderParams::PutParam(qint32 id, qint32 value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    switch (id) {
    case kPictureProperties:
        m_pictureProperties = value != 0;
        break;
    case kBrightness:
        m_brightness = std::clamp(value, -kBrightnessLimit, kBrightnessLimit);
        break;
    case kFlip:
        m_flipOn = value != 0;
        break;
    case kFlipHorizontal:
        m_flipHorizontal = value != 0;
        break;
    default:
        return E_INVALIDARG;
    }
    Apply();
    return S_OK;
}

void DecoderParams::Apply()
{
    const double brightness = m_pictureProperties ? double(m_brightness) / kBrightnessLimit : 0.0;
    g_object_set(m_balance, "brightness", brightness, nullptr);
    const GstVideoOrientationMethod direction
        = m_flipOn && m_flipHorizontal ? GST_VIDEO_ORIENTATION_HORIZ : GST_VIDEO_ORIENTATION_IDENTITY;
    g_object_set(m_flip, "video-direction", direction, nullptr);
}

} // namespace zq
