#include "Menu149.h"

#include "CommandIds.h"
#include "LanguageTable.h"
#include "WindowMessageEvent.h"

#include <QCoreApplication>
#include <QMenu>
#include <QPoint>
#include <QPointer>
#include <QWidget>

namespace zq {

namespace {

// Texts of one language's two submenus, in the order of the structure below.
enum TextIndex {
    kOpen,
    kPlayPause,
    kPrevious,
    kNext,
    kBrightness,
    kDarken,
    kBrighten,
    kBrightDefault,
    kPlaySpeed,
    kFast,
    kSlow,
    kSpeedDefault,
    kVolume,
    kVolumeUp,
    kVolumeDown,
    kMute,
    kAll,
    kInfinite,
    kEvent,
    kParking,
    kTextCount
};

struct LanguageMenu {
    int mainPosition; // the category menu stands right after it
    const char* texts[kTextCount];
};

// The one table of menu 149: by language index, where its submenus stand and their texts.
const LanguageMenu kLanguageMenus[kLanguageCount] = {
    // 0 English
    { 2,
        { "Open(ctrl+o)", "Play/Pause(space)", "Previous(Page Up)", "Next(Page Down)", "Brightness", "Darken",
            "Brighten", "Default(b)", "Play Speed", "Fast", "Slow", "Default(s)", "Volume", "Up(Up Key)",
            "Down(Down Key)", "Mute ON/OFF(m)", "All", "Infinite", "Event", "Parking" } },
    // 1 Korean
    { 4,
        { "열기(ctrl+o)", "재생/일시정지(space)", "이전(Page Up)", "다음(Page Down)", "밝기", "어둡게",
            "밝게", "기본값(b)", "재생 속도", "빠르게", "느리게", "기본값(s)", "볼륨", "크게(Up Key)",
            "작게(Down Key)", "음소거 ON/OFF(m)", "전체", "상시", "이벤트", "주차" } },
    // 2 German
    { 0,
        { "Öffnen(Strg+O)", "Wiedergabe/Pause(Leertaste)", "Zurück(Bild auf)", "Weiter(Bild ab)",
            "Helligkeit", "Dunkler", "Heller", "Standard(b)", "Wiedergabegeschwindigkeit", "Schneller",
            "Langsamer", "Standard(s)", "Lautstärke", "Lauter(Pfeil oben)", "Leiser(Pfeil unten)",
            "Stumm EIN/AUS(m)", "Alle", "Dauer", "Ereignis", "Parken" } },
    // 3 Japanese
    { 6,
        { "開く(ctrl+o)", "再生/一時停止(space)", "前へ(Page Up)", "次へ(Page Down)", "明るさ", "暗く",
            "明るく", "標準(b)", "再生速度", "速く", "遅く", "標準(s)", "音量", "上げる(Up Key)",
            "下げる(Down Key)", "ミュート ON/OFF(m)", "すべて", "常時", "イベント", "駐車" } },
    // 4 Chinese
    { 20,
        { "打开(ctrl+o)", "播放/暂停(space)", "上一个(Page Up)", "下一个(Page Down)", "亮度", "变暗", "变亮",
            "默认(b)", "播放速度", "加快", "减慢", "默认(s)", "音量", "增大(Up Key)", "减小(Down Key)",
            "静音 开/关(m)", "全部", "常规", "事件", "停车" } },
    // 5 Dutch
    { 16,
        { "Openen(ctrl+o)", "Afspelen/Pauze(spatie)", "Vorige(Page Up)", "Volgende(Page Down)", "Helderheid",
            "Donkerder", "Lichter", "Standaard(b)", "Afspeelsnelheid", "Sneller", "Langzamer", "Standaard(s)",
            "Volume", "Harder(pijl omhoog)", "Zachter(pijl omlaag)", "Dempen AAN/UIT(m)", "Alle",
            "Doorlopend", "Gebeurtenis", "Parkeren" } },
    // 6 French
    { 10,
        { "Ouvrir(ctrl+o)", "Lecture/Pause(espace)", "Précédent(Page préc.)", "Suivant(Page suiv.)",
            "Luminosité", "Assombrir", "Éclaircir", "Par défaut(b)", "Vitesse de lecture", "Plus rapide",
            "Plus lent", "Par défaut(s)", "Volume", "Monter(flèche haut)", "Baisser(flèche bas)",
            "Muet ON/OFF(m)", "Tous", "Continu", "Événement", "Stationnement" } },
    // 7 Italian
    { 12,
        { "Apri(ctrl+o)", "Riproduci/Pausa(spazio)", "Precedente(Pag su)", "Successivo(Pag giù)",
            "Luminosità", "Più scuro", "Più chiaro", "Predefinito(b)", "Velocità di riproduzione",
            "Più veloce", "Più lento", "Predefinito(s)", "Volume", "Su(freccia su)", "Giù(freccia giù)",
            "Muto ON/OFF(m)", "Tutti", "Continuo", "Evento", "Parcheggio" } },
    // 8 Polish
    { 18,
        { "Otwórz(ctrl+o)", "Odtwórz/Pauza(spacja)", "Poprzedni(Page Up)", "Następny(Page Down)", "Jasność",
            "Ciemniej", "Jaśniej", "Domyślnie(b)", "Prędkość odtwarzania", "Szybciej", "Wolniej",
            "Domyślnie(s)", "Głośność", "Głośniej(strzałka w górę)", "Ciszej(strzałka w dół)",
            "Wycisz WŁ/WYŁ(m)", "Wszystkie", "Ciągłe", "Zdarzenie", "Parkowanie" } },
    // 9 Portuguese
    { 14,
        { "Abrir(ctrl+o)", "Reproduzir/Pausar(espaço)", "Anterior(Page Up)", "Seguinte(Page Down)", "Brilho",
            "Escurecer", "Clarear", "Padrão(b)", "Velocidade de reprodução", "Mais rápido", "Mais lento",
            "Padrão(s)", "Volume", "Aumentar(seta para cima)", "Diminuir(seta para baixo)",
            "Mudo LIG/DESL(m)", "Todos", "Contínuo", "Evento", "Estacionamento" } },
    // 10 Russian
    { 22,
        { "Открыть(ctrl+o)", "Воспроизведение/Пауза(пробел)", "Предыдущий(Page Up)", "Следующий(Page Down)",
            "Яркость", "Темнее", "Светлее", "По умолчанию(b)", "Скорость воспроизведения", "Быстрее",
            "Медленнее", "По умолчанию(s)", "Громкость", "Громче(стрелка вверх)", "Тише(стрелка вниз)",
            "Звук ВКЛ/ВЫКЛ(m)", "Все", "Непрерывная", "Событие", "Парковка" } },
    // 11 Spanish
    { 8,
        { "Abrir(ctrl+o)", "Reproducir/Pausa(espacio)", "Anterior(Re Pág)", "Siguiente(Av Pág)", "Brillo",
            "Oscurecer", "Aclarar", "Predeterminado(b)", "Velocidad de reproducción", "Más rápido",
            "Más lento", "Predeterminado(s)", "Volumen", "Subir(flecha arriba)", "Bajar(flecha abajo)",
            "Silencio SÍ/NO(m)", "Todos", "Continua", "Evento", "Estacionamiento" } },
};

// The structure every language shares: a command, a separator (0), or a submenu title (-1) whose
// commands follow until the next title or the end (-2 closes it).
constexpr int kSeparator = 0;
constexpr int kSubmenuStart = -1;
constexpr int kSubmenuEnd = -2;

struct MenuEntry {
    int command;
    int text;
};

const MenuEntry kMainMenu[] = {
    { kMenuOpen, kOpen },
    { kSeparator, 0 },
    { kMenuPlayPause, kPlayPause },
    { kMenuPrevious, kPrevious },
    { kMenuNext, kNext },
    { kSeparator, 0 },
    { kSubmenuStart, kBrightness },
    { kMenuDarken, kDarken },
    { kMenuBrighten, kBrighten },
    { kMenuBrightDefault, kBrightDefault },
    { kSubmenuEnd, 0 },
    { kSubmenuStart, kPlaySpeed },
    { kMenuFast, kFast },
    { kMenuSlow, kSlow },
    { kMenuSpeedDefault, kSpeedDefault },
    { kSubmenuEnd, 0 },
    { kSubmenuStart, kVolume },
    { kMenuVolumeUp, kVolumeUp },
    { kMenuVolumeDown, kVolumeDown },
    { kMenuMute, kMute },
    { kSubmenuEnd, 0 },
};

const MenuEntry kCategoryMenu[] = {
    { kMenuCategoryAll, kAll },
    { kMenuCategoryInfinite, kInfinite },
    { kMenuCategoryEvent, kEvent },
    { kMenuCategoryParking, kParking },
};

int LanguageAtPosition(int position)
{
    for (int language = 0; language < kLanguageCount; ++language) {
        const int main = kLanguageMenus[language].mainPosition;
        if (position == main || position == main + 1)
            return language;
    }
    return -1;
}

template <std::size_t N>
void AddEntries(QMenu* menu, const MenuEntry (&entries)[N], const LanguageMenu& texts, QWidget* owner)
{
    QPointer<QWidget> target(owner);
    QMenu* current = menu;
    for (const MenuEntry& entry : entries) {
        switch (entry.command) {
        case kSeparator:
            current->addSeparator();
            break;
        case kSubmenuStart:
            current = menu->addMenu(QString::fromUtf8(texts.texts[entry.text]));
            break;
        case kSubmenuEnd:
            current = menu;
            break;
        default: {
            QAction* action = current->addAction(QString::fromUtf8(texts.texts[entry.text]));
            action->setData(entry.command);
            const int command = entry.command;
            // A chosen command is posted to the owner, as a menu's command message is.
            QObject::connect(action, &QAction::triggered, action, [target, command] {
                if (target)
                    QCoreApplication::postEvent(target, new WindowMessageEvent(kMsgCommand, command));
            });
            break;
        }
        }
    }
}

} // namespace

int MainSubmenuPosition(int language)
{
    if (language < 0 || language >= kLanguageCount)
        return -1;
    return kLanguageMenus[language].mainPosition;
}

int CategorySubmenuPosition(int language)
{
    const int main = MainSubmenuPosition(language);
    return main < 0 ? -1 : main + 1;
}

QMenu* BuildSubmenu149(int position, QWidget* owner)
{
    const int language = LanguageAtPosition(position);
    if (language < 0)
        return nullptr;
    const LanguageMenu& texts = kLanguageMenus[language];
    auto* menu = new QMenu(owner);
    menu->setTitle(QStringLiteral("MENU%1").arg(position + 1));
    menu->setObjectName(menu->title());
    if (position == texts.mainPosition)
        AddEntries(menu, kMainMenu, texts, owner);
    else
        AddEntries(menu, kCategoryMenu, texts, owner);
    return menu;
}

QMenu* BuildMenu149(QWidget* owner)
{
    auto* menu = new QMenu(owner);
    for (int position = 0; position < kMenu149SubmenuCount; ++position) {
        QMenu* submenu = BuildSubmenu149(position, owner);
        submenu->setParent(menu, submenu->windowFlags());
        menu->addMenu(submenu);
    }
    return menu;
}

QMenu* ShowLanguageMenu(int language, const QPoint& globalPosition, QWidget* owner)
{
    QMenu* menu = BuildSubmenu149(MainSubmenuPosition(language), owner);
    if (!menu)
        return nullptr;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPosition);
    return menu;
}

} // namespace zq
