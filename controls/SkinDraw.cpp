#include "SkinDraw.h"

#include <QFile>
#include <QHash>
#include <QMutex>

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

// The whole bitmap with the colour key made fully transparent.
QImage KeyedOut(const QImage& bitmap, QRgb colorKey)
{
    QImage keyed = bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if (SameRgb(line[x], colorKey))
                line[x] = 0;
        }
    }
    return keyed;
}

// Decoded images of the current resource root, so that a control repainting during playback does not
// decode its BMPs (and redo the colour key) each time. Only images that decoded are kept: a file that
// appears later is still found. SetSkinResourceInstance empties it.
enum class ImageKind : quint8 { Bitmap, KeyedBitmap, Png };

struct ImageKey {
    ImageKind kind;
    int id;
    QRgb colorKey; // KeyedBitmap only, alpha ignored
    bool operator==(const ImageKey&) const = default;
};

size_t qHash(const ImageKey& key, size_t seed = 0)
{
    return qHashMulti(seed, quint8(key.kind), key.id, key.colorKey);
}

struct ImageCache {
    QMutex mutex;
    QHash<ImageKey, QImage> images;
};

ImageCache& Cache()
{
    static ImageCache cache;
    return cache;
}

QImage DecodeImage(const ImageKey& key)
{
    if (key.kind == ImageKind::Png)
        return QImage(PngPath(key.id), "PNG");
    const QImage bitmap(BitmapPath(key.id), "BMP");
    if (key.kind == ImageKind::KeyedBitmap && !bitmap.isNull())
        return KeyedOut(bitmap, key.colorKey);
    return bitmap;
}

QImage CachedImage(ImageKind kind, int id, QRgb colorKey = 0)
{
    if (!ValidId(id) || ResourceRoot().isEmpty())
        return {};
    const ImageKey key { kind, id, kind == ImageKind::KeyedBitmap ? (colorKey & 0xFFFFFF) : 0 };
    ImageCache& cache = Cache();
    {
        QMutexLocker lock(&cache.mutex);
        const auto found = cache.images.constFind(key);
        if (found != cache.images.constEnd())
            return *found;
    }
    const QImage image = DecodeImage(key);
    if (!image.isNull()) {
        QMutexLocker lock(&cache.mutex);
        cache.images.insert(key, image);
    }
    return image;
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
    return CachedImage(ImageKind::Bitmap, id);
}

QImage LoadSkinPng(int id)
{
    return CachedImage(ImageKind::Png, id);
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
    const QImage bitmap
        = transparent ? CachedImage(ImageKind::KeyedBitmap, id, colorKey) : LoadSkinBitmap(id);
    if (bitmap.isNull())
        return;
    // Only the part that the bitmap covers is drawn; the rest of the destination stays as it was.
    const QRect part = QRect(sourceX, sourceY, width, height).intersected(bitmap.rect());
    if (part.isEmpty())
        return;
    painter.drawImage(QPoint(x + part.left() - sourceX, y + part.top() - sourceY), bitmap, part);
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
    {
        ImageCache& cache = Cache();
        QMutexLocker lock(&cache.mutex);
        cache.images.clear();
    }
    return !root.isEmpty();
}

QString SkinResourceInstance()
{
    return ResourceRoot();
}

} // namespace zq
