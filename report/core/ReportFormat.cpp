#include "ReportFormat.h"

namespace zq {

namespace {
// printf formatting is not localised, so the decimal separator is always ".".
QString Fixed8(double value)
{
    return QString::asprintf("%.08f", value);
}
} // namespace

QString ReportHeaderTitle(int model)
{
    return model == 0 ? QStringLiteral("ZQ481K Viewer") : QString();
}

QString ReportTitle(int model)
{
    return model == 0 ? QStringLiteral("ZQ481K Report") : QString();
}

QString ReportPrintDate(const QDateTime& local)
{
    const QDate date = local.date();
    const QTime time = local.time();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(), date.day(),
        time.hour(), time.minute(), time.second());
}

QString ReportPageText(int page)
{
    return QString::asprintf("Page %d of 2", page);
}

QString ReportSection(int number, const QString& text)
{
    return QStringLiteral("%1. %2").arg(number).arg(text);
}

QString ReportItem(const QString& text)
{
    return QStringLiteral("-") + text;
}

QString ReportCoordinateLine(const QString& label, double degrees)
{
    return label + QStringLiteral(" : ") + Fixed8(degrees);
}

QString ReportGsensorLine(const QString& label, double x, double y, double z)
{
    return label + QStringLiteral(" : X = ") + Fixed8(x) + QStringLiteral(", Y = ") + Fixed8(y)
        + QStringLiteral(", Z = ") + Fixed8(z);
}

} // namespace zq
