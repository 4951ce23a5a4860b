#include "CRkSpeedCtrl.h"

#include "SkinDraw.h"
#include "SpeedGlyph.h"

#include <QPainter>

namespace zq {

namespace {
// Shown only where the background bitmap is missing.
const QColor kFallbackFill(10, 10, 10);
// The digit and point bitmaps are white where the background shows through.
constexpr QRgb kGlyphColourKey = qRgb(255, 255, 255);
} // namespace

CRkSpeedCtrl::CRkSpeedCtrl(QWidget* parent)
    : CRkWindow(parent)
{
}

bool CRkSpeedCtrl::Create(QWidget* parent, int id, int x, int y, int width, int height)
{
    return CreateWindow(parent, QStringLiteral("RkSpeedWnd"), id, x, y, width, height);
}

void CRkSpeedCtrl::SetSpeed(double speed, bool repaintNow)
{
    m_speed = speed;
    if (repaintNow)
        repaint();
}

void CRkSpeedCtrl::SetSpeedInMiles(bool miles)
{
    m_speedInMiles = miles;
    update();
}

int CRkSpeedCtrl::BackgroundId() const
{
    return m_speedInMiles ? SpeedGlyph::kBackgroundMphId : SpeedGlyph::kBackgroundKmhId;
}

QImage CRkSpeedCtrl::Render() const
{
    QImage image(size(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(kFallbackFill);
    QPainter painter(&image);
    const QSize backgroundSize = LoadSkinBitmap(BackgroundId()).size();
    DrawBitmapStretched(painter, BackgroundId(), 0, 0, width(), height(), 0, 0, backgroundSize.width(),
        backgroundSize.height());
    for (const SpeedGlyph& glyph : SpeedGlyph::ForSpeed(m_speed)) {
        const int glyphWidth = glyph.IsPoint() ? SpeedGlyph::kPointWidthPx : SpeedGlyph::kDigitWidthPx;
        DrawBitmap(painter, glyph.imageId, glyph.x, SpeedGlyph::kTopPx, glyphWidth, SpeedGlyph::kHeightPx,
            true, kGlyphColourKey);
    }
    return image;
}

void CRkSpeedCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}

} // namespace zq
