#pragma once

#include "exchange/CWorkbookWriter.h"

struct lxw_workbook;
struct lxw_worksheet;

// Writes an .xlsx workbook with libxlsxwriter in its constant-memory mode: each row goes to a
// temporary file as soon as the next row starts, so a large table needs little memory, and strings
// are stored inline in the sheet. Characters that XML cannot hold are written as escapes, so that every
// text reads back as it was and other programs open the file.
class CXlsxWriter final : public CWorkbookWriter
{
public:
    explicit CXlsxWriter(const QString& path);
    ~CXlsxWriter() override;
    CXlsxWriter(const CXlsxWriter&) = delete;
    CXlsxWriter& operator=(const CXlsxWriter&) = delete;

    bool AddSheet(const QString& name) override;
    bool Save() override;

private:
    bool HasSheet() const override { return m_sheet != nullptr; }
    bool WriteCellText(int row, int column, QStringView text) override;

    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_sheet = nullptr;
};
