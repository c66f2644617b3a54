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

} // namespace TextNumbers
