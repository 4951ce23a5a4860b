#include "SkinPreview.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <map>
#include <vector>

namespace zq::skin {
namespace {

class Board {
public:
    explicit Board(const std::vector<SkinGenerator::Rendered>& images)
    {
        for (const auto& r : images)
            m_images[r.image->id] = r.pixels;
    }

    QImage Get(int id) const
    {
        const auto it = m_images.find(id);
        return it == m_images.end() ? QImage() : it->second;
    }

    // The image with its key colour left out, as a colour-keyed copy draws it.
    QImage Keyed(int id, QRgb key) const
    {
        QImage out = Get(id).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                if ((out.pixel(x, y) & 0xffffff) == (key & 0xffffff))
                    out.setPixel(x, y, 0);
        return out;
    }

private:
    std::map<int, QImage> m_images;
};

const QColor kBack(10, 10, 10);

QImage TopBar(const Board& b)
{
    constexpr int kWidth = 560;
    QImage out(kWidth, 44, QImage::Format_RGB32);
    out.fill(kBack);
    QPainter p(&out);
    for (int x = 0; x < kWidth; x += 100)
        p.drawImage(x, 0, b.Get(1057));
    // Open, Capture (hover), Print (pressed), Zoom, layout, Setting, About (disabled stand-in: Zoom's).
    const int buttons[][2] = { { 9, 19101 }, { 53, 19113 }, { 97, 19132 }, { 141, 19124 }, { 185, 19151 },
        { 229, 19141 }, { 273, 19161 } };
    for (const auto& [x, id] : buttons)
        p.drawImage(x, 9, b.Get(id));
    p.drawImage(kWidth - 139, 9, b.Get(18101));
    p.drawImage(kWidth - 95, 9, b.Get(18113));
    p.drawImage(kWidth - 51, 9, b.Get(18123));
    return out;
}

void SimpleSlider(QPainter& p, const Board& b, int x, int y, double rate)
{
    constexpr int kWidth = 95, kHeight = 30;
    p.fillRect(x, y, kWidth, kHeight, QColor(30, 30, 30));
    p.drawImage(x + 15, y + (kHeight - 9) / 2, b.Get(1040));
    p.drawImage(x + 15 + int(rate * (66 - 11)), y + kHeight / 2 - 7, b.Keyed(1042, 0xff000000));
}

void SpeedDisplay(QPainter& p, const Board& b, int x, int y, double speed)
{
    const QImage back = b.Get(20011);
    p.drawImage(x, y, back);
    const int v = int(speed * 10);
    const QImage point = b.Keyed(20012, 0xffffffff);
    if (v <= 9) {
        p.drawImage(x + 44, y + 11, b.Keyed(20014, 0xffffffff));
        p.drawImage(x + 55, y + 11, point);
        p.drawImage(x + 60, y + 11, b.Keyed(20014 + v, 0xffffffff));
        return;
    }
    const QString digits = QString::asprintf("%4d", v);
    const int positions[4] = { 20, 32, 44, 60 };
    bool started = false;
    for (int i = 0; i < 4; ++i) {
        const QChar c = digits[i];
        if (!started && (c == QLatin1Char(' ') || c == QLatin1Char('0')))
            continue;
        started = true;
        p.drawImage(x + positions[i], y + 11, b.Keyed(20014 + c.digitValue(), 0xffffffff));
        p.drawImage(x + 55, y + 11, point);
    }
}

QImage PlaybackBar(const Board& b)
{
    constexpr int kWidth = 726, kTop = 14;
    QImage out(kWidth, 72, QImage::Format_RGB32);
    out.fill(kBack);
    QPainter p(&out);
    // The band that the main window frames around the speed display and the whole playback row.
    p.setPen(QColor(100, 100, 100));
    p.setBrush(QColor(30, 30, 30));
    p.drawRect(0, kTop - 3 - 10, kWidth - 1, 40 + 20 - 1);
    const int transport[][2]
        = { { 22, 19171 }, { 61, 19182 }, { 100, 19193 }, { 139, 19201 }, { 178, 19214 } };
    for (const auto& [x, id] : transport)
        p.drawImage(x, kTop, b.Get(id));
    p.drawImage(227, kTop + 4, b.Get(19221));
    SimpleSlider(p, b, 252, kTop + 2, 0.5);
    p.drawImage(350, kTop + 4, b.Get(19232));
    SimpleSlider(p, b, 375, kTop + 2, 0.8);
    p.drawImage(473, kTop + 4, b.Get(19243));
    p.drawImage(512, kTop + 4, b.Get(20001));
    p.drawImage(QPoint(512, kTop + 4), b.Get(20002), QRect(0, 0, 70 / 10 * 6, 24));
    SpeedDisplay(p, b, 592, kTop - 3, 52.34);
    return out;
}

QImage PositionSlider(const Board& b, int width, double played)
{
    QImage out(width, 30, QImage::Format_RGB32);
    out.fill(kBack);
    QPainter p(&out);
    const int w = width - 30, h = 10;
    QImage channel(w, h, QImage::Format_RGB32);
    {
        QPainter c(&channel);
        const QImage strip = b.Get(1034);
        for (int x = 0; x <= w; x += 10)
            c.drawImage(QPoint(x, 0), strip, QRect(10, 0, 10, h));
        c.drawImage(QPoint(0, 0), strip, QRect(0, 0, 10, h));
        c.drawImage(QPoint(w - 10, 0), strip, QRect(537, 0, 10, h));
        const QImage tile = b.Get(1055);
        const int band = int(played * w);
        for (int x = 0; x < band; x += 3)
            c.drawImage(QPoint(x, 1), tile, QRect(0, 0, std::min(3, band - x), 7));
    }
    p.drawImage(15, 10, channel);
    p.drawImage(15 + int(played * w) - 5, 4, b.Get(1036));
    return out;
}

QImage ScrollBar(const Board& b, int height, int thumbTop)
{
    QImage out(18, height, QImage::Format_RGB32);
    out.fill(QColor(74, 82, 107));
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(0, 0, b.Get(162));
    p.drawImage(0, 18, b.Get(163));
    p.drawImage(QRect(0, 36, 18, height - 36), b.Get(164));
    p.drawImage(0, height - 36, b.Get(165));
    p.drawImage(1, height - 18, b.Get(166));
    p.drawImage(0, thumbTop, b.Get(167));
    return out;
}

QImage WordButtons(const Board& b)
{
    QImage out(300, 64, QImage::Format_RGB32);
    out.fill(QColor(20, 20, 20));
    QPainter p(&out);
    const int categories[][2] = { { 0, 173 }, { 46, 178 }, { 92, 175 }, { 138, 183 } };
    for (const auto& [x, id] : categories)
        p.drawImage(6 + x, 6, b.Get(id));
    p.fillRect(0, 34, 300, 30, kBack);
    const int channels[][2] = { { 93, 185 }, { 146, 186 }, { 199, 188 } };
    for (const auto& [x, id] : channels)
        p.drawImage(x, 40, b.Get(id));
    p.drawImage(0, 40, b.Get(1337));
    return out;
}

QImage MapPanel(const Board& b, int id)
{
    QImage out(276, 203, QImage::Format_RGB32);
    out.fill(QColor(51, 51, 51));
    QPainter p(&out);
    const QImage panel = b.Get(id);
    p.drawImage((out.width() - panel.width()) / 2, (out.height() - panel.height()) / 2, panel);
    return out;
}

QImage AboutBox(const Board& b, int language)
{
    QImage out(291, 160, QImage::Format_RGB32);
    out.fill(kBack);
    QPainter p(&out);
    p.drawImage(0, 0, b.Get(language == 0 ? 194 : 1092));
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(40, 65, QStringLiteral("ZQ481K Viewer"));
    p.drawText(40, 95, QStringLiteral("Version 1.0.1 (Build 57)"));
    p.drawImage(105, 118, b.Get(1336));
    p.drawImage(198, 118, b.Get(language == 0 ? 192 : 1095));
    return out;
}

} // namespace

QImage SkinPreview::Build(const std::vector<SkinGenerator::Rendered>& images)
{
    const Board b(images);
    const QImage parts[] = { TopBar(b), PlaybackBar(b), PositionSlider(b, 400, 0.45), WordButtons(b),
        ScrollBar(b, 203, 80), MapPanel(b, 191), MapPanel(b, 1141), AboutBox(b, 0), AboutBox(b, 1) };
    // Flowed into rows no wider than the contact sheet.
    constexpr int kGap = 12;
    constexpr int kMaxWidth = 1780;
    std::vector<QPoint> at;
    int x = 0, y = 0, rowHeight = 0, width = 0;
    for (const QImage& part : parts) {
        if (x > 0 && x + part.width() > kMaxWidth) {
            x = 0;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        at.push_back(QPoint(x, y));
        x += part.width() + kGap;
        width = std::max(width, x - kGap);
        rowHeight = std::max(rowHeight, part.height());
    }
    QImage out(width, y + rowHeight, QImage::Format_RGB32);
    out.fill(QColor(72, 74, 80));
    QPainter p(&out);
    for (size_t i = 0; i < at.size(); ++i)
        p.drawImage(at[i], parts[i]);
    return out;
}

} // namespace zq::skin
