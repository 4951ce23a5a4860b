#pragma once

#include "SkinGenerator.h"

#include <QImage>
#include <vector>

namespace zq::skin {

/// The images put together the way their controls draw them (tiles repeated, caps cut out of strips,
/// colour keys left out, digits at the speed display's positions), so the contact sheet shows whether
/// they join up: the top bar, the playback bar, the position slider, the scroll bar, the word buttons,
/// a map panel and the about box.
class SkinPreview {
public:
    static QImage Build(const std::vector<SkinGenerator::Rendered>& images);
};

} // namespace zq::skin
