#include "CommandIds.h"
#include "Menu149.h"

#include <QMenu>
#include <QSet>
#include <gtest/gtest.h>
#include <memory>

namespace zq {
namespace {

// Command identifiers, 0 for a separator, a submenu as -1, its commands, -2.
QList<int> Shape(const QMenu& menu)
{
    QList<int> shape;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator())
            shape << 0;
        else if (action->menu())
            shape << -1 << Shape(*action->menu()) << -2;
        else
            shape << action->data().toInt();
    }
    return shape;
}

QStringList Texts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator())
            texts << action->text();
        if (action->menu())
            texts << Texts(*action->menu());
    }
    return texts;
}

std::unique_ptr<QMenu> Submenu(int position)
{
    return std::unique_ptr<QMenu>(BuildSubmenu149(position, nullptr));
}

TEST(Menu149, EnglishMenusHoldTheCommandsInOrder)
{
    const auto main = Submenu(2);
    EXPECT_EQ(main->title(), QStringLiteral("MENU3"));
    EXPECT_EQ(Shape(*main),
        (QList<int> { kMenuOpen, 0, kMenuPlayPause, kMenuPrevious, kMenuNext, 0, -1, kMenuDarken,
            kMenuBrighten, kMenuBrightDefault, -2, -1, kMenuFast, kMenuSlow, kMenuSpeedDefault, -2, -1,
            kMenuVolumeUp, kMenuVolumeDown, kMenuMute, -2 }));
    EXPECT_EQ(Texts(*main),
        (QStringList { "Open(ctrl+o)", "Play/Pause(space)", "Previous(Page Up)", "Next(Page Down)",
            "Brightness", "Darken", "Brighten", "Default(b)", "Play Speed", "Fast", "Slow", "Default(s)",
            "Volume", "Up(Up Key)", "Down(Down Key)", "Mute ON/OFF(m)" }));
    const auto category = Submenu(3);
    EXPECT_EQ(category->title(), QStringLiteral("MENU4"));
    EXPECT_EQ(Shape(*category),
        (QList<int> { kMenuCategoryAll, kMenuCategoryInfinite, kMenuCategoryEvent, kMenuCategoryParking }));
    EXPECT_EQ(Texts(*category), (QStringList { "All", "Infinite", "Event", "Parking" }));
}

TEST(Menu149, EveryLanguageHasTheSameCommandsInItsOwnWords)
{
    const auto englishMain = Submenu(2);
    const auto englishCategory = Submenu(3);
    const QStringList english = Texts(*englishMain) + Texts(*englishCategory);
    const int positions[] = { 2, 4, 0, 6, 20, 16, 10, 12, 18, 14, 22, 8 };
    EXPECT_EQ(MainSubmenuPosition(0), 2);
    EXPECT_EQ(MainSubmenuPosition(12), -1);
    EXPECT_EQ(CategorySubmenuPosition(-1), -1);
    QSet<QString> openTexts;
    for (int language = 1; language < 12; ++language) {
        SCOPED_TRACE(language);
        EXPECT_EQ(MainSubmenuPosition(language), positions[language]);
        EXPECT_EQ(CategorySubmenuPosition(language), positions[language] + 1);
        const auto main = Submenu(MainSubmenuPosition(language));
        const auto category = Submenu(CategorySubmenuPosition(language));
        EXPECT_EQ(Shape(*main), Shape(*englishMain));
        EXPECT_EQ(Shape(*category), Shape(*englishCategory));
        const QStringList texts = Texts(*main) + Texts(*category);
        ASSERT_EQ(texts.size(), english.size());
        int translated = 0;
        for (int i = 0; i < texts.size(); ++i) {
            EXPECT_FALSE(texts[i].trimmed().isEmpty());
            EXPECT_FALSE(texts[i].contains(QLatin1Char('&'))); // no stray mnemonics
            translated += texts[i] != english[i];
        }
        EXPECT_GE(translated, texts.size() - 3); // a word like "Volume" may be the same
        openTexts << texts.first();
    }
    EXPECT_EQ(openTexts.size(), 10); // Portuguese and Spanish both say "Abrir(ctrl+o)"

    const std::unique_ptr<QMenu> whole(BuildMenu149(nullptr));
    ASSERT_EQ(whole->actions().size(), kMenu149SubmenuCount);
    for (int position = 0; position < kMenu149SubmenuCount; ++position)
        EXPECT_EQ(whole->actions()[position]->menu()->title(), QStringLiteral("MENU%1").arg(position + 1));
    EXPECT_EQ(Submenu(24), nullptr);
}

} // namespace
} // namespace zq
