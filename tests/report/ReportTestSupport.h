#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QVector>

namespace zq::test {

/// The text of one page of a PDF file as pdftotext reads it (page 0: every page); empty on failure.
QString PdfText(const QString& pdf, int page = 0);
/// The text with every white space removed: pdftotext drops the spaces inside Hangul runs.
QString Squeezed(const QString& text);
/// A word on a PDF page and its box, in report device pixels from the page's top-left corner.
struct PdfWord {
    QString text;
    QRectF box;
};
/// The words of one page with their boxes (pdftotext -bbox).
QVector<PdfWord> PdfWords(const QString& pdf, int page);

/// One page of a PDF file rendered at dpi; null on failure.
QImage PdfPage(const QString& pdf, int page, int dpi);

/// Where a PDF report puts things, in report device pixels from the page's top-left corner.
struct PdfReportLayout {
    QRect printable; // the printable area on the page
    QRect frontFrame;
    QRect rearFrame;
    QRect mapPicture;
};
/// The layout of a report printed by PrintReportToPdf, read from a printer set up the same way.
PdfReportLayout ReportLayoutOfPdf();

/// Mean of |a - b| over the colour components between the part of page (rendered at dpi) that covers
/// deviceRect (report device pixels) and picture stretched over that part. A margin of a few pixels
/// inside the rectangle is left out, where the picture's edge blends with the page.
double RegionDifference(const QImage& page, int dpi, const QRect& deviceRect, const QImage& picture);
/// The share of near-white pixels in the part of page that covers deviceRect.
double WhiteShare(const QImage& page, int dpi, const QRect& deviceRect);

} // namespace zq::test
