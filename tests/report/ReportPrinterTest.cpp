#include "ReportPrinter.h"

#include "LanguageTable.h"
#include "ReportDocument.h"
#include "ReportTestSupport.h"
#include "StringTable.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace zq {
namespace {

constexpr int kRenderDpi = 100;
// Mean colour difference between a printed picture and the same picture scaled by Qt; unrelated pictures
// differ by far more than this.
constexpr double kSamePicture = 12.0;

ReportTexts LanguageTexts(const QString& name)
{
    StringTable table;
    EXPECT_TRUE(table.Load(test::bundleDir() + "/lang/" + name + ".lng")) << name.toStdString();
    return ReportTexts::FromTable(&table);
}

/// A picture no other picture of these tests resembles: hue bands across, a brightness ramp down.
QImage Picture(int hueOffset, QSize size = QSize(320, 180))
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int hue = (hueOffset + x * 300 / size.width()) % 360;
            picture.setPixelColor(x, y, QColor::fromHsv(hue, 200, 80 + y * 170 / size.height()));
        }
    }
    return picture;
}

ReportInput EnglishInput()
{
    ReportInput input;
    input.texts = LanguageTexts("English");
    input.frontFrame = Picture(0);
    input.rearFrame = Picture(180);
    input.values.latitude = double(float(37.5012345));
    input.values.longitude = double(float(126.9833));
    input.values.x = -0.0625;
    input.values.y = 0.03125;
    input.values.z = 1.0;
    input.printedAt = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7));
    return input;
}

class ReportPrinterTest : public ::testing::Test {
protected:
    QString Print(const ReportInput& input, const QString& name = "report.pdf")
    {
        const QString path = m_folder.filePath(name);
        QString error;
        EXPECT_TRUE(PrintReportToPdf(path, input, &error)) << error.toStdString();
        return path;
    }
    QTemporaryDir m_folder;
};

TEST_F(ReportPrinterTest, PagesCarryTitlesPrintDatePageNumbersAndValues)
{
    const QString pdf = Print(EnglishInput());
    const QString page1 = test::PdfText(pdf, 1);
    const QString page2 = test::PdfText(pdf, 2);
    EXPECT_EQ(page1.count("ZQ481K Viewer"), 2) << page1.toStdString();
    EXPECT_TRUE(page1.contains("ZQ481K Report"));
    EXPECT_TRUE(page1.contains("2026-03-04 05:06:07"));
    EXPECT_TRUE(page1.contains("Page 1 of 2"));
    EXPECT_FALSE(page1.contains("Page 2"));
    EXPECT_TRUE(page1.contains("1. Video"));
    EXPECT_TRUE(page1.contains("-Captured Images"));
    EXPECT_TRUE(page1.contains("-Front Camera"));
    EXPECT_TRUE(page1.contains("-Rear Camera"));

    EXPECT_TRUE(page2.contains("2026-03-04 05:06:07"));
    EXPECT_TRUE(page2.contains("Page 2 of 2"));
    EXPECT_FALSE(page2.contains("ZQ481K Report"));
    EXPECT_TRUE(page2.contains("2. GPS Information"));
    EXPECT_TRUE(page2.contains("Lat : 37.50123596")) << page2.toStdString();
    EXPECT_TRUE(page2.contains("Lon : 126.98329926"));
    EXPECT_TRUE(page2.contains("\nMap\n"));
    EXPECT_TRUE(page2.contains("3. G-Sensor Information"));
    // The values' label is printed twice: as a heading and in front of the values.
    EXPECT_EQ(page2.count("G-Sensor Values"), 2);
    EXPECT_TRUE(page2.contains("G-Sensor Values : X = -0.06250000, Y = 0.03125000, Z = 1.00000000"));

    QProcess info;
    info.start("pdfinfo", { pdf });
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression("Title: +ZQ481K Viewer\n")));
}

TEST_F(ReportPrinterTest, TextsSitAtTheirPlaceAtTheirHeight)
{
    const QString pdf = Print(EnglishInput());
    const test::PdfReportLayout layout = test::ReportLayoutOfPdf();
    const QRect area = layout.printable;
    auto find = [](const QVector<test::PdfWord>& words, const QString& text, double minimumY) {
        for (const test::PdfWord& word : words) {
            if (word.text == text && word.box.top() >= minimumY)
                return word.box;
        }
        ADD_FAILURE() << "no word " << text.toStdString();
        return QRectF();
    };
    const QVector<test::PdfWord> page1 = test::PdfWords(pdf, 1);
    struct Place {
        QString word;
        int xPercent;
        int yPercent;
        int size;
    };
    // Left-hand glyphs ("Z", "P", "1", "2") start within a few pixels of the pen position.
    for (const Place& place : { Place { "ZQ481K", 5, 5, 20 }, Place { "2026-03-04", 80, 5, 20 },
             Place { "Page", 80, 95, 20 }, Place { "Report", 30, 10, 40 }, Place { "1.", 5, 15, 25 } }) {
        const QRectF box = find(page1, place.word, area.top() + area.height() * place.yPercent / 100 - 20);
        const double x = area.left() + area.width() * place.xPercent / 100;
        const double y = area.top() + area.height() * place.yPercent / 100;
        if (place.word != "Report") {
            EXPECT_NEAR(box.left(), x, 12.0) << place.word.toStdString();
        }
        // The box is the font's ascent plus descent: 5 device pixels per size unit.
        EXPECT_NEAR(box.top(), y, 3.0) << place.word.toStdString();
        EXPECT_NEAR(box.height(), 5.0 * place.size, 3.0) << place.word.toStdString();
        // Nothing runs past the printable area.
        EXPECT_LE(box.right(), area.right()) << place.word.toStdString();
    }
    const QVector<test::PdfWord> page2 = test::PdfWords(pdf, 2);
    for (const test::PdfWord& word : page2)
        EXPECT_LE(word.box.right(), area.right()) << word.text.toStdString();
    // Lines 2 % apart do not overlap.
    const QRectF latitude = find(page2, "Lat", 0);
    const QRectF longitude = find(page2, "Lon", 0);
    EXPECT_LE(latitude.bottom(), longitude.top());
}

TEST_F(ReportPrinterTest, EveryLanguageFitsThePrintableArea)
{
    const QRect area = test::ReportLayoutOfPdf().printable;
    for (int language = 0; language < kLanguageCount; ++language) {
        ReportInput input = EnglishInput();
        input.texts = LanguageTexts(LanguageLibraryName(language));
        input.values = { -89.12345678, -179.12345678, -8.0, -8.0, -8.0 };
        const QString pdf = Print(input, QStringLiteral("language%1.pdf").arg(language));
        // One face for the Latin text and at most one more for the language's own script: a face chosen
        // glyph by glyph would mix two in one word.
        QProcess fonts;
        fonts.start("pdffonts", { pdf });
        ASSERT_TRUE(fonts.waitForFinished(30000));
        const QStringList faces
            = QString::fromUtf8(fonts.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).mid(2);
        EXPECT_GE(faces.size(), 1);
        EXPECT_LE(faces.size(), 2) << LanguageLibraryName(language).toStdString() << "\n"
                                   << faces.join('\n').toStdString();
        for (int page = 1; page <= 2; ++page) {
            const QVector<test::PdfWord> words = test::PdfWords(pdf, page);
            EXPECT_GT(words.size(), 10);
            for (const test::PdfWord& word : words) {
                EXPECT_LE(word.box.right(), area.right() + 1)
                    << LanguageLibraryName(language).toStdString() << ": " << word.text.toStdString();
            }
        }
    }
}

TEST_F(ReportPrinterTest, SectionHeadingsFollowTheLanguage)
{
    ReportInput input = EnglishInput();
    input.texts = LanguageTexts("Korean");
    const QString pdf = Print(input);
    const QString page1 = test::Squeezed(test::PdfText(pdf, 1));
    const QString page2 = test::Squeezed(test::PdfText(pdf, 2));
    EXPECT_TRUE(page1.contains("1.영상")) << page1.toStdString();
    EXPECT_TRUE(page1.contains("-캡처이미지"));
    EXPECT_TRUE(page1.contains("-전방카메라"));
    EXPECT_TRUE(page1.contains("-후방카메라"));
    EXPECT_FALSE(page1.contains("Video"));
    EXPECT_TRUE(page2.contains("2.GPS정보"));
    EXPECT_TRUE(page2.contains("위도:37.50123596"));
    EXPECT_TRUE(page2.contains("3.G센서정보"));
    EXPECT_TRUE(page2.contains("G센서값:X=-0.06250000,Y=0.03125000,Z=1.00000000"));
    // The fixed texts stay English in every language.
    EXPECT_TRUE(page2.contains("Page2of2"));
}

TEST_F(ReportPrinterTest, FramesAreDrawnStretchedIntoTheirRectangles)
{
    const QString pdf = Print(EnglishInput());
    const test::PdfReportLayout layout = test::ReportLayoutOfPdf();
    const QImage page = test::PdfPage(pdf, 1, kRenderDpi);
    ASSERT_FALSE(page.isNull());
    const ReportInput input = EnglishInput();
    EXPECT_LT(test::RegionDifference(page, kRenderDpi, layout.frontFrame, input.frontFrame), kSamePicture);
    EXPECT_LT(test::RegionDifference(page, kRenderDpi, layout.rearFrame, input.rearFrame), kSamePicture);
    EXPECT_GT(test::RegionDifference(page, kRenderDpi, layout.frontFrame, input.rearFrame), 4 * kSamePicture);
    // Page 2 has no map picture without a map view.
    const QImage page2 = test::PdfPage(pdf, 2, kRenderDpi);
    EXPECT_GT(test::WhiteShare(page2, kRenderDpi, layout.mapPicture), 0.99);
}

TEST_F(ReportPrinterTest, OneChannelPrintsOnePictureAndNoRearCaption)
{
    ReportInput input = EnglishInput();
    input.channelCount = 1;
    const QString pdf = Print(input);
    EXPECT_FALSE(test::PdfText(pdf, 1).contains("Rear Camera"));
    const test::PdfReportLayout layout = test::ReportLayoutOfPdf();
    const QImage page = test::PdfPage(pdf, 1, kRenderDpi);
    EXPECT_LT(test::RegionDifference(page, kRenderDpi, layout.frontFrame, input.frontFrame), kSamePicture);
    EXPECT_GT(test::WhiteShare(page, kRenderDpi, layout.rearFrame), 0.99);
}

TEST_F(ReportPrinterTest, MapPictureOnlyWithAPositionOnBothAxes)
{
    ReportInput input = EnglishInput();
    input.mapPicture = Picture(90, QSize(400, 300));
    const test::PdfReportLayout layout = test::ReportLayoutOfPdf();
    const QImage withPosition = test::PdfPage(Print(input, "map.pdf"), 2, kRenderDpi);
    EXPECT_LT(
        test::RegionDifference(withPosition, kRenderDpi, layout.mapPicture, input.mapPicture), kSamePicture);

    input.values.latitude = 0.0;
    const QString pdf = Print(input, "equator.pdf");
    EXPECT_GT(test::WhiteShare(test::PdfPage(pdf, 2, kRenderDpi), kRenderDpi, layout.mapPicture), 0.99);
    EXPECT_TRUE(test::PdfText(pdf, 2).contains("Lat : 0.00000000"));
}

TEST_F(ReportPrinterTest, APartOfABitmapCanBeStretchedAndAnEmptyOneIsSkipped)
{
    QPrinter printer(QPrinter::HighResolution);
    const QString path = m_folder.filePath("part.pdf");
    SetUpPdfPrinter(printer, path);
    ReportPrinter report(&printer);
    ASSERT_TRUE(report.BeginDocument("part"));
    const QImage picture = Picture(0);
    const QRect leftHalf(0, 0, 160, 180);
    const QRect target = report.FrontFrameRect();
    EXPECT_EQ(
        report.PrintBitmap(target.x(), target.y(), target.width(), target.height(), picture, leftHalf), 0);
    EXPECT_EQ(report.PrintBitmap(target.x(), target.y(), target.width(), target.height(), QImage()), -1);
    ASSERT_TRUE(report.EndDocument());
    const QImage page = test::PdfPage(path, 1, kRenderDpi);
    const QRect onPage = test::ReportLayoutOfPdf().frontFrame;
    EXPECT_LT(test::RegionDifference(page, kRenderDpi, onPage, picture.copy(leftHalf)), kSamePicture);
    EXPECT_GT(test::RegionDifference(page, kRenderDpi, onPage, picture), 2 * kSamePicture);
}

TEST_F(ReportPrinterTest, OtherModelsPrintNoTitles)
{
    ReportInput input = EnglishInput();
    input.model = 1;
    const QString pdf = Print(input);
    const QString text = test::PdfText(pdf);
    EXPECT_FALSE(text.contains("ZQ481K")) << text.toStdString();
    EXPECT_EQ(text.count("2026-03-04 05:06:07"), 2);
    EXPECT_TRUE(text.contains("Page 1 of 2"));
    EXPECT_TRUE(text.contains("Page 2 of 2"));
    EXPECT_TRUE(text.contains("1. Video"));
    EXPECT_TRUE(text.contains("3. G-Sensor Information"));
}

TEST_F(ReportPrinterTest, WithoutLanguageTableOnlyHeaderFooterAndTitle)
{
    ReportInput input = EnglishInput();
    input.texts = ReportTexts::FromTable(nullptr);
    const QString pdf = Print(input);
    const QString page1 = test::PdfText(pdf, 1);
    EXPECT_TRUE(page1.contains("ZQ481K Report"));
    EXPECT_TRUE(page1.contains("Page 1 of 2"));
    EXPECT_FALSE(page1.contains("1."));
    const QString page2 = test::PdfText(pdf, 2);
    EXPECT_TRUE(page2.contains("Page 2 of 2"));
    EXPECT_FALSE(page2.contains("2."));
    EXPECT_FALSE(page2.contains(" : "));
    const test::PdfReportLayout layout = test::ReportLayoutOfPdf();
    EXPECT_GT(test::WhiteShare(test::PdfPage(pdf, 1, kRenderDpi), kRenderDpi, layout.frontFrame), 0.99);
}

TEST_F(ReportPrinterTest, AFileThatCannotBeWrittenIsReportedAndAnEarlierOneReplaced)
{
    QString error;
    EXPECT_FALSE(PrintReportToPdf(m_folder.filePath("missing/report.pdf"), EnglishInput(), &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(PrintReportToPdf(m_folder.path(), EnglishInput(), &error));
    EXPECT_FALSE(error.isEmpty());

    const QString path = m_folder.filePath("kept.pdf");
    ASSERT_TRUE(test::writeFile(path, "an earlier report"));
    Print(EnglishInput(), "kept.pdf");
    EXPECT_TRUE(test::readFile(path).startsWith("%PDF"));
    // Nothing but the report is left in the folder.
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "kept.pdf" });
}

/// Answers the next print dialog: accept or cancel it once it is shown.
void AnswerPrintDialog(bool accept)
{
    QTimer::singleShot(50, [accept] {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                accept ? dialog->accept() : dialog->reject();
                return;
            }
            QApplication::processEvents();
        }
        ADD_FAILURE() << "no print dialog appeared";
    });
}

TEST_F(ReportPrinterTest, ThePrintDialogCanPrintToAFileOrBeCancelled)
{
    int collected = 0;
    auto collect = [&collected] {
        ++collected;
        return EnglishInput();
    };
    AnswerPrintDialog(false);
    EXPECT_EQ(PrintWithDialog(nullptr, collect), PrintOutcome::Cancelled);
    EXPECT_EQ(collected, 0);

    // The dialog offers the file the printer was last set to, as it does after an earlier print to file.
    ReportPrinter report;
    const QString path = m_folder.filePath("dialog.pdf");
    report.printer()->setOutputFormat(QPrinter::PdfFormat);
    report.printer()->setOutputFileName(path);
    AnswerPrintDialog(true);
    ASSERT_EQ(report.ChoosePrinter(), 0);
    EXPECT_EQ(report.printer()->outputFormat(), QPrinter::PdfFormat);
    ASSERT_TRUE(PrintReport(report, collect()));
    EXPECT_TRUE(test::PdfText(path, 2).contains("Page 2 of 2"));
}

} // namespace
} // namespace zq
