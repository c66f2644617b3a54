#pragma once

#include <QLocale>
#include <QString>

// Languages are named by Windows locale identifiers (LCIDs), the values the settings store keeps.
namespace Language {

constexpr int kEnglishUnitedStates = 1033;
constexpr int kSimplifiedChinese = 2052;
constexpr int kTraditionalChineseHongKong = 3076;

// The language in force, from the stored `Language` value and the system locale's LCID
// (0 when the system locale has none): a stored LCID that is known forces its language,
// 0 chooses the system locale when it is one of the supported ones and English otherwise,
// and anything else (-1 on a first run) keeps the system's language.
int ChooseLanguage(int storedLanguage, int systemLcid);

// Whether the automatic choice (stored value 0) keeps this system locale.
bool IsSupportedForAutomaticChoice(int lcid);

// Whether the LCID names a language or locale that the program knows.
bool IsKnownLcid(int lcid);

// "de_CH", "de-CH" or "de_CH.UTF-8" -> 2055; a language alone, or with a region not listed here,
// gives the language's main locale ("de" -> 1031, "zh" -> 2052, "zh_Hant" -> 1028); 0 when the
// language has no LCID here ("C").
int LcidFromLocaleName(const QString& localeName);

// The locale name of the user's language: the first entry of LANGUAGE, else LC_ALL, LC_MESSAGES,
// LANG, else QLocale::system().
QString SystemLocaleName();
// Its LCID; 0 when unknown.
int SystemLcid();

// The 8-bit code page of a language: 936 Simplified Chinese, 950 Traditional Chinese, 1252 otherwise.
int AnsiCodePage(int lcid);

// The process-wide language in force, fixed at start-up before any window or text exists.
void SetLanguageInForce(int lcid);
int LanguageInForce();

// The language of the program's messages (failure reasons, warnings, questions): the language in force, unless set
// apart. The command line sets English, since scripts read its messages, while its tables and code pages keep the
// user's language. 0 follows the language in force again.
void SetMessageLanguage(int lcid);
int MessageLanguage();
// The locale that writes the numbers of messages.
QLocale MessageLocale();

} // namespace Language
