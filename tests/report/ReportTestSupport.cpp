#include "ReportTestSupport.h"

#include "ReportDocument.h"
#include "ReportPrinter.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

namespace zq::test {

namespace {

constexpr int kInsetPixels = 3;

QRect PageRect(const QImage& page, int dpi, const QRect& deviceRect)
{
    const double scale = double(dpi) / ReportPrinter::kDotsPerInch;
    const QRect scaled(int(std::ceil(deviceRect.x() * scale)), int(std::ceil(deviceRect.y() * scale)),
        int(deviceRect.width() * scale), int(deviceRect.height() * scale));
    return scaled.adjusted(kInsetPixels, kInsetPixels, -2 * kInsetPixels, -2 * kInsetPixels)
        .intersected(page.rect());
}

} // namespace

QString PdfText(const QString& pdf, int page)
{
    QStringList args;
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    args << pdf << "-";
    QProcess process;
    process.start("pdftotext", args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << pdf.toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QVector<PdfWord> PdfWords(const QString& pdf, int page)
{
    QProcess process;
    process.start(
        "pdftotext", { "-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf, "-" });
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext -bbox failed on " << pdf.toStdString();
        return {};
    }
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    const double scale = double(ReportPrinter::kDotsPerInch) / 72.0;
    QVector<PdfWord> words;
    for (auto match = word.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        const QPointF topLeft(found.captured(1).toDouble() * scale, found.captured(2).toDouble() * scale);
        const QPointF bottomRight(found.captured(3).toDouble() * scale, found.captured(4).toDouble() * scale);
        words.append({ found.captured(5), QRectF(topLeft, bottomRight) });
    }
    return words;
}

QString Squeezed(const QString& text)
{
    QString squeezed = text;
    squeezed.remove(QRegularExpression(QStringLiteral("\\s+")));
    return squeezed;
}

QImage PdfPage(const QString& pdf, int page, int dpi)
{
    QTemporaryDir folder;
    const QString base = folder.filePath("page");
    QProcess process;
    process.start("pdftoppm",
        { "-r", QString::number(dpi), "-f", QString::number(page), "-l", QString::number(page), "-png",
            "-singlefile", pdf, base });
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdftoppm failed on " << pdf.toStdString();
        return {};
    }
    return QImage(base + ".png").convertToFormat(QImage::Format_RGB32);
}

PdfReportLayout ReportLayoutOfPdf()
{
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, folder.filePath("layout.pdf"));
    ReportPrinter report(&printer);
    PdfReportLayout layout;
    if (!report.BeginDocument(QStringLiteral("layout"))) {
        ADD_FAILURE() << "cannot print into " << folder.path().toStdString();
        return layout;
    }
    const QPoint origin = printer.pageLayout().paintRectPixels(ReportPrinter::kDotsPerInch).topLeft();
    layout.printable = QRect(origin, QSize(report.PageWidth(), report.PageHeight()));
    layout.frontFrame = report.FrontFrameRect().translated(origin);
    layout.rearFrame = report.RearFrameRect().translated(origin);
    layout.mapPicture = report.MapPictureRect().translated(origin);
    report.EndDocument();
    return layout;
}

double RegionDifference(const QImage& page, int dpi, const QRect& deviceRect, const QImage& picture)
{
    const double scale = double(dpi) / ReportPrinter::kDotsPerInch;
    const QSize full(int(deviceRect.width() * scale), int(deviceRect.height() * scale));
    const QImage stretched = picture.convertToFormat(QImage::Format_RGB32)
                                 .scaled(full, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QRect area = PageRect(page, dpi, deviceRect);
    if (area.isEmpty() || stretched.isNull())
        return 255.0;
    const QPoint pageOrigin(int(std::ceil(deviceRect.x() * scale)), int(std::ceil(deviceRect.y() * scale)));
    double sum = 0.0;
    qint64 count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QPoint inPicture = QPoint(x, y) - pageOrigin;
            if (!stretched.rect().contains(inPicture))
                continue;
            const QRgb a = page.pixel(x, y);
            const QRgb b = stretched.pixel(inPicture);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
                + std::abs(qBlue(a) - qBlue(b));
            count += 3;
        }
    }
    return count > 0 ? sum / double(count) : 255.0;
}

double WhiteShare(const QImage& page, int dpi, const QRect& deviceRect)
{
    const QRect area = PageRect(page, dpi, deviceRect);
    if (area.isEmpty())
        return 0.0;
    qint64 white = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = page.pixel(x, y);
            if (qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245)
                ++white;
        }
    }
    return double(white) / double(qint64(area.width()) * area.height());
}

} // namespace zq::test
