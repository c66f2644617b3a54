#pragma once

#include "exchange/ImportLimits.h"
#include "plu/CPluRows.h"
#include "plu/PluLayout.h"

#include <QString>

#include <vector>

// How Import reads a file, chosen by the last four characters of its path with ASCII letters folded
// to one case: ".CSV" is comma-separated text, ".XLS" an .xls workbook, ".ODS" an OpenDocument
// spreadsheet, and every other ending (".xlsx" among them) an .xlsx workbook.
enum class EImportRoute
{
    Text,
    Xls,
    Xlsx,
    Ods,
};

EImportRoute ImportRouteFor(const QString& path);

// The last characters of a path with the ASCII letters a-z turned to capitals, for comparing endings.
QString AsciiUpperEnding(const QString& path, int length);

// A file read into table rows, ready to replace the table's rows.
struct SImportResult
{
    bool ok = false;
    QString error;                          // when not ok: the message for the user, naming the file and the reason
    int columnCount = -1;                   // the file's column count; -1 when a text file has no first line
    EPluMode pluMode = EPluMode::Pricing;   // the layout the file was read for
    ELimitMode limitMode = ELimitMode::Off; // the limits the file asks for, for which the rows are laid out
    // The rows' texts by table column (Sr.No. left to the row's position and the Quantity pricing
    // column to the row's mark), and the mark; no entry row. The layout's columns give every cell its
    // editor.
    std::vector<SPluRow> rows;
};

// Reads the whole file for a table in the given layout. The header (first line or row) is not
// imported; its field count (at most 20) or the sheet's column extent decides the limits setting.
// A text file without a first line keeps the current limits setting. A file beyond the limits is
// refused with a message that names the bound.
SImportResult ReadImportFile(const QString& path, EPluMode mode, ELimitMode limitMode,
                             const SImportLimits& limits = SImportLimits());

// The field count of a text file's first line that Import uses at most.
constexpr int kMaxTextColumns = 20;
