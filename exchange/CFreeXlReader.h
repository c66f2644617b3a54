#pragma once

#include "exchange/CSheetCells.h"
#include "exchange/Workbook.h"

// Reads the first sheet of an .xls (BIFF) workbook with FreeXL. The cells are copied out and FreeXL's
// own copy is released before the rows are built.
//
// The used range is FreeXL's sheet dimensions, taken from the sheet's DIMENSIONS record: the row and
// column counts, which are one past the last used row and column. Dates and times come as text.
class CFreeXlReader final : public IWorkbookReader
{
public:
    bool Load(const QString& path) override;
    QString ErrorString() const override { return m_error; }
    int LastRow() const override { return m_rows; }
    int LastCol() const override { return m_columns; }
    SWorkbookCell Cell(int row, int column) const override { return m_cells.Cell(row, column); }

private:
    CSheetCells m_cells;
    int m_rows = 0;
    int m_columns = 0;
    QString m_error;
};
