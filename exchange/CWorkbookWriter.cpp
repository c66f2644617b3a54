#include "exchange/CWorkbookWriter.h"

bool CWorkbookWriter::WriteText(int row, int column, QStringView text)
{
    if (!HasSheet())
        return false;
    if (text.isEmpty())
        return true;
    if (text.size() > kMaxCellTextLength) {
        m_error = CellTextTooLongError(row, column);
        return false;
    }
    return WriteCellText(row, column, text);
}
