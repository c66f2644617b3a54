#pragma once

#include <QString>
#include <QStringView>

// How the cells of an exchanged file become table texts and back. Which columns a file holds is the
// layout's (PluLayout::ExportedColumns): file column k holds table column k+1, and the table's column 0
// (Sr.No.) is never in the file.
namespace PluFileLayout {

// A number cell of a workbook as table text: "%f" of the value in a decimal column (2.5 -> "2.500000"),
// otherwise the value truncated toward zero in full (12.9 -> "12", 4006381333931 -> "4006381333931").
QString NumberCellText(double value, bool decimalColumn);

QString SixDecimals(double value);
QString TruncatedInteger(double value);

// What a check column's cell becomes in a file: "1" for a checked mark, "0" otherwise.
QStringView CheckFileText(QStringView cellText);

// The quantity-pricing check of a text: unchecked when, trimmed and in any case, it is empty, "0",
// "false" (also as German, French, Spanish and Italian spreadsheets write it), "no" or "×"; checked otherwise.
bool QuantityPricingChecked(QStringView text);
// ... and of a number cell: checked when its value truncated toward zero is not 0.
bool QuantityPricingChecked(double value);

// A column title as the header row holds it: at most 39 characters, never half a surrogate pair.
QString HeaderTitle(const QString& title);

} // namespace PluFileLayout
