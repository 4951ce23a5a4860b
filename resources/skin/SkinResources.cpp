#include "SkinResources.h"

#include <QFile>

namespace zq {

QString SkinResourcePath(const SkinImage& image)
{
    return image.kind == SkinKind::Png ? QStringLiteral(":/skin/png/%1.png").arg(image.id)
                                       : QStringLiteral(":/skin/bmp/%1.bmp").arg(image.id);
}

bool SkinResourcesPresent()
{
    for (const SkinImage& image : SkinImages())
        if (!QFile::exists(SkinResourcePath(image)))
            return false;
    return true;
}

} // namespace zq
