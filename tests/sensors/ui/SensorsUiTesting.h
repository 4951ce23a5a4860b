#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

// Helpers for the display tests: string tables and skin images of the test's own, in a temporary
// program folder, so that the checks do not depend on the shipped wording or artwork.
namespace zq::test {

/// A temporary program folder with "lang/<name>.lng" tables; the chosen language is loaded at once.
/// The previous program folder and language come back on destruction.
class ScopedLanguage {
public:
    ScopedLanguage();
    ~ScopedLanguage();
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

    /// Writes the table of a language index (0..11) and makes it the current language.
    void Write(int language, const QHash<int, QString>& texts);
    /// Makes a language current; a language without a table leaves the program without texts.
    void Select(int language);

private:
    QTemporaryDir m_dir;
    int m_previousLanguage;
};

/// A temporary skin folder ("bmp/<id>.bmp", "png/<id>.png") that the skin primitives draw from while
/// the object lives.
class ScopedSkin {
public:
    ScopedSkin();
    ~ScopedSkin();
    ScopedSkin(const ScopedSkin&) = delete;
    ScopedSkin& operator=(const ScopedSkin&) = delete;

    void AddBitmap(int id, const QImage& image);
    /// A bitmap of one colour.
    void AddBitmap(int id, int width, int height, QRgb colour);

private:
    QTemporaryDir m_dir;
    QString m_previousRoot;
};

/// Whether two colours agree in red, green and blue.
bool SameRgb(QRgb a, QRgb b);
/// How many pixels of the rectangle have that colour.
int CountColour(const QImage& image, const QRect& rect, QRgb colour);
/// How many pixels of the rectangle show text of `colour` smoothed onto `background`: colours on the way
/// from the background to the text colour, at least a third of the way.
int CountTinted(const QImage& image, const QRect& rect, QRgb colour, QRgb background);

} // namespace zq::test
