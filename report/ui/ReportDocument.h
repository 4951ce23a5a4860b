#pragma once

#include "ReportInput.h"

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace zq {

class ReportPrinter;

/// Sets printer up to write path as an A4 PDF file, as PrintReportToPdf does.
void SetUpPdfPrinter(QPrinter& printer, const QString& path);

/// Prints both pages of input on a printer that has been chosen: starts the document under the
/// application title, prints page 1 and page 2 with the input's model index and ends the document.
/// False, with a reason in *error, when the printer could not be opened or the job failed.
bool PrintReport(ReportPrinter& printer, const ReportInput& input, QString* error = nullptr);

enum class PrintOutcome { Printed, Cancelled, Failed };

/// The Print command's body: runs the print dialog over parent and, when it is confirmed, collects the
/// input (the frames, the values at the current position, the map picture) and prints both pages on the
/// chosen printer. Cancel prints nothing and collects nothing.
PrintOutcome PrintWithDialog(
    QWidget* parent, const std::function<ReportInput()>& collect, QString* error = nullptr);

/// Prints the report into a PDF file (A4). The file is written under a temporary name beside path and
/// renamed at the end, so a failure leaves any earlier file at path as it was.
bool PrintReportToPdf(const QString& path, const ReportInput& input, QString* error = nullptr);

} // namespace zq
