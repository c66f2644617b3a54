#pragma once

#include <QString>
#include <QStringView>

// An .xlsx cell text holds, as "_xHHHH_" (four hex digits of a UTF-16 code unit), the characters that
// XML cannot hold: control characters other than tab, LF and CR, U+FFFE, U+FFFF and halves of
// surrogate pairs. A text that itself reads like such an escape keeps its underscore as "_x005F_".

// Whether the text holds anything that must be escaped; most texts hold nothing.
bool NeedsXlsxEscaping(QStringView text);
// The text as a cell of an .xlsx sheet holds it.
QString EscapeXlsxText(QStringView text);
// Whether the text holds anything that reads as an escape.
bool HasXlsxEscape(QStringView text);
// The text that a cell holds, its escapes undone.
QString UnescapeXlsxText(QStringView text);
