#pragma once

#include "ReportInput.h"

#include <QString>

class QPrinter;

namespace zq {

class ReportPrinter;

/// Sets printer up to write path as an A4 PDF file, as PrintReportToPdf does.
void SetUpPdfPrinter(QPrinter& printer, const QString& path);

/// Prints both pages of input on a printer that has been chosen: starts the document under the
/// application title, prints page 1 and page 2 with the input's model index and ends the document.
/// False, with a reason in *error, when the printer could not be opened or the job failed.
bool PrintReport(ReportPrinter& printer, const ReportInput& input, QString* error = nullptr);

/// Prints the report into a PDF file (A4). The file is written under a temporary name beside path and
/// renamed at the end, so a failure leaves any earlier file at path as it was.
bool PrintReportToPdf(const QString& path, const ReportInput& input, QString* error = nullptr);

} // namespace zq
