#include "SensorsUiTesting.h"

#include "LanguageTable.h"
#include "OptionFile.h"
#include "ProgramFolder.h"
#include "SkinDraw.h"
#include "TestSupport.h"

#include <QDir>
#include <cstdlib>

namespace zq::test {

ScopedLanguage::ScopedLanguage()
    : m_previousLanguage(TheOptionFile().m_language)
{
    SetProgramFolder(m_dir.path());
    Select(0);
}

ScopedLanguage::~ScopedLanguage()
{
    SetProgramFolder({});
    TheOptionFile().m_language = m_previousLanguage;
    TheOptionFile().LoadLanguageDll();
}

void ScopedLanguage::Write(int language, const QHash<int, QString>& texts)
{
    QByteArray bytes = "# test table\n";
    for (auto it = texts.begin(); it != texts.end(); ++it)
        bytes += QByteArray::number(it.key()) + '\t' + it.value().toUtf8() + '\n';
    writeFile(
        m_dir.path() + QStringLiteral("/lang/") + LanguageLibraryName(language) + QStringLiteral(".lng"),
        bytes);
    Select(language);
}

void ScopedLanguage::Select(int language)
{
    TheOptionFile().m_language = language;
    TheOptionFile().LoadLanguageDll();
}

ScopedSkin::ScopedSkin()
    : m_previousRoot(SkinResourceInstance())
{
    QDir(m_dir.path()).mkpath(QStringLiteral("bmp"));
    QDir(m_dir.path()).mkpath(QStringLiteral("png"));
    SetSkinResourceInstance(m_dir.path());
}

ScopedSkin::~ScopedSkin()
{
    SetSkinResourceInstance(m_previousRoot);
}

void ScopedSkin::AddBitmap(int id, const QImage& image)
{
    image.convertToFormat(QImage::Format_RGB32)
        .save(m_dir.path() + QStringLiteral("/bmp/%1.bmp").arg(id), "BMP");
}

void ScopedSkin::AddBitmap(int id, int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    AddBitmap(id, image);
}

bool SameRgb(QRgb a, QRgb b)
{
    return qRed(a) == qRed(b) && qGreen(a) == qGreen(b) && qBlue(a) == qBlue(b);
}

int CountColour(const QImage& image, const QRect& rect, QRgb colour)
{
    int count = 0;
    const QRect area = rect.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += SameRgb(image.pixel(x, y), colour) ? 1 : 0;
    return count;
}

int CountTinted(const QImage& image, const QRect& rect, QRgb colour, QRgb background)
{
    constexpr int kTolerance = 24;
    const int to[3] = { qRed(colour), qGreen(colour), qBlue(colour) };
    const int from[3] = { qRed(background), qGreen(background), qBlue(background) };
    // The channel that changes most tells how far along the way a pixel is.
    int widest = 0;
    for (int c = 1; c < 3; ++c)
        if (std::abs(to[c] - from[c]) > std::abs(to[widest] - from[widest]))
            widest = c;
    int count = 0;
    const QRect area = rect.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int got[3] = { qRed(p), qGreen(p), qBlue(p) };
            const double share = double(got[widest] - from[widest]) / (to[widest] - from[widest]);
            if (share < 1.0 / 3.0 || share > 1.05)
                continue;
            bool onTheWay = true;
            for (int c = 0; c < 3; ++c)
                onTheWay = onTheWay && std::abs(got[c] - (from[c] + share * (to[c] - from[c]))) <= kTolerance;
            count += onTheWay ? 1 : 0;
        }
    }
    return count;
}

} // namespace zq::test
