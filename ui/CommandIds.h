#pragma once

// The window's commands, as the toolbar, its menus and the grid send them.
namespace CommandId {
constexpr int Import = 20001;
constexpr int Export = 20002;
constexpr int Download = 20003;
constexpr int Setting = 20004;
constexpr int Language = 20005;
constexpr int New = 20006;
constexpr int Add = 20007;
constexpr int Delete = 20008;
constexpr int LanguageChineseSimplified = 20010;
constexpr int LanguageChineseTraditional = 20011;
constexpr int LanguageEnglish = 20012;
constexpr int LanguageSpanish = 20013;
constexpr int LanguageItalian = 20014;
constexpr int LanguageFrench = 20015;
constexpr int LanguageGerman = 20016;
constexpr int Pricing = 20020;
constexpr int Counting = 20021;
constexpr int Lim = 20022;
constexpr int TransferSettings = 20023;
constexpr int TransferLog = 20024;
constexpr int About = 16;
} // namespace CommandId
