#pragma once

#include "SkinGenerator.h"

#include <QImage>
#include <vector>

namespace zq::skin {

/// All skin images on one picture, each framed and labelled with its identifier, name and state, small
/// ones enlarged with hard pixels; one row per language for the images with words. PNG images stand on
/// the grey of the map panels, as they are shown. Below them the images stand together in place.
class ContactSheet {
public:
    static QImage Build(const std::vector<SkinGenerator::Rendered>& images);
};

} // namespace zq::skin
