// Long button words go onto two lines at a syllable boundary.
#include "WordBreaker.h"

#include <gtest/gtest.h>

namespace {

using zq::skin::WordBreaker;

QStringList Split(const char* utf8)
{
    return WordBreaker::SplitInTwo(QString::fromUtf8(utf8));
}

TEST(WordBreaker, BreaksAtTheSpaceNearestTheMiddle)
{
    EXPECT_EQ(Split("Vista posteriore"), QStringList({ "Vista", "posteriore" }));
    EXPECT_EQ(
        Split("Widok z tyłu"), QStringList({ QString::fromUtf8("Widok"), QString::fromUtf8("z tyłu") }));
}

TEST(WordBreaker, HyphenatesSingleWordsBetweenSyllables)
{
    EXPECT_EQ(Split("Daueraufnahme"), QStringList({ "Dauerauf-", "nahme" }));
    EXPECT_EQ(Split("Stationnement"), QStringList({ "Station-", "nement" }));
    EXPECT_EQ(Split("Estacionamento"), QStringList({ "Estacio-", "namento" }));
    EXPECT_EQ(Split("Gebeurtenis"), QStringList({ "Gebeur-", "tenis" }));
    // "ch" sounds as one and moves to the second line whole.
    EXPECT_EQ(Split("Parcheggio"), QStringList({ "Par-", "cheggio" }));
    EXPECT_EQ(
        Split("Циклическая"), QStringList({ QString::fromUtf8("Цикли-"), QString::fromUtf8("ческая") }));
}

TEST(WordBreaker, SplitsIdeographsAnywhereAndLeavesShortWordsWhole)
{
    EXPECT_EQ(Split("イベント"), QStringList({ QString::fromUtf8("イベ"), QString::fromUtf8("ント") }));
    EXPECT_TRUE(Split("OK").isEmpty());
    EXPECT_TRUE(Split("Tout").isEmpty()); // no break leaves two letters and a vowel on each side
    EXPECT_TRUE(Split("").isEmpty());
}

} // namespace
