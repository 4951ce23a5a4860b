#pragma once

#include "SkinImageTable.h"

#include <QImage>

namespace zq::skin {

/// The skin images that are not buttons: slider channels and thumbs, the played tile, volume bars, the
/// speed display's backgrounds, digits and point, the top tile, the idle picture and the scroll-bar
/// pieces. Images that their control draws with a colour key use that key where they are transparent:
/// black around the simple slider's thumb, white around the speed digits and point.
class PartsPainter {
public:
    /// The image of a table entry; a null image when the entry is not one of these parts.
    static QImage Draw(const SkinImage& image);

    static constexpr QRgb kSimpleThumbKey = 0xff000000; // black
    static constexpr QRgb kSpeedDigitKey = 0xffffffff; // white
};

} // namespace zq::skin
