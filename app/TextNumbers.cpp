#include "app/TextNumbers.h"

#include <charconv>
#include <limits>
#include <string>

namespace TextNumbers {
namespace {

bool IsSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || (u >= u'\t' && u <= u'\r');
}

bool IsDigit(QStringView text, qsizetype i)
{
    return i < text.size() && text[i].unicode() >= u'0' && text[i].unicode() <= u'9';
}

qsizetype SkipSpace(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return i;
}

} // namespace

qint64 ReadLeadingInteger(QStringView text)
{
    qsizetype i = SkipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    quint64 magnitude = 0;
    constexpr quint64 kLimit = quint64(std::numeric_limits<qint64>::max());
    for (; IsDigit(text, i); ++i) {
        magnitude = magnitude * 10 + quint64(text[i].unicode() - u'0');
        if (magnitude > kLimit + 1) {
            magnitude = kLimit + 1;
            while (IsDigit(text, i + 1))
                ++i;
        }
    }
    if (negative)
        return magnitude > kLimit ? std::numeric_limits<qint64>::min() : -qint64(magnitude);
    return magnitude > kLimit ? std::numeric_limits<qint64>::max() : qint64(magnitude);
}

double ReadLeadingDecimal(QStringView text)
{
    qsizetype i = SkipSpace(text);
    std::string number;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-'))
            number += '-';
        ++i;
    }
    bool anyDigit = false;
    for (; IsDigit(text, i); ++i, anyDigit = true)
        number += char(text[i].unicode());
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        number += '.';
        for (++i; IsDigit(text, i); ++i, anyDigit = true)
            number += char(text[i].unicode());
    }
    if (!anyDigit)
        return 0.0;
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) {
            exponent += char(text[j].unicode());
            ++j;
        }
        if (IsDigit(text, j)) {
            for (; IsDigit(text, j); ++j)
                exponent += char(text[j].unicode());
            number += exponent;
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large: the sign decides; too small: zero.
        const bool huge = number.find('e') != std::string::npos && number.find("e-") == std::string::npos;
        if (huge || number.find('e') == std::string::npos)
            return number[0] == '-' ? -std::numeric_limits<double>::infinity()
                                    : std::numeric_limits<double>::infinity();
        return 0.0;
    }
    return value;
}

} // namespace TextNumbers
