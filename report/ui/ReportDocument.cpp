#include "ReportDocument.h"

#include "ReportPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zq {

namespace {
void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}
} // namespace

void SetUpPdfPrinter(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
}

bool PrintReport(ReportPrinter& printer, const ReportInput& input, QString* error)
{
    printer.SetInput(input);
    if (!printer.BeginDocument(input.texts.documentName)) {
        SetError(error, QStringLiteral("the printer cannot be opened"));
        return false;
    }
    printer.SelectTextFont(QString::fromLatin1(ReportPrinter::kTextFace), 20);
    printer.PrintPage1(input.model);
    printer.PrintPage2(input.model);
    if (!printer.EndDocument()) {
        SetError(error, QStringLiteral("the print job failed"));
        return false;
    }
    return true;
}

PrintOutcome PrintWithDialog(QWidget* parent, const std::function<ReportInput()>& collect, QString* error)
{
    ReportPrinter printer;
    if (printer.ChoosePrinter(parent) != 0)
        return PrintOutcome::Cancelled;
    return PrintReport(printer, collect(), error) ? PrintOutcome::Printed : PrintOutcome::Failed;
}

bool PrintReportToPdf(const QString& path, const ReportInput& input, QString* error)
{
    const QFileInfo target(path);
    if (target.isDir()) {
        SetError(error, QStringLiteral("%1 is a folder").arg(path));
        return false;
    }
    if (!target.absoluteDir().exists()) {
        SetError(error, QStringLiteral("the folder of %1 does not exist").arg(path));
        return false;
    }
    // The temporary file only reserves a name in the target folder; the printer then creates the file
    // itself, with the permissions any new file gets.
    QString partial;
    {
        QTemporaryFile reserve(
            target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
        reserve.setAutoRemove(false);
        if (!reserve.open()) {
            SetError(error,
                QStringLiteral("cannot write in the folder of %1: %2").arg(path, reserve.errorString()));
            return false;
        }
        partial = reserve.fileName();
    }
    QFile::remove(partial);

    QPrinter pdf(QPrinter::HighResolution);
    SetUpPdfPrinter(pdf, partial);
    QString reason;
    bool printed = false;
    {
        ReportPrinter printer(&pdf);
        printed = PrintReport(printer, input, &reason);
    }
    if (!printed || !QFileInfo(partial).isFile()) {
        QFile::remove(partial);
        SetError(error,
            QStringLiteral("cannot write %1: %2")
                .arg(path, printed ? QStringLiteral("nothing was printed") : reason));
        return false;
    }
    // rename() replaces an earlier report in one step.
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(partial);
        SetError(error, QStringLiteral("cannot write %1: %2").arg(path, reason));
        return false;
    }
    return true;
}

} // namespace zq
