#pragma once

#include "CMemDC2.h"
#include "CMemoryDC.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

// Drawing primitives that every skinned control shares. Skin images are Qt resources compiled into the
// program: ":/skin/bmp/<id>.bmp" and ":/skin/png/<id>.png", addressed by 16-bit identifier (0 = no image).
// Every primitive fails silently: a missing image leaves the destination as it was.
namespace zq {

/// 1 when a bitmap of that identifier exists, else 2 when a PNG exists, else 0. The bitmap wins.
int GetSkinResourceKind(int id);

/// The bitmap or PNG image of an identifier (null image when there is none).
QImage LoadSkinBitmap(int id);
QImage LoadSkinPng(int id);

/// Copies the bitmap to (x, y, width, height) from source (0, 0) without scaling; with `transparent`,
/// pixels of colour `colorKey` are left out.
void DrawBitmap(QPainter& painter, int id, int x, int y, int width, int height, bool transparent = false,
    QRgb colorKey = 0);
/// As DrawBitmap, from source offset (sourceX, sourceY): cuts caps and tiles out of a strip image.
void DrawBitmapPart(QPainter& painter, int id, int x, int y, int width, int height, int sourceX, int sourceY,
    bool transparent = false, QRgb colorKey = 0);
/// Draws the source rectangle of the bitmap smoothly scaled into the destination rectangle.
void DrawBitmapStretched(QPainter& painter, int id, int x, int y, int width, int height, int sourceX,
    int sourceY, int sourceWidth, int sourceHeight);
/// Draws the PNG at (0, 0) of the painter's coordinates at its natural size, with alpha.
void DrawPngResource(QPainter& painter, int id);

/// Chooses where skin images come from: a resource root such as ":/skin" (the default) or a folder with the
/// same "bmp/" and "png/" layout. False for empty, which leaves the controls without images.
bool SetSkinResourceInstance(const QString& resourceRoot);
/// The current resource root.
QString SkinResourceInstance();

/// The largest identifier a skin image can have: identifiers are 16-bit.
constexpr int kMaxSkinImageId = 0xFFFF;

} // namespace zq
