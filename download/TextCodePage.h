#pragma once

// The code page of the records' text fields, from the encoding selector's entry:
// 0 "default" follows the interface language (Traditional Chinese 950, Simplified Chinese 936,
// every other language UTF-8), 1 "GBK" 936, 2 "BIG5" 950, 3 "UTF-8" 65001; no entry (-1) gives 0,
// the 8-bit code page of the interface language.
int TextCodePageForEncoding(int encodingIndex, int languageLcid);
