#pragma once

#include "exchange/CSheetCells.h"
#include "exchange/Workbook.h"

// Reads the first sheet of an OpenDocument spreadsheet through liborcus's document model.
//
// The used range is the document model's data range: LastRow and LastCol are one past its last row
// and column.
class COdsReader final : public IWorkbookReader
{
public:
    explicit COdsReader(const SImportLimits& limits = SImportLimits());

    bool Load(const QString& path) override;
    QString ErrorString() const override { return m_error; }
    int LastRow() const override { return m_cells.LastRow(); }
    int LastCol() const override { return m_cells.LastCol(); }
    SWorkbookCell Cell(int row, int column) const override { return m_cells.Cell(row, column); }

private:
    SImportLimits m_limits;
    CSheetCells m_cells;
    QString m_error;
};
