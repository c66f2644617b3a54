#include "exchange/PluFileLayout.h"

#include <charconv>
#include <cmath>

namespace PluFileLayout {
namespace {

constexpr int kQuantityPricingColumn = 8;
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

int TableColumnCount(int pluMode, int limitMode)
{
    if (pluMode == kPricing)
        return 9;
    return limitMode ? 8 : 6;
}

int ExportColumnCount(int pluMode, int limitMode)
{
    if (pluMode == kPricing)
        return 7;
    return limitMode ? 7 : 5;
}

int WantedLimitMode(int pluMode, int fileColumnCount)
{
    return pluMode == kCounting && fileColumnCount == 7 ? 1 : 0;
}

bool IsDecimalColumn(int pluMode, int tableColumn)
{
    if (tableColumn == 2)
        return true;
    return pluMode == kCounting && (tableColumn == 6 || tableColumn == 7);
}

bool IsQuantityPricingColumn(int pluMode, int tableColumn)
{
    return pluMode == kPricing && tableColumn == kQuantityPricingColumn;
}

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
