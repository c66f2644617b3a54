#pragma once

#include <QString>

// String IDs of the program's own texts.
namespace StringId {
constexpr unsigned AboutMenu = 101;
constexpr unsigned Import = 102;
constexpr unsigned Export = 103;
constexpr unsigned Download = 104;
constexpr unsigned Setting = 105;
constexpr unsigned Language = 106;
constexpr unsigned Pricing = 107;
constexpr unsigned Counting = 108;
constexpr unsigned SrNo = 109;
constexpr unsigned PluNo = 110;
constexpr unsigned UnitWeight = 111;
constexpr unsigned GoodsId = 112;
constexpr unsigned GoodsName = 113;
constexpr unsigned Specification = 114;
constexpr unsigned Remark = 115;
constexpr unsigned ExpirationDays = 116;
constexpr unsigned QuantityPricing = 117;
constexpr unsigned Hi = 118;
constexpr unsigned Lo = 119;
constexpr unsigned UnitPrice = 120;
constexpr unsigned New = 121;
constexpr unsigned Add = 122;
constexpr unsigned Delete = 123;
constexpr unsigned Unselected = 124;
constexpr unsigned Lim = 125;
constexpr unsigned NotExportedNew = 126;
constexpr unsigned NoData = 128;
constexpr unsigned Success = 129;
constexpr unsigned NotExportedQuit = 130;
constexpr unsigned RestartFailed = 131;
constexpr unsigned NotExportedModeChange = 132;
constexpr unsigned NotExportedImport = 133;
} // namespace StringId

// The text of a string ID in the given language (an LCID): the table of that exact language,
// else of its primary language, else English. An ID without text gives the empty string.
QString LoadString(unsigned id, int lcid);

// The same in the language in force (Language::LanguageInForce()).
QString LoadString(unsigned id);
