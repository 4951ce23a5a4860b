#include "CSkinHeaderCtrl.h"

#include "SkinDraw.h"

#include <QFont>
#include <QPaintEvent>
#include <QPainter>

namespace zq {

namespace {

constexpr QRgb kItemColor = qRgb(30, 30, 30);
constexpr QRgb kTextColor = qRgb(255, 255, 255);
constexpr int kTextDropPx = 3;
constexpr int kFontPixelSize = 13;
constexpr int kMaxTitleLength = 255;
constexpr int kHeaderHeightPx = 20;

} // namespace

CSkinHeaderCtrl::CSkinHeaderCtrl(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    QFont font(QStringLiteral("돋움"));
    font.setPixelSize(kFontPixelSize);
    font.setWeight(QFont::Normal);
    setFont(font);
    setSectionsClickable(false);
    setHighlightSections(false);
    // The area right of the last item shows the same flat colour.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(kItemColor));
    colours.setColor(QPalette::Button, QColor(kItemColor));
    setPalette(colours);
    setAutoFillBackground(true);
    setFixedHeight(kHeaderHeightPx);
}

void CSkinHeaderCtrl::paintEvent(QPaintEvent* event)
{
    QPainter target(viewport());
    {
        CMemDC2 dc(&target, viewport()->rect());
        dc.fillRect(viewport()->rect(), QColor(kItemColor));
        for (int visual = 0; visual < count(); ++visual) {
            const int logical = logicalIndex(visual);
            if (isSectionHidden(logical))
                continue;
            const QRect item(sectionViewportPosition(logical), 0, sectionSize(logical), viewport()->height());
            if (item.intersects(event->rect()))
                paintSection(&dc, item, logical);
        }
    }
}

void CSkinHeaderCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    painter->fillRect(rect, QColor(kItemColor));
    const QString title = model()
        ? model()->headerData(logicalIndex, orientation()).toString().left(kMaxTitleLength)
        : QString();
    painter->setFont(font());
    painter->setPen(QColor(kTextColor));
    QRect textRect = rect;
    textRect.setTop(textRect.top() + kTextDropPx);
    const bool leftAligned = logicalIndex == 0 || logicalIndex == 3;
    const Qt::Alignment alignment = (leftAligned ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop;
    painter->setClipRect(rect);
    painter->drawText(textRect, int(alignment) | Qt::TextSingleLine, title);
    painter->restore();
}

} // namespace zq
