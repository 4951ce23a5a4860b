#include "SkinTexts.h"

#include <QDir>
#include <algorithm>

namespace zq::skin {
namespace {

constexpr int kEnglish = 0;
constexpr int kKorean = 1;
constexpr int kJapanese = 3;
constexpr int kChinese = 4;

struct PanelText {
    const char* notConnected[2];
    const char* noData[2];
};

// The two map panels have no string-table texts of their own; these are the generator's.
const PanelText kPanelTexts[kLanguageCount] = {
    { { "No internet connection", "The map cannot be shown" },
        { "No GPS data", "This recording has no position data" } },
    { { "인터넷 연결 없음", "지도를 표시할 수 없습니다" },
        { "GPS 데이터 없음", "이 영상에는 위치 정보가 없습니다" } },
    { { "Keine Internetverbindung", "Die Karte kann nicht angezeigt werden" },
        { "Keine GPS-Daten", "Diese Aufnahme enthält keine Positionsdaten" } },
    { { "インターネット未接続", "地図を表示できません" },
        { "GPSデータなし", "この映像には位置情報がありません" } },
    { { "未连接互联网", "无法显示地图" }, { "无GPS数据", "此录像没有位置信息" } },
    { { "Geen internetverbinding", "De kaart kan niet worden weergegeven" },
        { "Geen GPS-gegevens", "Deze opname bevat geen positiegegevens" } },
    { { "Pas de connexion Internet", "La carte ne peut pas être affichée" },
        { "Aucune donnée GPS", "Cet enregistrement ne contient aucune position" } },
    { { "Nessuna connessione Internet", "Impossibile visualizzare la mappa" },
        { "Nessun dato GPS", "Questa registrazione non contiene dati di posizione" } },
    { { "Brak połączenia z internetem", "Nie można wyświetlić mapy" },
        { "Brak danych GPS", "To nagranie nie zawiera danych o położeniu" } },
    { { "Sem ligação à Internet", "Não é possível mostrar o mapa" },
        { "Sem dados de GPS", "Esta gravação não tem dados de posição" } },
    { { "Нет подключения к Интернету", "Невозможно показать карту" },
        { "Нет данных GPS", "В этой записи нет данных о местоположении" } },
    { { "Sin conexión a Internet", "No se puede mostrar el mapa" },
        { "Sin datos GPS", "Esta grabación no tiene datos de posición" } },
};

QString OneLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.simplified();
}

} // namespace

void SkinTexts::Load(const QString& folder)
{
    for (int language = 0; language < kLanguageCount; ++language) {
        const QString path = QDir(folder).filePath(LanguageLibraryName(language) + QStringLiteral(".lng"));
        m_loaded[size_t(language)] = m_tables[size_t(language)].Load(path);
    }
}

int SkinTexts::LoadedCount() const
{
    return int(std::count(m_loaded.begin(), m_loaded.end(), true));
}

QString SkinTexts::Word(int language, int id) const
{
    if (language >= 0 && language < kLanguageCount) {
        const QString text = OneLine(m_tables[size_t(language)].Text(id));
        if (!text.isEmpty())
            return text;
    }
    const QString english = OneLine(m_tables[kEnglish].Text(id));
    m_fallbacks << QStringLiteral("%1:%2").arg(LanguageLibraryName(language)).arg(id);
    return english.isEmpty() ? QStringLiteral("[%1]").arg(id) : english;
}

QStringList SkinTexts::PanelLines(int language, Panel panel) const
{
    const PanelText& texts = kPanelTexts[language >= 0 && language < kLanguageCount ? language : kEnglish];
    const char* const* lines = panel == Panel::NotConnected ? texts.notConnected : texts.noData;
    return { QString::fromUtf8(lines[0]), QString::fromUtf8(lines[1]) };
}

QStringList SkinTexts::FontFamilies(int language)
{
    const QString latin = QStringLiteral("Liberation Sans");
    const QString hangul = QStringLiteral("NanumGothic");
    const QString han = QStringLiteral("WenQuanYi Micro Hei");
    if (language == kKorean)
        return { hangul, han, latin };
    if (language == kJapanese || language == kChinese)
        return { han, hangul, latin };
    return { latin, hangul, han };
}

} // namespace zq::skin
