#pragma once

#include "exchange/Workbook.h"

// What every workbook writer does with a cell before its format has a say: no sheet, no cell; empty
// text leaves the cell empty; a text longer than a cell holds is refused, naming the cell.
class CWorkbookWriter : public IWorkbookWriter
{
public:
    bool WriteText(int row, int column, QStringView text) final;
    QString ErrorString() const final { return m_error; }

protected:
    virtual bool HasSheet() const = 0;
    // Writes a text of 1 to kMaxCellTextLength code units; false with m_error set.
    virtual bool WriteCellText(int row, int column, QStringView text) = 0;

    QString m_error;
};
