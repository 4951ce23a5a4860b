#include "SkinDraw.h"

#include <QFile>

namespace zq {

namespace {

QString& ResourceRoot()
{
    static QString root = QStringLiteral(":/skin");
    return root;
}

bool ValidId(int id)
{
    return id > 0 && id <= kMaxSkinImageId;
}

QString BitmapPath(int id)
{
    return ResourceRoot() + QStringLiteral("/bmp/%1.bmp").arg(id);
}

QString PngPath(int id)
{
    return ResourceRoot() + QStringLiteral("/png/%1.png").arg(id);
}

bool SameRgb(QRgb a, QRgb b)
{
    return qRed(a) == qRed(b) && qGreen(a) == qGreen(b) && qBlue(a) == qBlue(b);
}

// The part of the bitmap with the colour key made fully transparent.
QImage KeyedOut(const QImage& bitmap, const QRect& part, QRgb colorKey)
{
    QImage keyed = bitmap.copy(part).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if (SameRgb(line[x], colorKey))
                line[x] = 0;
        }
    }
    return keyed;
}

} // namespace

int GetSkinResourceKind(int id)
{
    if (!ValidId(id) || ResourceRoot().isEmpty())
        return 0;
    if (QFile::exists(BitmapPath(id)))
        return 1;
    if (QFile::exists(PngPath(id)))
        return 2;
    return 0;
}

QImage LoadSkinBitmap(int id)
{
    if (!ValidId(id) || ResourceRoot().isEmpty())
        return {};
    return QImage(BitmapPath(id), "BMP");
}

QImage LoadSkinPng(int id)
{
    if (!ValidId(id) || ResourceRoot().isEmpty())
        return {};
    return QImage(PngPath(id), "PNG");
}

void DrawBitmap(
    QPainter& painter, int id, int x, int y, int width, int height, bool transparent, QRgb colorKey)
{
    DrawBitmapPart(painter, id, x, y, width, height, 0, 0, transparent, colorKey);
}

void DrawBitmapPart(QPainter& painter, int id, int x, int y, int width, int height, int sourceX, int sourceY,
    bool transparent, QRgb colorKey)
{
    if (!painter.isActive() || width <= 0 || height <= 0)
        return;
    const QImage bitmap = LoadSkinBitmap(id);
    if (bitmap.isNull())
        return;
    // Only the part that the bitmap covers is drawn; the rest of the destination stays as it was.
    const QRect part = QRect(sourceX, sourceY, width, height).intersected(bitmap.rect());
    if (part.isEmpty())
        return;
    const QPoint at(x + part.left() - sourceX, y + part.top() - sourceY);
    if (transparent)
        painter.drawImage(at, KeyedOut(bitmap, part, colorKey));
    else
        painter.drawImage(at, bitmap, part);
}

void DrawBitmapStretched(QPainter& painter, int id, int x, int y, int width, int height, int sourceX,
    int sourceY, int sourceWidth, int sourceHeight)
{
    if (!painter.isActive() || width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return;
    const QImage bitmap = LoadSkinBitmap(id);
    if (bitmap.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRect(x, y, width, height), bitmap, QRect(sourceX, sourceY, sourceWidth, sourceHeight));
    painter.restore();
}

void DrawPngResource(QPainter& painter, int id)
{
    if (!painter.isActive())
        return;
    const QImage png = LoadSkinPng(id);
    if (png.isNull())
        return;
    painter.drawImage(QPoint(0, 0), png);
}

bool SetSkinResourceInstance(const QString& resourceRoot)
{
    QString root = resourceRoot;
    while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    ResourceRoot() = root;
    return !root.isEmpty();
}

QString SkinResourceInstance()
{
    return ResourceRoot();
}

} // namespace zq
