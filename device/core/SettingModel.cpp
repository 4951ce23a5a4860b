#include "SettingModel.h"

#include "OptionFile.h"
#include "SetupFile.h"
#include "TextLookup.h"
#include "TimeFile.h"

#include <QFile>

namespace zq::device {

namespace {

const QStringList kVolts12 = { "11.5V", "11.7V", "11.9V", "12.1V", "12.3V", "12.5V" };
// Not twice the 12 V list: the recorder steps 0.4, 0.4, 0.4, 0.1, 0.1 V.
const QStringList kVolts24 = { "23.0V", "23.4V", "23.8V", "24.2V", "24.3V", "24.4V" };

void fillNumbers(ChoiceList& list, int first, int last, int width)
{
    list.Clear();
    for (int n = first; n <= last; ++n)
        list.Add(QStringLiteral("%1").arg(n, width, 10, QChar('0')));
}

} // namespace

QStringList LanguageNativeNames()
{
    return { QStringLiteral("English"), QStringLiteral("한국어"), QStringLiteral("Deutsch"),
        QStringLiteral("日本語"), QStringLiteral("中文"), QStringLiteral("Nederlands"),
        QStringLiteral("Français"), QStringLiteral("Italiano"), QStringLiteral("Polski"),
        QStringLiteral("Português"), QStringLiteral("Русский"), QStringLiteral("Español") };
}

SettingModel::SettingModel(COptionFile& options)
    : m_options(options)
    , m_clock([] { return QDateTime::currentDateTime(); })
{
}

void SettingModel::Initialize(const QVector<CardDriveItem>& cards)
{
    // The fixed lists.
    models.Clear();
    models.Add(QStringLiteral("ZQ481K"));
    trigger.Clear();
    for (int id : { 270, 161, 160, 159, 158, 157, 156 })
        trigger.Add(Text(id));
    powerOff.Clear();
    for (const char* text : { "6H", "12H", "24H", "48H" })
        powerOff.Add(QString::fromLatin1(text));
    allocation.Clear();
    allocation.Add(Text(243));
    allocation.Add(Text(244));
    channels.Clear();
    channels.Add(Text(175));
    channels.Add(Text(174));
    fillNumbers(year, kYearFirst, kYearLast, 4);
    fillNumbers(month, 1, 12, 2);
    fillNumbers(day, 1, 31, 2);
    fillNumbers(hour, 0, 23, 2);
    fillNumbers(minute, 0, 59, 2);
    fillNumbers(second, 0, 59, 2);
    SetCards(cards);

    models.Select(m_options.m_model);
    FillModelLists(m_options.m_model);
    modelName = models.CurrentText();
    volumeLabel = modelName.toUpper();
    LoadViewerOptions();
    clockListsEnabled = false;
    if (models.current == 0)
        ApplyModelDefaults();
}

void SettingModel::FillModelLists(int modelIndex)
{
    volume.Clear();
    quality.Clear();
    parking.Clear();
    screenOff.Clear();
    quality.Add(Text(170));
    if (modelIndex == 0) {
        modelControlsEnabled = true;
        volume.Add(Text(236));
        quality.Add(Text(171));
        for (int id : { 215, 216, 220, 214 })
            screenOff.Add(Text(id));
        parking.Add(QStringLiteral("일반"));
        parking.Add(QStringLiteral("저전력"));
    }
    for (int level = 1; level <= 5; ++level)
        volume.Add(QStringLiteral("Level %1").arg(level));
    quality.Add(Text(172));
}

void SettingModel::ApplyModelDefaults()
{
    cutOff.Clear();
    trigger.Select(3);
    quality.Select(0);
    recordAudio = true;
    volume.Select(3);
    channels.Select(1);
    battery24V = false;
    FillCutOffList(false);
    cutOff.Select(3);
    powerOff.Select(1);
    if (allocation.current < 0)
        allocation.Select(0);
    screenOff.Select(0);
    parking.Select(0);
    nightVision = false;
    SetClockListsFromPc();
}

QVector<ChoiceList*> SettingModel::DeviceLists()
{
    return { &parking, &trigger, &quality, &channels, &volume, &powerOff, &cutOff, &screenOff, &allocation,
        &year, &month, &day, &hour, &minute, &second };
}

void SettingModel::ResetDeviceControls()
{
    for (ChoiceList* list : DeviceLists())
        list->current = -1;
    recordAudio = false;
    speakerMute = false;
    battery24V = false;
    clockBox = false;
    // The lists follow the box: an unticked box with live lists would write nothing the user set.
    clockListsEnabled = false;
}

void SettingModel::ApplyViewerDefaults()
{
    saveDirectory = GetDefaultCaptureFolder();
    playValue = kPlayValueDefault;
    rearMirror = false;
}

void SettingModel::OnDefaults()
{
    if (models.current == 0)
        ApplyModelDefaults();
    if (!skipViewerDefaults)
        ApplyViewerDefaults();
    skipViewerDefaults = false;
}

void SettingModel::SetCards(const QVector<CardDriveItem>& items)
{
    m_cardItems = items;
    cards.Clear();
    for (const CardDriveItem& item : items)
        cards.Add(item.DisplayText());
}

const CardDriveItem* SettingModel::SelectedCard() const
{
    return HasCard() ? &m_cardItems[cards.current] : nullptr;
}

void SettingModel::SelectCard(int index)
{
    cards.Select(index);
    OnCardSelChange();
}

void SettingModel::OnCardSelChange()
{
    if (cards.current < 0) {
        skipViewerDefaults = true;
        OnDefaults();
        return;
    }
    const CardDriveItem* card = SelectedCard();
    if (!card)
        return;
    const QString root = CardRootWithSlash(card->root);
    setupPath = root + QLatin1String(kSetupFileName);
    timePath = root + QLatin1String(kTimeFileName);
    bool read = false;
    if (models.current == 0)
        read = ReadSetupFile(setupPath);
    if (models.current != 0 || !read) {
        skipViewerDefaults = true;
        OnDefaults();
    }
    ReadTimeFile(timePath);
}

void SettingModel::OnModelSelChange(int index)
{
    models.Select(index);
    modelName = models.CurrentText();
    volumeLabel = modelName;
    FillModelLists(models.current);
    OnCardSelChange();
}

void SettingModel::OnBattery(bool volt24)
{
    battery24V = volt24;
    FillCutOffList(volt24);
}

void SettingModel::FillCutOffList(bool volt24)
{
    // The index carries over, not the voltage: "11.9V" becomes "23.8V".
    const int remembered = cutOff.current < 0 ? 0 : cutOff.current;
    cutOff.Clear();
    cutOff.Add(Text(155));
    for (const QString& volts : volt24 ? kVolts24 : kVolts12)
        cutOff.Add(volts);
    cutOff.Select(remembered);
}

void SettingModel::OnClockBox(bool ticked)
{
    clockBox = ticked;
    if (ticked)
        SetClockListsFromPc();
    clockListsEnabled = ticked;
}

void SettingModel::SetClockListsFromPc()
{
    const QDateTime now = m_clock();
    const QDate date = now.date();
    const QTime time = now.time();
    year.SelectPrefix(QStringLiteral("%1").arg(date.year(), 4, 10, QChar('0')));
    month.SelectPrefix(QStringLiteral("%1").arg(date.month(), 2, 10, QChar('0')));
    day.SelectPrefix(QStringLiteral("%1").arg(date.day(), 2, 10, QChar('0')));
    hour.SelectPrefix(QStringLiteral("%1").arg(time.hour(), 2, 10, QChar('0')));
    minute.SelectPrefix(QStringLiteral("%1").arg(time.minute(), 2, 10, QChar('0')));
    second.SelectPrefix(QStringLiteral("%1").arg(time.second(), 2, 10, QChar('0')));
}

void SettingModel::LoadViewerOptions()
{
    // The file is read again so the dialog shows what is stored; when it cannot be read, the options the
    // viewer runs with are shown instead of empty controls that OK would store as an empty folder and a
    // skip interval of 0.
    m_options.ReadOptionFile();
    saveDirectory = m_options.m_saveDirectory;
    playValue = m_options.m_playValue;
    rearMirror = m_options.m_rearMirror;
    language = m_options.m_language;
    speedInMiles = m_options.m_speedInMiles;
}

bool SettingModel::SaveViewerOptions()
{
    m_options.m_saveDirectory = saveDirectory;
    m_options.m_playValue = playValue;
    m_options.m_rearMirror = rearMirror;
    const bool languageChanged = m_options.m_language != language;
    m_options.m_language = language;
    m_options.m_model = models.current;
    m_options.m_speedInMiles = speedInMiles;
    if (languageChanged)
        m_options.LoadLanguageDll();
    return m_options.WriteOptionFile();
}

bool SettingModel::ReadSetupFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ResetDeviceControls();
        ApplyModelDefaults();
        return false;
    }
    ApplySetupText(file.readAll());
    return true;
}

void SettingModel::ApplySetupText(const QByteArray& bytes)
{
    const QStringList values = ParseSetupValues(bytes);
    for (int line = 0; line < values.size() && line < kSetupLineCount; ++line) {
        const QString& text = values[line];
        const int value = LeadingInt(text);
        switch (line) {
        case 0:
            cardProductName = text;
            break;
        case 1:
            if (cardProductName == modelName)
                hwVersion = text;
            break;
        case 2:
            if (cardProductName == modelName)
                swVersion = text;
            break;
        case 3:
            if (value >= 0 && value < trigger.Count())
                trigger.Select(value);
            break;
        case 4:
            quality.Select(value);
            break;
        case 5:
            recordAudio = value != 0;
            break;
        case 6:
            if (value >= 0 && value < volume.Count())
                volume.Select(value);
            break;
        case 7:
            if (value == 0 || value == 1)
                channels.Select(value);
            break;
        case 9:
            battery24V = value != 0;
            FillCutOffList(battery24V);
            break;
        case 10:
            if (value >= 0 && value <= 6)
                cutOff.Select(value);
            break;
        case 11:
            if (value >= 1 && value <= 4)
                powerOff.Select(value - 1);
            break;
        case 12:
            if (value >= 0 && value <= 2)
                allocation.Select(value);
            allocationOnCard = value;
            break;
        case 13:
            speakerMute = value != 0;
            break;
        case 14:
            screenOff.Select(value);
            break;
        case 23:
            parking.Select(value);
            break;
        case 24:
            nightVision = value != 0;
            break;
        default:
            if (line >= 15 && line <= 22)
                passThrough[size_t(line - 15)] = value;
            break;
        }
    }
}

bool SettingModel::ReadTimeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    ApplyTimeText(file.readAll());
    return true;
}

void SettingModel::ApplyTimeText(const QByteArray& bytes)
{
    const TimeFields fields = ParseTimeText(bytes);
    year.SelectPrefix(fields.year);
    month.SelectPrefix(fields.month);
    day.SelectPrefix(fields.day);
    hour.SelectPrefix(fields.hour);
    minute.SelectPrefix(fields.minute);
    second.SelectPrefix(fields.second);
}

QStringList SettingModel::SetupLines() const
{
    const auto n = [](int value) { return QString::number(value); };
    QStringList values = { modelName, hwVersion, swVersion, n(trigger.current), n(quality.current),
        n(recordAudio ? 1 : 0), n(volume.current), n(channels.current),
        n(0), // reserved: always 0
        n(battery24V ? 1 : 0), n(cutOff.current), n(powerOff.current + 1), n(allocation.current),
        n(speakerMute ? 1 : 0), n(screenOff.current) };
    for (int value : passThrough)
        values.append(n(value));
    values.append(n(parking.current));
    values.append(n(nightVision ? 1 : 0));
    return FormatSetupLines(values);
}

QStringList SettingModel::TimeLines() const
{
    if (!clockBox)
        return {};
    return FormatTimeLines({ year.CurrentText(), month.CurrentText(), day.CurrentText(), hour.CurrentText(),
        minute.CurrentText(), second.CurrentText() });
}

CardWriteResult SettingModel::WriteSetupFile(const QString& path)
{
    const bool deleteMarker = DeletesMarker();
    const CardDriveItem* card = SelectedCard();
    const QString root = card ? CardRootWithSlash(card->root) : QString();
    // The marker goes only once the new settings are complete on disk, just before they replace the old.
    const auto removeMarker = [&]() {
        if (!deleteMarker)
            return true;
        if (root.isEmpty())
            return false;
        QFile::remove(root + QLatin1String(kFormatMarkerName));
        return true;
    };
    const CardWriteResult result = WriteFileAtomically(
        path, JoinFileLines(SetupLines()), removeMarker, QStringLiteral("no card is selected"));
    if (result.ok)
        allocationOnCard = allocation.current; // what the card holds now
    return result;
}

CardWriteResult SettingModel::WriteTimeFile(const QString& path)
{
    if (!clockBox)
        return {};
    return WriteFileAtomically(path, JoinFileLines(TimeLines()));
}

CardWriteResult SettingModel::WriteCardFiles()
{
    const CardWriteResult setup = WriteSetupFile(setupPath);
    if (!setup.ok)
        return setup;
    return WriteTimeFile(timePath);
}

ChoiceList* SettingModel::ClockList(int i)
{
    ChoiceList* lists[] = { &year, &month, &day, &hour, &minute, &second };
    return i >= 0 && i < 6 ? lists[i] : nullptr;
}

} // namespace zq::device
