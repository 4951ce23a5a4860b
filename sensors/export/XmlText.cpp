#include "XmlText.h"

namespace zq {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool AllowedBmp(char16_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || (c >= 0x20 && c < 0xD800) || (c >= 0xE000 && c < 0xFFFE);
}

} // namespace

QString XmlText(const QString& text)
{
    QString result = text;
    const qsizetype size = result.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = result.at(i);
        if (c.isHighSurrogate() && i + 1 < size && result.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (!AllowedBmp(c.unicode()))
            result[i] = QChar(kReplacement);
    }
    return result;
}

QString DegreesText(double degrees)
{
    return QString::number(degrees, 'f', 7);
}

} // namespace zq
