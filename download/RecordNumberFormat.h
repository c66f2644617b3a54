#pragma once

#include <QByteArray>

// The number fields of a PLU record, printed without any locale: the decimal point is always ".".
namespace RecordNumberFormat {

enum EValueLayout
{
    kPricingValue, // up to 2 decimals
    kCountingValue // up to 4 decimals
};

// The decimals that the magnitude of a unit price or unit weight allows: the larger the value,
// the fewer decimals. Pricing: above 1000000 none, above 100000 one, else two. Counting adds
// three above 1000 and four up to 1000.
int DecimalsForMagnitude(double value, EValueLayout layout);

// The 8-byte value field: right-aligned, space-padded, with the decimals for its magnitude, or
// fewer when rounding makes the text wider than 8 (999.99995 in counting gives "1000.000").
// Empty when the value does not fit even without decimals (99999999.5 and above) or is not finite.
QByteArray ValueField(double value, EValueLayout layout);

// The 8-byte Hi or Lo field: the value with six decimals, cut to its first 8 characters
// (2.5 gives "2.500000", -1 gives "-1.00000"). Empty when the cut would lose integer digits
// (123456789, -12345678) or the value is not finite.
QByteArray LimitField(double value);

// The value with the given number of decimals, correctly rounded from its binary value and
// right-aligned in at least width characters, as printf's "%*.*f" prints it in the C locale.
QByteArray Fixed(double value, int decimals, int width = 0);

} // namespace RecordNumberFormat
