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
// The download's record of each row, its settings and its log.
constexpr unsigned TransferAcknowledged = 300;
constexpr unsigned TransferRefused = 301;
constexpr unsigned TransferNoAnswer = 302;
constexpr unsigned TransferNotSent = 303;
constexpr unsigned TransferMenu = 304;
constexpr unsigned TransferLogMenu = 305;
constexpr unsigned TransferRetries = 306;
constexpr unsigned TransferTimeout = 307;
constexpr unsigned Milliseconds = 308;
constexpr unsigned ResumeQuestion = 309;
constexpr unsigned ResumeContinue = 310;
constexpr unsigned ResumeFromFirst = 311;
constexpr unsigned TransferLogNotCreated = 312;
constexpr unsigned TransferLogNotOpened = 313;
} // namespace StringId

// The text of a string ID in the given language (an LCID): the table of that exact language,
// else of its primary language, else English. An ID without text gives the empty string.
QString LoadString(unsigned id, int lcid);

// The same in the language in force (Language::LanguageInForce()).
QString LoadString(unsigned id);
