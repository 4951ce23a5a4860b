#pragma once

#include "LanguageTable.h"
#include "StringTable.h"

#include <QString>
#include <QStringList>
#include <array>

namespace zq::skin {

/// The words the skin images carry, per language: taken from the string tables where they have them
/// (button words, OK, about title), from the generator's own texts for the two map panels. A text that a
/// table lacks falls back to English and then to a visible placeholder, so a missing word never stops
/// the build.
class SkinTexts {
public:
    /// Reads "<folder>/<library name>.lng" for every language; missing files leave that language empty.
    void Load(const QString& folder);

    /// The text of string `id` in `language`, on one line.
    QString Word(int language, int id) const;

    enum class Panel { NotConnected, NoData };
    /// Heading and explanation of a map panel in `language` (English outside 0..11).
    QStringList PanelLines(int language, Panel panel) const;

    /// Fonts by script: NanumGothic for Hangul, WenQuanYi Micro Hei for Japanese and Chinese (NanumGothic
    /// lacks simplified and Japanese forms), Liberation Sans for the rest, each with the others behind it.
    static QStringList FontFamilies(int language);

    /// Languages whose table was found, and the texts that fell back (for the generator's summary).
    int LoadedCount() const;
    const QStringList& Fallbacks() const { return m_fallbacks; }

private:
    std::array<StringTable, kLanguageCount> m_tables;
    std::array<bool, kLanguageCount> m_loaded {};
    mutable QStringList m_fallbacks;
};

} // namespace zq::skin
