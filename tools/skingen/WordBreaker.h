#pragma once

#include <QStringList>

namespace zq::skin {

/// Splits a button's words over two lines when one line would be too narrow: at the space nearest the
/// middle, else for a single word at a syllable boundary with a hyphen (between the consonants of a
/// cluster, or before a lone consonant between vowels), else for Chinese, Japanese and Korean anywhere
/// in the middle.
class WordBreaker {
public:
    /// The two lines, or an empty list when the text cannot be split sensibly.
    static QStringList SplitInTwo(const QString& text);
};

} // namespace zq::skin
