#include "LeadingNumber.h"

#include <charconv>
#include <limits>

namespace zq {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

qsizetype SkipBlanks(QByteArrayView text)
{
    qsizetype pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

} // namespace

int LeadingInt(QByteArrayView text)
{
    qsizetype pos = SkipBlanks(text);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    long long value = 0;
    constexpr long long kLimit = std::numeric_limits<int>::max();
    for (; pos < text.size() && IsDigit(text[pos]); ++pos)
        value = qMin(value * 10 + (text[pos] - '0'), kLimit + 1);
    if (negative)
        return int(qMax(-value, -kLimit - 1));
    return int(qMin(value, kLimit));
}

double LeadingDouble(QByteArrayView text)
{
    qsizetype pos = SkipBlanks(text);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    // Take the longest prefix of the form digits [. digits] [e [sign] digits].
    const qsizetype start = pos;
    qsizetype digits = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos)
        ++digits;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        for (; pos < text.size() && IsDigit(text[pos]); ++pos)
            ++digits;
    }
    if (digits == 0)
        return 0.0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        qsizetype exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (exponent < text.size() && IsDigit(text[exponent])) {
            pos = exponent;
            while (pos < text.size() && IsDigit(text[pos]))
                ++pos;
        }
    }
    double value = 0.0;
    const char* first = text.data() + start;
    const auto [end, error] = std::from_chars(first, text.data() + pos, value, std::chars_format::general);
    if (error != std::errc() || end == first)
        return 0.0;
    return negative ? -value : value;
}

} // namespace zq
