#include "ReportPrinter.h"

#include "ReportFormat.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPrintDialog>
#include <QPrinter>
#include <cmath>

namespace zq {

namespace {

constexpr int kHeaderSize = 20;
constexpr int kTitleSize = 40;
constexpr int kSectionSize = 25;
constexpr int kItemSize = 20;
constexpr qreal kReferencePixelSize = 1000.0;

QFont ReportFont(const QString& face, int pixelSize)
{
    QFont font;
    // Qt tries the families in order for every glyph, so a named face that is not installed falls to the
    // next one rather than to whatever the system would pick for it.
    QStringList families { face };
    if (face == QLatin1String(ReportPrinter::kTextFace))
        families.append(QString::fromLatin1(ReportPrinter::kTextFaceInstead));
    font.setFamilies(families);
    font.setPixelSize(std::max(1, pixelSize));
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

/// The face for the glyphs of text that the text face lacks; empty when it needs none.
QString FallbackFace(const QString& text)
{
    bool han = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x1100 && u <= 0x11FF) || (u >= 0x3130 && u <= 0x318F) || (u >= 0xAC00 && u <= 0xD7AF))
            return QString::fromLatin1(ReportPrinter::kHangulFace);
        // Kana, CJK punctuation and ideographs, full-width forms.
        han = han || (u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF)
            || (u >= 0xFF00 && u <= 0xFFEF);
    }
    return han ? QString::fromLatin1(ReportPrinter::kHanFace) : QString();
}

} // namespace

ReportPrinter::ReportPrinter()
    : m_ownPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
    , m_printer(m_ownPrinter.get())
{
}

ReportPrinter::ReportPrinter(QPrinter* printer)
    : m_printer(printer)
{
}

ReportPrinter::~ReportPrinter()
{
    if (m_painter.isActive())
        m_painter.end();
}

int ReportPrinter::ChoosePrinter(QWidget* parent)
{
    QPrintDialog dialog(m_printer, parent);
    // The report is always the same two pages: there is nothing to select, only where to print.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted ? 0 : -1;
}

bool ReportPrinter::BeginDocument(const QString& documentName)
{
    if (m_painter.isActive())
        return false;
    m_printer->setDocName(documentName);
    m_printer->setResolution(kDotsPerInch);
    m_printer->setFullPage(false);
    m_pagesStarted = 0;
    if (!m_painter.begin(m_printer))
        return false;
    m_width = m_printer->width();
    m_height = m_printer->height();
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    m_painter.setPen(Qt::black);
    return true;
}

bool ReportPrinter::EndDocument()
{
    if (!m_painter.isActive())
        return false;
    return m_painter.end();
}

int ReportPrinter::TextPixelSize(const QString& face, int size)
{
    static QHash<QString, qreal> cellPerPixel;
    auto found = cellPerPixel.find(face);
    if (found == cellPerPixel.end()) {
        const QFontMetricsF metrics(ReportFont(face, int(kReferencePixelSize)));
        const qreal cell = metrics.ascent() + metrics.descent();
        found = cellPerPixel.insert(face, cell > 0 ? cell / kReferencePixelSize : 1.0);
    }
    return int(std::lround(kPixelsPerTextSize * size / found.value()));
}

void ReportPrinter::SelectTextFont(const QString& face, int size)
{
    m_textFont = ReportFont(face, TextPixelSize(face, size));
    if (m_painter.isActive())
        m_painter.setFont(m_textFont);
}

void ReportPrinter::PrintText(int x, int y, const QString& text, int size)
{
    if (!m_painter.isActive() || text.isEmpty())
        return;
    const QFont previous = m_painter.font();
    SelectTextFont(QString::fromLatin1(kTextFace), size);
    if (const QString fallback = FallbackFace(text); !fallback.isEmpty()) {
        QFont font = m_painter.font();
        font.setFamilies(font.families() << fallback);
        m_painter.setFont(font);
    }
    const QFontMetricsF metrics(m_painter.font(), m_printer);
    m_painter.drawText(QPointF(x, y + metrics.ascent()), text);
    m_painter.setFont(previous);
}

int ReportPrinter::PrintBitmap(int x, int y, int width, int height, const QImage& bitmap, const QRect& source)
{
    if (!m_painter.isActive() || bitmap.isNull() || width <= 0 || height <= 0)
        return -1;
    const QRect part = source.isNull() ? bitmap.rect() : source.intersected(bitmap.rect());
    if (part.isEmpty())
        return -1;
    m_painter.drawImage(QRect(x, y, width, height), bitmap, part);
    return 0;
}

void ReportPrinter::PrintHeader(int model)
{
    const QDateTime printed = m_input.printedAt.isValid() ? m_input.printedAt : QDateTime::currentDateTime();
    PrintText(X(5), Y(5), ReportHeaderTitle(model), kHeaderSize);
    PrintText(X(80), Y(5), ReportPrintDate(printed), kHeaderSize);
}

void ReportPrinter::PrintFooter(int page, int model)
{
    PrintText(X(5), Y(95), ReportHeaderTitle(model), kHeaderSize);
    PrintText(X(80), Y(95), ReportPageText(page), kHeaderSize);
}

QRect ReportPrinter::FrontFrameRect() const
{
    return QRect(X(20), Y(24), X(60), Y(26));
}

QRect ReportPrinter::RearFrameRect() const
{
    return QRect(X(20), Y(60), X(60), Y(26));
}

QRect ReportPrinter::MapPictureRect() const
{
    return QRect(X(20), Y(25), X(40), Y(20));
}

void ReportPrinter::StartPage()
{
    if (m_pagesStarted > 0)
        m_printer->newPage();
    ++m_pagesStarted;
}

void ReportPrinter::PrintPage1(int model)
{
    StartPage();
    PrintHeader(model);
    PrintText(X(30), Y(10), ReportTitle(model), kTitleSize);
    const ReportTexts& texts = m_input.texts;
    if (texts.available) {
        PrintText(X(5), Y(15), ReportSection(1, texts.video), kSectionSize);
        PrintText(X(8), Y(18), ReportItem(texts.capturedImages), kItemSize);
        PrintText(X(10), Y(20), ReportItem(texts.frontCamera), kItemSize);
        const QRect front = FrontFrameRect();
        PrintBitmap(front.x(), front.y(), front.width(), front.height(), m_input.frontFrame);
        if (m_input.channelCount == 2) {
            PrintText(X(10), Y(56), ReportItem(texts.rearCamera), kItemSize);
            const QRect rear = RearFrameRect();
            PrintBitmap(rear.x(), rear.y(), rear.width(), rear.height(), m_input.rearFrame);
        }
    }
    PrintFooter(1, model);
}

void ReportPrinter::PrintPage2(int model)
{
    StartPage();
    PrintHeader(model);
    const ReportTexts& texts = m_input.texts;
    const ReportValues& values = m_input.values;
    if (texts.available) {
        PrintText(X(5), Y(15), ReportSection(2, texts.gpsInformation), kSectionSize);
        PrintText(X(8), Y(18), ReportCoordinateLine(texts.latitude, values.latitude), kItemSize);
        PrintText(X(8), Y(20), ReportCoordinateLine(texts.longitude, values.longitude), kItemSize);
        PrintText(X(8), Y(22), texts.map, kItemSize);
        if (!m_input.mapPicture.isNull() && values.HasPosition()) {
            const QRect rect = MapPictureRect();
            // The whole client area is stretched into a picture of the printed size first.
            const QImage picture
                = m_input.mapPicture.scaled(rect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            PrintBitmap(rect.x(), rect.y(), rect.width(), rect.height(), picture);
        }
        PrintText(X(5), Y(50), ReportSection(3, texts.gsensorInformation), kSectionSize);
        PrintText(X(8), Y(53), texts.gsensorValues, kItemSize);
        PrintText(
            X(8), Y(56), ReportGsensorLine(texts.gsensorValues, values.x, values.y, values.z), kItemSize);
    }
    PrintFooter(2, model);
}

} // namespace zq
