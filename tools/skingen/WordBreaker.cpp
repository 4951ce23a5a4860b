#include "WordBreaker.h"

#include <cmath>

namespace zq::skin {
namespace {

constexpr int kShortestPieceChars = 2;

bool IsVowel(QChar c)
{
    static const QString vowels = QStringLiteral("aeiouyàáâãäåæèéêëìíîïòóôõöøùúûüýąęóаеёиоуыэюяі");
    return vowels.contains(c.toLower());
}

// Consonant pairs that sound as one and stay together on the second line ("Par-cheggio").
bool IsDigraph(QChar first, QChar second)
{
    const QChar a = first.toLower(), b = second.toLower();
    return (b == QLatin1Char('h') && QStringLiteral("cgpst").contains(a))
        || (a == QLatin1Char('c') && b == QLatin1Char('k'));
}

bool IsIdeographic(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3040 && u <= 0x30ff) || (u >= 0x3400 && u <= 0x9fff) || (u >= 0xac00 && u <= 0xd7af);
}

} // namespace

QStringList WordBreaker::SplitInTwo(const QString& text)
{
    const QString t = text.trimmed();
    const double middle = t.size() / 2.0;

    int bestSpace = -1;
    for (int i = 0; i < t.size(); ++i)
        if (t[i] == QLatin1Char(' ')
            && (bestSpace < 0 || std::abs(i - middle) < std::abs(bestSpace - middle)))
            bestSpace = i;
    if (bestSpace > 0)
        return { t.left(bestSpace).trimmed(), t.mid(bestSpace + 1).trimmed() };

    if (t.size() >= 2 && IsIdeographic(t[0])) {
        const int half = int(std::ceil(middle));
        return { t.left(half), t.mid(half) };
    }

    // A break at i puts t[i] first on the second line. Clusters of consonants split before their last
    // consonant (or before a pair that sounds as one); a lone consonant between vowels goes with the
    // vowel after it. Breaks near the middle win, cluster breaks a little more.
    int best = -1;
    double bestScore = 1e9;
    bool vowelBefore = false;
    for (int i = 1; i < t.size() - kShortestPieceChars + 1; ++i) {
        vowelBefore = vowelBefore || IsVowel(t[i - 1]);
        if (i < kShortestPieceChars || !vowelBefore || !t[i].isLetter() || !t[i - 1].isLetter()
            || IsVowel(t[i]) || IsDigraph(t[i - 1], t[i]))
            continue;
        const bool onsetOfOne = IsVowel(t[i + 1]);
        const bool onsetOfDigraph = i + 2 < t.size() && IsDigraph(t[i], t[i + 1]) && IsVowel(t[i + 2]);
        if (!onsetOfOne && !onsetOfDigraph)
            continue;
        const bool cluster = !IsVowel(t[i - 1]);
        const double score = std::abs(i - middle) + (cluster ? 0.0 : 0.75);
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    if (best < 0)
        return {};
    return { t.left(best) + QLatin1Char('-'), t.mid(best) };
}

} // namespace zq::skin
