// Setting one setup.cfg field by name, as the command line does: through the control that shows it.
#include "SettingModel.h"
#include "SetupFile.h"

#include <QRegularExpression>

namespace zq::device {

namespace {

bool parseStrictInt(const QString& text, int* value)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]{1,10}$"));
    if (!pattern.match(text).hasMatch())
        return false;
    bool ok = false;
    *value = text.toInt(&ok);
    return ok;
}

QString range(int first, int last)
{
    return first == last ? QString::number(first) : QStringLiteral("%1..%2").arg(first).arg(last);
}

} // namespace

bool SettingModel::SetSetupField(const QString& name, const QString& value, QString* error)
{
    const int line = SetupLineForName(name);
    if (line < 0) {
        QStringList names;
        for (int i = 0; i < kSetupLineCount; ++i)
            names.append('"' + SetupFieldName(i) + '"');
        *error = QStringLiteral("unknown field \"%1\"; the fields are %2").arg(name, names.join(", "));
        return false;
    }
    const QString field = SetupFieldName(line);
    const QStringList current = SetupLines();
    const QString currentValue = current[line].mid(kSetupLabelBytes);

    // Lines the dialog shows no control for keep the card's value: only that value is accepted.
    const auto fixed = [&]() {
        if (value == currentValue)
            return true;
        *error
            = QStringLiteral("\"%1\" has no control in the settings dialog and keeps its value; accepted: %2")
                  .arg(field, currentValue);
        return false;
    };
    if (line == 1 || line == 2 || line == 8 || line == 13 || (line >= 15 && line <= 22))
        return fixed();

    if (line == 0) {
        const int index = int(models.items.indexOf(value));
        if (index < 0) {
            *error = QStringLiteral("\"%1\" cannot be \"%2\"; accepted: %3")
                         .arg(field, value, models.items.join(", "));
            return false;
        }
        if (index != models.current)
            OnModelSelChange(index);
        return true;
    }

    ChoiceList* list = nullptr;
    int first = 0;
    int last = 1;
    switch (line) {
    case 3:
        list = &trigger;
        break;
    case 4:
        list = &quality;
        break;
    case 6:
        list = &volume;
        break;
    case 7:
        list = &channels;
        break;
    case 10:
        list = &cutOff;
        break;
    case 11:
        list = &powerOff;
        first = 1;
        break;
    case 12:
        list = &allocation;
        break;
    case 14:
        list = &screenOff;
        break;
    case 23:
        list = &parking;
        break;
    default:
        break;
    }
    if (list)
        last = first + list->Count() - 1;

    int number = 0;
    if (!parseStrictInt(value, &number) || number < first || number > last) {
        *error = last < first
            ? QStringLiteral("\"%1\" has no entries for this model; nothing is accepted").arg(field)
            : QStringLiteral("\"%1\" cannot be \"%2\"; accepted: %3").arg(field, value, range(first, last));
        return false;
    }
    if (list) {
        list->Select(number - first);
        return true;
    }
    switch (line) {
    case 5:
        recordAudio = number != 0;
        break;
    case 9:
        OnBattery(number != 0);
        break;
    case 24:
        nightVision = number != 0;
        break;
    default:
        break;
    }
    return true;
}

bool SettingModel::SetClockTo(const QDateTime& when, QString* error)
{
    if (!when.isValid()) {
        *error = QStringLiteral("the clock needs a valid date and time \"YYYY-MM-DD HH:MM:SS\"");
        return false;
    }
    const QDate date = when.date();
    if (date.year() < kYearFirst || date.year() > kYearLast) {
        *error = QStringLiteral("the recorder clock takes the years %1..%2, not %3")
                     .arg(kYearFirst)
                     .arg(kYearLast)
                     .arg(date.year());
        return false;
    }
    OnClockBox(true);
    const QTime time = when.time();
    const int parts[] = { date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second() };
    for (int i = 0; i < 6; ++i)
        ClockList(i)->SelectPrefix(QStringLiteral("%1").arg(parts[i], i == 0 ? 4 : 2, 10, QChar('0')));
    return true;
}

} // namespace zq::device
