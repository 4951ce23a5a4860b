#pragma once

#include "ReportInput.h"

#include <QFont>
#include <QPainter>
#include <QRect>
#include <memory>

class QPrinter;
class QWidget;

namespace zq {

/// Draws the two-page report on a printer. The layout is given in whole percentages of the printable area
/// (W and H, device pixels) and text sizes in device units, so the printer is set to a fixed resolution
/// and the report looks the same on every printer and in a PDF file.
class ReportPrinter {
public:
    /// Text sizes are device pixels (size 20 is 100 pixels high). At 600 dpi every line of the layout fits
    /// its place on A4 and Letter; at 300 dpi the print date and the G-sensor line run past the right edge
    /// and lines 2 % apart overlap.
    static constexpr int kDotsPerInch = 600;
    /// A text of size s is 5 * s device pixels high (ascent plus descent).
    static constexpr int kPixelsPerTextSize = 5;
    /// The one face of the report, and the face with its metrics that Linux has in its place.
    static constexpr const char* kTextFace = "Arial";
    static constexpr const char* kTextFaceInstead = "Liberation Sans";
    /// Faces for the scripts the text face lacks: one face per text, since the system's own choice glyph by
    /// glyph mixes two faces in one word (a Korean face has some Chinese characters, not all).
    static constexpr const char* kHangulFace = "NanumGothic";
    static constexpr const char* kHanFace = "WenQuanYi Micro Hei";

    /// Draws on a printer of its own (high resolution, the system's default printer).
    ReportPrinter();
    /// Draws on printer, which the caller owns and keeps alive.
    explicit ReportPrinter(QPrinter* printer);
    ~ReportPrinter();
    ReportPrinter(const ReportPrinter&) = delete;
    ReportPrinter& operator=(const ReportPrinter&) = delete;

    QPrinter* printer() const { return m_printer; }

    /// Runs the print dialog (printing to a PDF file stays available): 0 when confirmed, -1 on Cancel.
    int ChoosePrinter(QWidget* parent = nullptr);
    /// Starts the print job under documentName and reads W and H; false when the printer cannot be
    /// opened (a PDF file that cannot be written, a printer that went away).
    bool BeginDocument(const QString& documentName);
    /// Ends the print job; false when it failed.
    bool EndDocument();

    /// The frames, values and texts the pages print.
    void SetInput(const ReportInput& input) { m_input = input; }
    const ReportInput& input() const { return m_input; }

    void SelectTextFont(const QString& face, int size);
    /// Draws text with its top-left corner at (x, y), in the report's face at size, and selects the
    /// previous font back.
    void PrintText(int x, int y, const QString& text, int size);
    /// Stretches bitmap (or its source part) over the rectangle; -1 when the bitmap is empty.
    int PrintBitmap(int x, int y, int width, int height, const QImage& bitmap, const QRect& source = QRect());
    void PrintHeader(int model);
    void PrintFooter(int page, int model);
    void PrintPage1(int model);
    void PrintPage2(int model);

    /// The printable area in device pixels, read by BeginDocument.
    int PageWidth() const { return m_width; }
    int PageHeight() const { return m_height; }
    /// Where the pages put the pictures, in device pixels.
    QRect FrontFrameRect() const;
    QRect RearFrameRect() const;
    QRect MapPictureRect() const;

    /// The pixel size of the face whose ascent plus descent is 5 * size device pixels.
    static int TextPixelSize(const QString& face, int size);

private:
    int X(int percent) const { return m_width * percent / 100; }
    int Y(int percent) const { return m_height * percent / 100; }
    /// A page ends when the next one starts or the document ends.
    void StartPage();

    std::unique_ptr<QPrinter> m_ownPrinter;
    QPrinter* m_printer = nullptr;
    QPainter m_painter;
    QFont m_textFont;
    int m_width = 0;
    int m_height = 0;
    int m_pagesStarted = 0;
    ReportInput m_input;
};

} // namespace zq
