#pragma once

#include "exchange/Workbook.h"

// Reads the first sheet of an .xls (BIFF) workbook with FreeXL.
//
// The used range is FreeXL's sheet dimensions, taken from the sheet's DIMENSIONS record: the row and
// column counts, which are one past the last used row and column. Dates and times come as text.
class CFreeXlReader final : public IWorkbookReader
{
public:
    CFreeXlReader() = default;
    ~CFreeXlReader() override;
    CFreeXlReader(const CFreeXlReader&) = delete;
    CFreeXlReader& operator=(const CFreeXlReader&) = delete;

    bool Load(const QString& path) override;
    QString ErrorString() const override { return m_error; }
    int LastRow() const override { return m_rows; }
    int LastCol() const override { return m_columns; }
    SWorkbookCell Cell(int row, int column) const override;

private:
    void Close();

    const void* m_handle = nullptr;
    int m_rows = 0;
    int m_columns = 0;
    QString m_error;
};
