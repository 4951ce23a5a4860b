#pragma once

#include <QString>

namespace zq {

constexpr int kLanguageCount = 12;

/// Library name of a language index (0 "English" ... 11 "Spanish"), without extension; empty outside 0..11.
/// The table file is "lang/<name>.lng" beside the program.
QString LanguageLibraryName(int index);

} // namespace zq
