#include "app/TextNumbers.h"

#include <QString>

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

bool IsSign(QStringView text, qsizetype i)
{
    return i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'));
}

bool IsSeparator(QStringView text, qsizetype i)
{
    return i < text.size() && (text[i] == QLatin1Char('.') || text[i] == QLatin1Char(','));
}

qsizetype SkipDigits(QStringView text, qsizetype i)
{
    while (IsDigit(text, i))
        ++i;
    return i;
}

// Whether the digits of text[begin, end) are all zeros (an integer part that cannot hold thousands).
bool AllZeros(QStringView text, qsizetype begin, qsizetype end)
{
    for (qsizetype i = begin; i < end; ++i) {
        if (text[i] != QLatin1Char('0'))
            return false;
    }
    return true;
}

// Whether the separator at i, with the integer digits [integerBegin, i) before it, can also be read as
// a separator of thousands.
bool SeparatesThousands(QStringView text, qsizetype integerBegin, qsizetype i)
{
    const qsizetype fractionEnd = SkipDigits(text, i + 1);
    if (fractionEnd - (i + 1) != 3 || AllZeros(text, integerBegin, i))
        return false;
    if (text[i] == QLatin1Char(','))
        return true;
    // A point followed by three digits is a decimal point, unless another separator and digits follow.
    return IsSeparator(text, fractionEnd) && IsDigit(text, fractionEnd + 1);
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

SIntegerCell ReadIntegerCell(QStringView text)
{
    qsizetype i = SkipSpace(text);
    if (IsSign(text, i))
        ++i;
    SIntegerCell cell;
    if (!IsDigit(text, i))
        return cell;
    cell.reading = ECellReading::Number;
    cell.value = ReadLeadingInteger(text);
    return cell;
}

SDecimalCell ReadDecimalCell(QStringView text)
{
    qsizetype i = SkipSpace(text);
    const qsizetype numberBegin = i;
    if (IsSign(text, i))
        ++i;
    const qsizetype integerBegin = i;
    i = SkipDigits(text, i);
    const bool integerDigits = i > integerBegin;
    SDecimalCell cell;
    if (integerDigits && IsSeparator(text, i) && SeparatesThousands(text, integerBegin, i)) {
        cell.reading = ECellReading::Ambiguous;
        return cell;
    }
    if (integerDigits && text.mid(i).startsWith(QLatin1Char(',')) && IsDigit(text, i + 1)) {
        // The same number with a point, and what follows it, read as every other cell is read.
        QString withPoint = text.mid(numberBegin).toString();
        withPoint[i - numberBegin] = QLatin1Char('.');
        cell.reading = ECellReading::Number;
        cell.value = ReadLeadingDecimal(withPoint);
        return cell;
    }
    const bool fractionDigits = text.mid(i).startsWith(QLatin1Char('.')) && IsDigit(text, i + 1);
    if (!integerDigits && !fractionDigits)
        return cell;
    cell.reading = ECellReading::Number;
    cell.value = ReadLeadingDecimal(text);
    return cell;
}

} // namespace TextNumbers
