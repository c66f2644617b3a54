#include "exchange/CSheetCells.h"

#include <algorithm>
#include <utility>

void CSheetCells::Clear()
{
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_lastCol = 0;
}

void CSheetCells::Set(int row, int column, SWorkbookCell cell)
{
    if (row < 0 || column < 0)
        return;
    if (size_t(row) >= m_rows.size())
        m_rows.resize(size_t(row) + 1);
    std::vector<SWorkbookCell>& cells = m_rows[size_t(row)];
    if (size_t(column) >= cells.size())
        cells.resize(size_t(column) + 1);
    cells[size_t(column)] = std::move(cell);
    m_lastCol = std::max(m_lastCol, column + 1);
}

SWorkbookCell CSheetCells::Cell(int row, int column) const
{
    if (row < 0 || column < 0 || size_t(row) >= m_rows.size())
        return SWorkbookCell();
    const std::vector<SWorkbookCell>& cells = m_rows[size_t(row)];
    return size_t(column) < cells.size() ? cells[size_t(column)] : SWorkbookCell();
}
