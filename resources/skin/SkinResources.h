#pragma once

#include "SkinImageTable.h"

#include <QString>

namespace zq {

/// The resource path of a skin image: ":/skin/bmp/<id>.bmp" or ":/skin/png/<id>.png".
QString SkinResourcePath(const SkinImage& image);

/// True when every image of the skin table is compiled into the program (a program that links zq_skin
/// has them; one that does not, has none).
bool SkinResourcesPresent();

} // namespace zq
