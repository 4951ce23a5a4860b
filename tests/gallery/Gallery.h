#pragma once

#include <QImage>

namespace zq {

/// Every skinned control in its states (buttons, sliders, volume, list, screens, zoom), with checks that
/// the states look different.
QImage RenderControlsGallery();
/// Every sensor display and the about box, in English and Korean.
QImage RenderSensorsGallery();

} // namespace zq
