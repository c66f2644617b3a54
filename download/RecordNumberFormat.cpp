#include "download/RecordNumberFormat.h"

#include <charconv>
#include <cmath>

namespace RecordNumberFormat {
namespace {

constexpr int kFieldWidth = 8;
constexpr int kLimitDecimals = 6;

} // namespace

int DecimalsForMagnitude(double value, EValueLayout layout)
{
    if (value > 1000000.0)
        return 0;
    if (value > 100000.0)
        return 1;
    if (layout == kPricingValue || value > 10000.0)
        return 2;
    if (value > 1000.0)
        return 3;
    return 4;
}

QByteArray Fixed(double value, int decimals, int width)
{
    // Wide enough for the largest finite double printed in full with a few decimals.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return QByteArray();
    const int length = int(result.ptr - buffer);
    QByteArray text;
    if (length < width)
        text.fill(' ', width - length);
    text.append(buffer, length);
    return text;
}

QByteArray ValueField(double value, EValueLayout layout)
{
    if (!std::isfinite(value))
        return QByteArray();
    // Rounding can add a digit in front (999.99995 -> 1000.0000), so fewer decimals may be needed.
    for (int decimals = DecimalsForMagnitude(value, layout); decimals >= 0; --decimals) {
        const QByteArray text = Fixed(value, decimals, kFieldWidth);
        if (text.size() == kFieldWidth)
            return text;
    }
    return QByteArray();
}

QByteArray LimitField(double value)
{
    if (!std::isfinite(value))
        return QByteArray();
    const QByteArray text = Fixed(value, kLimitDecimals, kFieldWidth);
    // The cut may drop decimals and the point, never a digit of the integer part.
    const qsizetype point = text.indexOf('.');
    if (point < 0 || point > kFieldWidth)
        return QByteArray();
    return text.left(kFieldWidth);
}

} // namespace RecordNumberFormat
