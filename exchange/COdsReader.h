#pragma once

#include "exchange/CSheetCells.h"
#include "exchange/Workbook.h"

// Reads the first sheet of an OpenDocument spreadsheet from the package's content.xml. Rows and cells
// that the file stores once with a repeat count (as identical neighbours are stored) are read as the
// rows and cells they stand for; a cell holds a number, a boolean, text or a formula's stored result.
//
// The used range is that of the cells that hold a value: the empty rows and cells that spreadsheet
// programs repeat to the sheet's edge do not count.
class COdsReader final : public IWorkbookReader
{
public:
    explicit COdsReader(const SImportLimits& limits = SImportLimits());

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
