#include "CRkTextCtrl.h"

#include "DotumFont.h"
#include "OptionFile.h"
#include "TextLookup.h"

#include <QFontMetrics>
#include <QPainter>
#include <optional>

namespace zq {

namespace {

const QColor kDefaultBackground(10, 10, 10);
const QColor kWhite(255, 255, 255);
const QColor kPositionGrey(200, 200, 200);
// The G-sensor values take the colours of their curves in the graph.
const QColor kAxisXColour(255, 100, 0);
const QColor kAxisYColour(255, 255, 0);
const QColor kAxisZColour(0, 255, 0);

constexpr int kLineFontPx = 13;
constexpr int kAboutFontPx = 15;
constexpr int kLoadingFontPx = 12;

constexpr QPoint kTimeOrigin(10, 2);
constexpr QPoint kRateOrigin(260, 2);
constexpr int kAxisTopPx = 3;
constexpr int kAxisXPx[3] = { 10, 110, 210 };
constexpr QPoint kCaptionOrigin(10, 3);
constexpr QPoint kPositionOrigin(3, 3);
constexpr int kListCaptionTopPx = 3;
// The list caption is centred by an estimate of the text's width, not by measuring it.
constexpr int kEstimatedCharWidthPx = 6;
constexpr int kLoadingLineTopPx[3] = { 3, 18, 33 };

constexpr int kTimeLabelText = 110;
constexpr int kRateLabelText = 111;
constexpr int kMapCaptionText = 126;
constexpr int kLatitudeText = 128;
constexpr int kLongitudeText = 129;
constexpr int kListCaptionText = 130;
constexpr int kSearchTexts[3] = { 276, 283, 284 };
constexpr int kNoticeTexts[3] = { 274, 281, 282 };

constexpr const char* kModelName = "ZQ481K";
constexpr const char* kVersionLine = "Version 1.0.1 (Build 57)";

constexpr int kAllTexts[] = { kTimeLabelText, kRateLabelText, kMapCaptionText, kLatitudeText, kLongitudeText,
    kListCaptionText, kSearchTexts[0], kSearchTexts[1], kSearchTexts[2], kNoticeTexts[0], kNoticeTexts[1],
    kNoticeTexts[2] };

} // namespace

QHash<int, QString> CRkTextCtrl::LanguageLabels()
{
    QHash<int, QString> labels;
    for (int id : kAllTexts) {
        QString text;
        // A loaded table that lacks the text gives an empty string, as a failed string load did on the
        // recorder's Windows viewer; without a table there is nothing to draw.
        if (LookupText(id, &text))
            labels.insert(id, text);
        else if (TheOptionFile().HasLanguageLibrary())
            labels.insert(id, QString());
    }
    return labels;
}

void CRkTextCtrl::SetLabels(const QHash<int, QString>& labels)
{
    m_labels = labels;
    update();
}

CRkTextCtrl::CRkTextCtrl(QWidget* parent)
    : CRkWindow(parent)
    , m_background(kDefaultBackground)
{
}

bool CRkTextCtrl::Create(QWidget* parent, int id, int x, int y, int width, int height)
{
    return CreateWindow(parent, QStringLiteral("RkTextWnd"), id, x, y, width, height);
}

void CRkTextCtrl::SetKind(int kind)
{
    m_kind = kind;
    update();
}

void CRkTextCtrl::SetBackground(const QColor& colour)
{
    m_background = colour;
    update();
}

void CRkTextCtrl::SetHasData(bool hasData)
{
    m_hasData = hasData;
    update();
}

void CRkTextCtrl::SetDuration(int durationMs)
{
    m_durationMs = durationMs;
    update();
}

void CRkTextCtrl::SetPosition(int positionMs)
{
    m_positionMs = positionMs;
    update();
}

void CRkTextCtrl::SetRate(float rate)
{
    m_rate = rate;
    update();
}

void CRkTextCtrl::SetAcceleration(double x, double y, double z)
{
    m_x = x;
    m_y = y;
    m_z = z;
    update();
}

void CRkTextCtrl::SetCoordinates(float latitudeDegrees, float longitudeDegrees)
{
    m_latitude = latitudeDegrees;
    m_longitude = longitudeDegrees;
    update();
}

int CRkTextCtrl::FontPixelHeight(int kind)
{
    switch (kind) {
    case kKindAboutTitle:
    case kKindAboutVersion:
        return kAboutFontPx;
    case kKindLoadingSearch:
    case kKindLoadingNotice:
        return kLoadingFontPx;
    default:
        return kLineFontPx;
    }
}

QVector<CRkTextCtrl::Run> CRkTextCtrl::Runs() const
{
    const auto LanguageText = [this](int id) -> std::optional<QString> {
        const auto found = m_labels.constFind(id);
        if (found == m_labels.cend())
            return std::nullopt;
        return *found;
    };
    QVector<Run> runs;
    switch (m_kind) {
    case kKindTimeAndRate: {
        const auto timeLabel = LanguageText(kTimeLabelText);
        const auto rateLabel = LanguageText(kRateLabelText);
        if (!timeLabel || !rateLabel)
            break;
        const int position = m_positionMs / 1000;
        const int duration = m_durationMs / 1000;
        runs.append({ kTimeOrigin, kWhite,
            *timeLabel
                + QString::asprintf("    %02d:%02d  /  %02d:%02d", position / 60, position % 60,
                    duration / 60, duration % 60) });
        runs.append({ kRateOrigin, kWhite, *rateLabel + QString::asprintf("   %.2f x", double(m_rate)) });
        break;
    }
    case kKindGsensor: {
        const char* const names[3] = { "X", "Y", "Z" };
        const double values[3] = { m_x, m_y, m_z };
        const QColor colours[3] = { kAxisXColour, kAxisYColour, kAxisZColour };
        for (int i = 0; i < 3; ++i) {
            const QString text = m_hasData ? QString::asprintf("%s:  %.6f", names[i], values[i])
                                           : QString::asprintf("%s:  -", names[i]);
            runs.append({ QPoint(kAxisXPx[i], kAxisTopPx), colours[i], text });
        }
        break;
    }
    case kKindMapCaption:
    case kKindMapDialogCaption:
        if (const auto caption = LanguageText(kMapCaptionText))
            runs.append({ kCaptionOrigin, kWhite, *caption });
        break;
    case kKindPosition:
    case kKindMapDialogPosition: {
        const auto latitude = LanguageText(kLatitudeText);
        const auto longitude = LanguageText(kLongitudeText);
        if (!latitude || !longitude)
            break;
        const double lat = m_latitude;
        const double lon = m_longitude;
        if (m_kind == kKindPosition)
            runs.append({ kPositionOrigin, kPositionGrey,
                *latitude + QString::asprintf(": %.6f  ", lat) + *longitude
                    + QString::asprintf(": %.6f", lon) });
        else
            runs.append({ kCaptionOrigin, kPositionGrey,
                *latitude + QString::asprintf(":  %.6f    ", lat) + *longitude
                    + QString::asprintf(":  %.6f", lon) });
        break;
    }
    case kKindListCaption:
        if (const auto caption = LanguageText(kListCaptionText)) {
            const int x = (width() - kEstimatedCharWidthPx * int(caption->size())) / 2;
            runs.append({ QPoint(x, kListCaptionTopPx), kWhite, *caption });
        }
        break;
    case kKindAboutTitle:
        runs.append({ kCaptionOrigin, kWhite, QString::asprintf("%s Viewer", kModelName) });
        break;
    case kKindAboutVersion:
        runs.append({ kCaptionOrigin, kWhite, QString::fromLatin1(kVersionLine) });
        break;
    case kKindLoadingSearch:
    case kKindLoadingNotice: {
        const int* ids = m_kind == kKindLoadingSearch ? kSearchTexts : kNoticeTexts;
        for (int i = 0; i < 3; ++i) {
            const auto line = LanguageText(ids[i]);
            if (!line) {
                runs.clear();
                break;
            }
            runs.append({ QPoint(kCaptionOrigin.x(), kLoadingLineTopPx[i]), kWhite, *line });
        }
        break;
    }
    default:
        break;
    }
    return runs;
}

QImage CRkTextCtrl::Render() const
{
    QImage image(size(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(m_background);
    const QVector<Run> runs = Runs();
    if (runs.isEmpty())
        return image;
    QPainter painter(&image);
    const QFont font = DotumFont(FontPixelHeight(m_kind));
    painter.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    for (const Run& run : runs) {
        painter.setPen(run.colour);
        painter.drawText(QPoint(run.origin.x(), run.origin.y() + ascent), run.text);
    }
    return image;
}

void CRkTextCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}

} // namespace zq
