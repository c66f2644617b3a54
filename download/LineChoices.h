#pragma once

#include <QStringList>

// The choices a download offers, the same in the window's selectors and on the command line.
namespace LineChoices {

// The baud rates, slowest first: "4800" to "115200". The stored BPS is an index into this list.
QStringList BaudRates();

// The text encodings of the records' text fields: "default", "GBK", "BIG5", "UTF-8". A download's
// encodingIndex is an index into this list (see TextCodePageForEncoding).
QStringList Encodings();

// The index of an encoding named without regard to ASCII case, "UTF8" taken for "UTF-8"; -1 for
// none.
int EncodingIndexOf(const QString& name);

} // namespace LineChoices
