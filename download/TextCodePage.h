#pragma once

#include <QByteArray>
#include <QStringView>

// The code page of the records' text fields, from the encoding selector's entry:
// 0 "default" follows the interface language (Traditional Chinese 950, Simplified Chinese 936,
// every other language UTF-8), 1 "GBK" 936, 2 "BIG5" 950, 3 "UTF-8" 65001; no entry (-1) gives 0,
// the 8-bit code page of the interface language.
int TextCodePageForEncoding(int encodingIndex, int languageLcid);

// The bytes of one text field of a record, and what the scale will not get as typed.
struct STextFieldBytes
{
    QByteArray bytes;     // at most the field's width; the caller pads with 0x00
    bool cut = false;     // the cell holds more than the field: more code units or more bytes
    bool lacking = false; // a character the code page lacks went as "?"
};

// The cell's first `units` UTF-16 code units in the code page, cut between characters to at most
// `width` bytes. Control characters (U+0000 to U+001F, U+007F) go as spaces: CR, LF and STX frame the
// record, and a line break typed into a spreadsheet cell must not end it.
STextFieldBytes EncodeTextField(QStringView cell, int units, int width, int codePage);
