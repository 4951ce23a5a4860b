#include "CMapStandInWnd.h"

#include "SkinDraw.h"
#include "SkinImageTable.h"

#include <QPainter>

namespace zq {

CMapStandInWnd::CMapStandInWnd(const char* className, int englishImageId, QWidget* parent)
    : CRkWindow(parent)
    , m_className(className)
    , m_englishImageId(englishImageId)
{
}

bool CMapStandInWnd::Create(QWidget* parent, int id, int x, int y, int width, int height)
{
    return CreateWindow(parent, QString::fromLatin1(m_className), id, x, y, width, height, false);
}

void CMapStandInWnd::SetLanguage(int language)
{
    m_language = language;
    update();
}

int CMapStandInWnd::ImageId() const
{
    return LanguageImageId(m_englishImageId, m_language);
}

QImage CMapStandInWnd::Render() const
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(QColor::fromRgb(kBackground));
    const QImage picture = LoadSkinPng(ImageId());
    if (!picture.isNull()) {
        QPainter painter(&image);
        painter.drawImage((width() - picture.width()) / 2, (height() - picture.height()) / 2, picture);
    }
    return image;
}

void CMapStandInWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}

} // namespace zq
