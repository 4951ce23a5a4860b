#pragma once

#include <QDateTime>
#include <QString>

namespace zq {

// The lines of the printed report, as they are written on the page.

/// "ZQ481K Viewer" for model 0; other models print no title.
QString ReportHeaderTitle(int model);
/// "ZQ481K Report" for model 0; other models print no title.
QString ReportTitle(int model);
/// The local time of printing, "2026-12-07 01:02:03".
QString ReportPrintDate(const QDateTime& local);
/// "Page 1 of 2": the report always has two pages.
QString ReportPageText(int page);
/// A numbered section heading, "1. Video".
QString ReportSection(int number, const QString& text);
/// An item under a section, "-Front Camera".
QString ReportItem(const QString& text);
/// "Lat : 37.50123596": a coordinate with eight decimals.
QString ReportCoordinateLine(const QString& label, double degrees);
/// "G-Sensor Values : X = 0.03125000, Y = -1.00000000, Z = 1.00000000".
QString ReportGsensorLine(const QString& label, double x, double y, double z);

} // namespace zq
