#pragma once

#include <QString>
#include <QStringView>

// How the PLU table's columns lie in an exchanged file: file column k holds table column k+1, and the
// table's column 0 (Sr.No.) is never in the file.
namespace PluFileLayout {

constexpr int kPricing = 0;
constexpr int kCounting = 1;

// The columns the table has in a layout: pricing 9, counting 6, or 8 with limits.
int TableColumnCount(int pluMode, int limitMode);

// The columns Export writes: pricing 7 (no Quantity pricing), counting 5, or 7 with limits.
int ExportColumnCount(int pluMode, int limitMode);

// The limits setting a file asks for: on exactly when the table counts and the file has 7 columns.
int WantedLimitMode(int pluMode, int fileColumnCount);

// Whether a table column holds a decimal number (Unit price or Unit weight; Hi and Lo when counting).
bool IsDecimalColumn(int pluMode, int tableColumn);

// Whether a table column is the pricing layout's Quantity pricing check.
bool IsQuantityPricingColumn(int pluMode, int tableColumn);

// A number cell of a workbook as table text: "%f" of the value in a decimal column (2.5 -> "2.500000"),
// otherwise the value truncated toward zero in full (12.9 -> "12", 4006381333931 -> "4006381333931").
QString NumberCellText(double value, bool decimalColumn);

QString SixDecimals(double value);
QString TruncatedInteger(double value);

// The quantity-pricing check of a text: unchecked when, trimmed and in any case, it is empty, "0",
// "false" (also as German, French, Spanish and Italian spreadsheets write it), "no" or "×"; checked otherwise.
bool QuantityPricingChecked(QStringView text);
// ... and of a number cell: checked when its value truncated toward zero is not 0.
bool QuantityPricingChecked(double value);

// A column title as the header row holds it: at most 39 characters, never half a surrogate pair.
QString HeaderTitle(const QString& title);

} // namespace PluFileLayout
