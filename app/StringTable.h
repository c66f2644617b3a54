#pragma once

#include <QList>
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

// Messages: failure reasons, warnings and their parts, built with the arguments %1, %2... in that language's order.
constexpr unsigned DownloadRowRejected = 140;
constexpr unsigned DownloadRowNotSent = 141;
constexpr unsigned DownloadRowRefused = 142;
constexpr unsigned DownloadDisconnected = 143;
constexpr unsigned DownloadNothingSendable = 144;
constexpr unsigned DownloadNoAnswer = 145;
constexpr unsigned DownloadShortWrite = 146;
constexpr unsigned CellBlank = 147;
constexpr unsigned CellNotANumber = 148;
constexpr unsigned CellAmbiguous = 149;
constexpr unsigned CellTextCutQuoted = 150;
constexpr unsigned CellTextCut = 151;
constexpr unsigned CellCharacterLacking = 152;
constexpr unsigned CellAbove = 153;
constexpr unsigned CellBelowZero = 154;
constexpr unsigned CellNotAboveZero = 155;
constexpr unsigned CellTooWide = 156;
constexpr unsigned CellSentAs = 157;
constexpr unsigned PluRepeated = 158;
constexpr unsigned PortNotChosen = 159;
constexpr unsigned PortLockedBy = 160;
constexpr unsigned PortInUseBy = 161;
constexpr unsigned PortInUse = 162;
constexpr unsigned PortModemManagerHint = 163;
constexpr unsigned PortBrlttyHint = 164;
constexpr unsigned PortPermissionDenied = 165;
constexpr unsigned PortPermissionGroup = 166;
constexpr unsigned PortGone = 167;
constexpr unsigned PortFailed = 168;
constexpr unsigned ConnectCheckAddress = 169;
constexpr unsigned ConnectRefused = 170;
constexpr unsigned ConnectUnreachable = 171;
constexpr unsigned ConnectNoAnswer = 172;
constexpr unsigned ConnectFailed = 173;
constexpr unsigned AddressNotTcp = 174;
constexpr unsigned HostNotResolved = 175;
constexpr unsigned ProcessUnnamed = 176;
constexpr unsigned ProcessNamed = 177;
constexpr unsigned SerialFailedOn = 178;
constexpr unsigned SerialFailed = 179;
constexpr unsigned SerialTakeExclusive = 180;
constexpr unsigned SerialSetBaudRate = 181;
constexpr unsigned SerialReadLineSettings = 182;
constexpr unsigned SerialSetLine = 183;
constexpr unsigned SerialFlushLine = 184;
constexpr unsigned SerialWriteClosedPort = 185;
constexpr unsigned SerialWrite = 186;
constexpr unsigned SerialWaitToWrite = 187;
constexpr unsigned SerialCreateWakeUp = 188;
constexpr unsigned SerialStartReceiveThread = 189;
constexpr unsigned SerialWriteClosedConnection = 190;
constexpr unsigned ImportCannotRead = 191;
constexpr unsigned ImportTooManyRows = 192;
constexpr unsigned ImportTooLarge = 193;
constexpr unsigned ImportUnclosedQuote = 194;
constexpr unsigned ExportCannotWrite = 195;
constexpr unsigned ExportTooManyRowsXls = 196;
constexpr unsigned ExportTooManyRows = 197;
constexpr unsigned ExportFolderHasName = 198;
constexpr unsigned ExportNoFolder = 199;
constexpr unsigned ExportIncomplete = 200;
constexpr unsigned ExportTypeUnwritable = 201;
constexpr unsigned CellTextTooLong = 202;
constexpr unsigned WriterWorkbookNotCreated = 203;
constexpr unsigned WriterSheetNotAdded = 204;
constexpr unsigned WriterCellFailed = 205;
constexpr unsigned WriterOneXlsSheet = 206;
constexpr unsigned WriterOutsideXlsSheet = 207;
constexpr unsigned WriterStreamNotCreated = 208;
constexpr unsigned UnknownError = 209;
constexpr unsigned ByteCount = 210;
constexpr unsigned KilobyteCount = 211;
constexpr unsigned MegabyteCount = 212;
constexpr unsigned GigabyteCount = 213;
constexpr unsigned MoreThan4Gigabytes = 214;
constexpr unsigned FileCannotOpen = 215;
constexpr unsigned FileCannotClose = 216;
constexpr unsigned FileReadError = 217;
constexpr unsigned FileWriteError = 218;
constexpr unsigned XlsUnreadable = 219;
constexpr unsigned XlsUnreadableBecause = 220;
constexpr unsigned XlsNotAWorkbook = 221;
constexpr unsigned XlsBeforeExcel97 = 222;
constexpr unsigned XlsNoWorkbook = 223;
constexpr unsigned XlsStreamClaims = 224;
constexpr unsigned XlsStreamUnreadable = 225;
constexpr unsigned XlsRecordPastEnd = 226;
constexpr unsigned XlsSharedStringsCut = 227;
constexpr unsigned XlsSharedStringCut = 228;
constexpr unsigned XlsSheetMisplaced = 229;
constexpr unsigned XlsSheetClaims = 230;
constexpr unsigned XlsCellTextPastRecord = 231;
constexpr unsigned WorkbookNoSheet = 232;
constexpr unsigned NotAWorkbook = 233;
constexpr unsigned NotAReadableWorkbook = 234;
constexpr unsigned NotAReadableWorkbookBecause = 235;
constexpr unsigned ZipDamaged = 236;
constexpr unsigned ZipNotAnArchive = 237;
constexpr unsigned ZipDamagedPlain = 238;
constexpr unsigned ZipDirectoryTooLarge = 239;
constexpr unsigned ZipPartClaimsMore = 240;
constexpr unsigned ZipPartOversized = 241;
constexpr unsigned ZipPartTooLarge = 242;
constexpr unsigned ZipUnpackerNotStarted = 243;
constexpr unsigned ZipPartUnpacksMore = 244;
constexpr unsigned ZipPartNotUnpacked = 245;
constexpr unsigned ZipPartUnpacksFewer = 246;
constexpr unsigned ZipPartHeaderMissing = 247;
constexpr unsigned ZipPartPastEnd = 248;
constexpr unsigned ZipStoredSizes = 249;
constexpr unsigned ZipPartChecksum = 250;
constexpr unsigned PartMissing = 251;
constexpr unsigned PartPackedUnknown = 252;
constexpr unsigned PartEmpty = 253;
constexpr unsigned XmlFaultAt = 254;
constexpr unsigned XmlNoEndingTag = 255;
constexpr unsigned XmlElementNotClosed = 256;
constexpr unsigned XmlUnclosedComment = 257;
constexpr unsigned XmlUnclosedCdata = 258;
constexpr unsigned XmlUnclosedInstruction = 259;
constexpr unsigned XmlUnclosedTag = 260;
constexpr unsigned XmlEndTagWithoutStart = 261;
constexpr unsigned XmlEndTagMismatch = 262;
constexpr unsigned XmlInternalSubset = 263;
constexpr unsigned XmlUnclosedAttribute = 264;
constexpr unsigned XmlMalformedReference = 265;
constexpr unsigned XmlReferenceToNul = 266;
constexpr unsigned XmlReferenceToSurrogate = 267;
constexpr unsigned XmlUndefinedEntity = 268;
constexpr unsigned SheetCellReferenceOutside = 269;
constexpr unsigned SheetCellReferenceMalformed = 270;
constexpr unsigned SheetRowNumberMalformed = 271;
constexpr unsigned SheetRowOutside = 272;
constexpr unsigned SheetCellOutside = 273;
constexpr unsigned PackageNoWorkbook = 274;
constexpr unsigned FirstSheetUnnamed = 275;
constexpr unsigned OdsMalformedRowRepeat = 276;
constexpr unsigned OdsMalformedCellRepeat = 277;
constexpr unsigned OdsMalformedSpaceCount = 278;
constexpr unsigned OdsSpaceRunTooLong = 279;
constexpr unsigned SystemPermissionDenied = 280;
constexpr unsigned SystemNoSuchFile = 281;
constexpr unsigned SystemNoSpace = 282;
constexpr unsigned SystemReadOnly = 283;
constexpr unsigned SystemIsFolder = 284;
constexpr unsigned SystemNotFolder = 285;
constexpr unsigned SystemInputOutput = 286;
constexpr unsigned SystemBusy = 287;
constexpr unsigned SystemNameTooLong = 288;
constexpr unsigned SystemQuota = 289;
constexpr unsigned SystemTooManyFiles = 290;
constexpr unsigned SystemNoDevice = 291;
constexpr unsigned SystemTimedOut = 292;
constexpr unsigned SystemConnectionClosed = 293;
constexpr unsigned AboutPurpose = 294;
constexpr unsigned DemoScaleFailed = 295;
constexpr unsigned DemoPortLabel = 296;
constexpr unsigned GridCopy = 297;
constexpr unsigned GridCopyWholeRow = 298;
constexpr unsigned GridPaste = 299;
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

// The same in the language in force (Language::LanguageInForce()): labels, titles, menus.
QString LoadString(unsigned id);

// The same in the language of messages (Language::MessageLanguage()): every failure reason, warning and question,
// together with the column titles and numbers they name.
QString MessageString(unsigned id);

// The language of the table that serves the LCID, as translation files name it: "en", "de", "es", "fr", "it",
// "zh_CN" or "zh_TW" (Hong Kong's texts are Taiwan's Traditional Chinese there).
QString StringTableLanguageName(int lcid);

// Whether the messages are in English (on the command line, or with English in force).
bool MessagesInEnglish();

// A whole number with the thousands grouped as the language of messages writes them: 1,048,576 or 1.048.576.
QString MessageNumber(qint64 number);

// Every ID that has text, in ascending order.
QList<unsigned> StringTableIds();
