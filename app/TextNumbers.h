#pragma once

#include <QStringView>
#include <QtGlobal>

// Numbers read from cell texts the way the scale's records and the grid's sorting read them:
// no locale applies, the decimal point is always ".", leading white space and one sign are
// accepted, and reading stops at the first character that does not fit.
namespace TextNumbers {

// "7abc" -> 7, "abc" -> 0, " -12" -> -12. Saturates at the 64-bit limits.
qint64 ReadLeadingInteger(QStringView text);

// "2.5kg" -> 2.5, "1,5" -> 1, "1e3" -> 1000, "abc" -> 0.
double ReadLeadingDecimal(QStringView text);

// How a cell that goes to the scale reads: a number, no number at all, or a number that can be
// read two ways.
enum class ECellReading
{
    Number,
    NotANumber,
    Ambiguous
};

struct SIntegerCell
{
    ECellReading reading = ECellReading::NotANumber;
    qint64 value = 0;
};

struct SDecimalCell
{
    ECellReading reading = ECellReading::NotANumber;
    double value = 0.0;
};

// An integer cell of a record (PLU No., Expiration(Days)): leading digits as ReadLeadingInteger reads
// them ("7abc" -> 7); a text without leading digits ("abc", "A12", "-") is not a number.
SIntegerCell ReadIntegerCell(QStringView text);

// A decimal cell of a record (Unit price, Unit weight, Hi, Lo). As ReadLeadingDecimal, and a comma
// directly after the integer digits and followed by digits is a decimal comma, as many interfaces
// write it ("3,5" -> 3.5, "1,2345" -> 1.2345). A text that others would read differently is
// ambiguous: exactly three digits after a comma ("1,234", "1,234,567": a thousands separator to
// some), or a separator and digits right after a three-digit fraction ("1.234,5", "1.234.567": points
// that separate thousands). An integer part of zeros separates no thousands ("0,250" -> 0.25).
// A text without digits before its exponent or unit ("abc", ",5", ".") is not a number.
SDecimalCell ReadDecimalCell(QStringView text);

} // namespace TextNumbers
