#include "exchange/PluFileLayout.h"

#include "grid/GridRecords.h"

#include <charconv>
#include <cmath>

namespace PluFileLayout {
namespace {

constexpr int kMaxTitleLength = 39;

// Wide enough for every finite double written in full ("%f" of 1e308 has 309 digits before the point).
constexpr int kNumberBufferSize = 400;

QString FixedText(double value, int precision)
{
    char buffer[kNumberBufferSize];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return QString();
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

} // namespace

QString SixDecimals(double value)
{
    if (!std::isfinite(value))
        return QString();
    return FixedText(value, 6);
}

QString TruncatedInteger(double value)
{
    if (!std::isfinite(value))
        return QString();
    const double whole = std::trunc(value);
    if (whole == 0)
        return QStringLiteral("0"); // never "-0"
    return FixedText(whole, 0);
}

QString NumberCellText(double value, bool decimalColumn)
{
    return decimalColumn ? SixDecimals(value) : TruncatedInteger(value);
}

QStringView CheckFileText(QStringView cellText)
{
    return cellText == CheckedMark() ? QStringView(u"1") : QStringView(u"0");
}

bool QuantityPricingChecked(QStringView text)
{
    // The table's own unchecked mark, and the words for false that spreadsheet programs write into text
    // files in the program's languages (German Excel writes FALSCH, French FAUX, Spanish and Italian FALSO).
    static const QStringView kUnchecked[] = {u"0", u"false", u"no", u"\u00D7", u"falsch", u"faux", u"falso"};
    text = text.trimmed();
    if (text.isEmpty())
        return false;
    for (const QStringView unchecked : kUnchecked) {
        if (text.compare(unchecked, Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

bool QuantityPricingChecked(double value)
{
    return std::isfinite(value) ? std::trunc(value) != 0 : false;
}

QString HeaderTitle(const QString& title)
{
    if (title.size() <= kMaxTitleLength)
        return title;
    int length = kMaxTitleLength;
    if (title[length - 1].isHighSurrogate())
        --length;
    return title.left(length);
}

} // namespace PluFileLayout
