#pragma once

#include "exchange/CSheetCells.h"
#include "exchange/Workbook.h"

// Reads the first sheet of an .xlsx workbook with liborcus's zip archive and XML parser. The parts
// are found through the package's relationships, so absolute and relative part names both work, and
// cells hold shared strings, inline strings, numbers, booleans, formula results or errors.
//
// The used range is that of the cells that hold a value: LastRow is one past the highest row with
// such a cell, LastCol one past the highest column. A cell that only carries a format does not count.
class CXlsxReader final : public IWorkbookReader
{
public:
    explicit CXlsxReader(const SImportLimits& limits = SImportLimits());

    bool Load(const QString& path) override;
    QString ErrorString() const override { return m_error; }
    int LastRow() const override { return m_cells.LastRow(); }
    int LastCol() const override { return m_cells.LastCol(); }
    SWorkbookCell Cell(int row, int column) const override { return m_cells.Cell(row, column); }
    void ReadCell(int row, int column, SWorkbookCell& into) const override { m_cells.ReadCell(row, column, into); }

private:
    SImportLimits m_limits;
    CSheetCells m_cells;
    QString m_error;
};
