#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Conversion between the program's UTF-16 text and the 8-bit code pages that scales and older
// spreadsheet files use: 936 (GBK), 950 (Big5), 1252 (Western), 65001 (UTF-8), and any other
// Windows code page number that iconv knows as "CP<n>". Each thread opens a converter once per code
// page and keeps it, so that converting many short texts (the fields of 100,000 records) stays cheap.
namespace CodePage {

constexpr int kUtf8 = 65001;

// Whether the code page can be converted on this system.
bool IsSupported(int codePage);

// The text in the code page; a character the code page cannot represent becomes "?" (0x3F).
// An unsupported code page gives every non-ASCII character as "?".
QByteArray Encode(QStringView text, int codePage);

// The same, but at most maxBytes long and cut between characters, never inside one.
QByteArray EncodeLimited(QStringView text, int codePage, int maxBytes);

// EncodeLimited, telling also how much of the text went in and whether a character became "?".
struct SEncoded
{
    QByteArray bytes;
    qsizetype unitsEncoded = 0; // UTF-16 code units of text that the bytes hold
    bool replaced = false;      // a character the code page lacks went as "?"
};
SEncoded EncodeReported(QStringView text, int codePage, int maxBytes);

// The bytes as UTF-16; a byte sequence that is not valid in the code page becomes U+FFFD.
QString Decode(QByteArrayView bytes, int codePage);

// Whether the bytes are well-formed UTF-8.
bool IsValidUtf8(QByteArrayView bytes);

} // namespace CodePage
