#pragma once

#include "exchange/Workbook.h"

#include <vector>

// The cells of one sheet that hold a value, kept by row, for readers that load a whole sheet.
class CSheetCells
{
public:
    void Clear();
    void Set(int row, int column, SWorkbookCell cell);
    // One past the last row and column that hold a value.
    int LastRow() const { return int(m_rows.size()); }
    int LastCol() const { return m_lastCol; }
    SWorkbookCell Cell(int row, int column) const;

private:
    std::vector<std::vector<SWorkbookCell>> m_rows;
    int m_lastCol = 0;
};
