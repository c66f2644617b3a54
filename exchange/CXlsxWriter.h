#pragma once

#include "exchange/Workbook.h"

struct lxw_workbook;
struct lxw_worksheet;

// Writes an .xlsx workbook with libxlsxwriter in its constant-memory mode: each row goes to a
// temporary file as soon as the next row starts, so a large table needs little memory, and strings
// are stored inline in the sheet.
class CXlsxWriter final : public IWorkbookWriter
{
public:
    explicit CXlsxWriter(const QString& path);
    ~CXlsxWriter() override;
    CXlsxWriter(const CXlsxWriter&) = delete;
    CXlsxWriter& operator=(const CXlsxWriter&) = delete;

    bool AddSheet(const QString& name) override;
    bool WriteText(int row, int column, QStringView text) override;
    bool Save() override;
    QString ErrorString() const override { return m_error; }

private:
    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    QString m_error;
};
