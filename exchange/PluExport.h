#pragma once

#include "exchange/Workbook.h"

#include <QString>
#include <QStringView>
#include <QVector>

#include <vector>

class CPluTable;

// Where Export writes: a path ending in ".XLSX" (ASCII letters folded) as .xlsx; one ending in ".XLS"
// as .xls; any other path gets ".xls" appended (table -> table.xls, table.csv -> table.csv.xls).
struct SExportTarget
{
    QString path;
    EWorkbookFormat format = EWorkbookFormat::Xls;
};

SExportTarget ExportTargetFor(const QString& chosenPath);

// The texts a file holds for the rows of the table, in file order: the exported columns, a check mark
// as "1" or "0" (nothing in a row that holds nothing else, such as the entry row). The header row is
// the same with the column titles. The texts are the table's own, not copies: a row's stay valid until
// the next row is asked for or the table changes.
class CExportedRows
{
public:
    explicit CExportedRows(const CPluTable& table);

    const std::vector<QStringView>& Header() const { return m_header; }
    const std::vector<QStringView>& Row(int row);
    // The same into texts of the caller's, for several threads at once.
    void Row(int row, std::vector<QStringView>& texts) const;

private:
    const CPluTable& m_table;
    std::vector<int> m_columns;
    int m_checkAt = -1; // the check column's place among the exported columns
    QVector<QString> m_titles;
    std::vector<QStringView> m_header;
    std::vector<QStringView> m_texts;
};

struct SExportResult
{
    bool ok = false;
    QString error; // when not ok: the message for the user, naming the file and the reason
};

// Writes the table to a one-sheet workbook "Sheet1": the header row with the table's column titles
// (cut to 39 characters), then every row, entry row included, as text cells in the file's column
// order (Sr.No. is not written; a check mark is written "1" or "0"; empty cells stay empty, and so
// does the mark of an empty row).
// The file is written beside the target under a temporary name, checked, and only then renamed over
// the target, so a failed export leaves an existing file as it was. A table with more rows than the
// format's sheet holds is refused before anything is written.
SExportResult ExportTable(const CPluTable& table, const SExportTarget& target);
