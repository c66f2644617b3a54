#pragma once

#include <cstddef>
#include <string_view>

// The XML parser stops the whole program (an assertion) on a numeric character reference whose value
// lies outside Unicode, such as "&#x110000;" or "&#-1;", instead of reporting a malformed part. Parts
// of a workbook are therefore checked before they are parsed.
//
// The offset of the first "&#" that does not start a well-formed reference to a Unicode code point
// ("&#" decimal digits ";" or "&#x" hexadecimal digits ";", at most U+10FFFF); npos when there is none.
std::size_t FindInvalidCharacterReference(std::string_view xml);
