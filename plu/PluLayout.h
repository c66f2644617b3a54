#pragma once

#include <QtGlobal>

#include <vector>

// The two layouts of the PLU table; settings store them as 0 and 1.
enum class EPluMode
{
    Pricing = 0,
    Counting = 1,
};

// Whether the counting layout carries the Hi and Lo limits; settings store it as 0 and 1.
enum class ELimitMode
{
    Off = 0,
    On = 1,
};

// What a field of a PLU row holds, which decides how a file's number cell becomes its text and how the
// scale's record carries it.
enum class EFieldKind
{
    Integer,
    Decimal,
    Text,
    Check, // a check mark, "1" or "0" in files and records
};

// Which field a column is, for the code that treats one field apart (the record's numbers, the limits).
enum class EPluField
{
    SrNo,
    PluNo,
    UnitValue, // Unit price when pricing, Unit weight when counting
    GoodsId,
    GoodsName,
    Specification,
    Remark,
    ExpirationDays,
    QuantityPricing,
    Hi,
    Lo,
};

// One column of a layout: the grid shows it, Import and Export read and write it, and the scale's
// record carries it.
struct SPluField
{
    EPluField field;
    unsigned titleId; // string ID of the column title
    int width;        // pixels
    int sortType;     // EColumnSortType
    EFieldKind kind;
    bool exported;    // Export writes it, and Import reads it from the same place
    int recordOffset; // -1 when the record does not carry it
    int recordWidth;  // bytes in the record
    int codeUnits;    // text fields: the UTF-16 code units of the cell the record takes at most
};

namespace PluLayout {

// Column indexes shared by both layouts.
constexpr int kSrNoColumn = 0;
constexpr int kPluNoColumn = 1;
constexpr int kValueColumn = 2; // unit price or unit weight

// The layout's columns, in index order.
const std::vector<SPluField>& Fields(EPluMode mode, ELimitMode limits);
int ColumnCount(EPluMode mode, ELimitMode limits);
// The column of a field, -1 when the layout has none.
int ColumnOf(EPluMode mode, ELimitMode limits, EPluField field);
// The column of the check mark, -1 when the layout has none.
int CheckColumn(EPluMode mode);

// The columns Export writes and Import reads, in file order (file column k holds table column k+1).
std::vector<int> ExportedColumns(EPluMode mode, ELimitMode limits);
// The limits a file asks for: on exactly when the table counts and the file has as many columns as the
// counting layout with limits exports.
ELimitMode WantedLimitMode(EPluMode mode, int fileColumnCount);

// The record's length in bytes, line end included.
int RecordSize(EPluMode mode, ELimitMode limits);

// The layouts as settings store them: anything but 0 counts (a stored mode), anything but 1 leaves the
// limits off.
EPluMode PluModeFromSetting(int value);
ELimitMode LimitModeFromSetting(int value);
int SettingOf(EPluMode mode);
int SettingOf(ELimitMode limits);

} // namespace PluLayout
