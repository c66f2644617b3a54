#pragma once

#include "exchange/Workbook.h"

#include <QString>

class CGridModel;

// Where Export writes: a path ending in ".XLSX" (ASCII letters folded) as .xlsx; one ending in ".XLS"
// as .xls; any other path gets ".xls" appended (table -> table.xls, table.csv -> table.csv.xls).
struct SExportTarget
{
    QString path;
    EWorkbookFormat format = EWorkbookFormat::Xls;
};

SExportTarget ExportTargetFor(const QString& chosenPath);

struct SExportResult
{
    bool ok = false;
    QString error; // when not ok: the message for the user, naming the file and the reason
};

// Writes the table to a one-sheet workbook "Sheet1": the header row with the grid's column titles
// (cut to 39 characters), then every row, entry row included, as text cells in the file's column
// order (Sr.No. and the pricing layout's Quantity pricing are not written; empty cells stay empty).
// The file is written beside the target under a temporary name, checked, and only then renamed over
// the target, so a failed export leaves an existing file as it was. A table with more rows than the
// format's sheet holds is refused before anything is written.
SExportResult ExportTable(const CGridModel& grid, int pluMode, int limitMode, const SExportTarget& target);
