#include "exchange/CFreeXlReader.h"

#include <QFile>

#include <freexl.h>

namespace {

QString FreeXlReason(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND: return QStringLiteral("the file cannot be read");
    case FREEXL_INSUFFICIENT_MEMORY: return QStringLiteral("not enough memory");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE: return QStringLiteral("not an .xls workbook");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND: return QStringLiteral("the file holds no workbook");
    case FREEXL_BIFF_ILLEGAL_SHEET_INDEX: return QStringLiteral("the workbook has no sheet");
    case FREEXL_INVALID_CHARACTER:
    case FREEXL_UNSUPPORTED_CHARSET: return QStringLiteral("text in an unsupported character set");
    default: return QStringLiteral("a damaged or unsupported .xls workbook (FreeXL error %1)").arg(code);
    }
}

// Closes a FreeXL handle with the scope.
class CFreeXlHandle
{
public:
    CFreeXlHandle() = default;
    ~CFreeXlHandle()
    {
        if (m_handle)
            freexl_close(m_handle);
    }
    CFreeXlHandle(const CFreeXlHandle&) = delete;
    CFreeXlHandle& operator=(const CFreeXlHandle&) = delete;

    const void** Address() { return &m_handle; }
    const void* Get() const { return m_handle; }

private:
    const void* m_handle = nullptr;
};

void CopyCell(const FreeXL_CellValue& value, int row, int column, CSheetCells& cells)
{
    switch (value.type) {
    case FREEXL_CELL_INT:
        cells.SetNumber(row, column, value.value.int_value);
        break;
    case FREEXL_CELL_DOUBLE:
        cells.SetNumber(row, column, value.value.double_value);
        break;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        if (value.value.text_value && *value.value.text_value)
            cells.SetText(row, column, value.value.text_value);
        break;
    default:
        break;
    }
}

} // namespace

bool CFreeXlReader::Load(const QString& path)
{
    m_cells.Clear();
    m_rows = m_columns = 0;
    m_error.clear();
    CFreeXlHandle handle;
    const QByteArray encodedPath = QFile::encodeName(path);
    int result = freexl_open(encodedPath.constData(), handle.Address());
    if (result == FREEXL_OK) {
        unsigned int sheets = 0;
        result = freexl_get_info(handle.Get(), FREEXL_BIFF_SHEET_COUNT, &sheets);
        if (result == FREEXL_OK && sheets == 0)
            result = FREEXL_BIFF_ILLEGAL_SHEET_INDEX;
    }
    if (result == FREEXL_OK)
        result = freexl_select_active_worksheet(handle.Get(), 0);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (result == FREEXL_OK)
        result = freexl_worksheet_dimensions(handle.Get(), &rows, &columns);
    if (result == FREEXL_OK)
        m_cells.Reserve(size_t(rows) * columns, size_t(rows) * columns * 16);
    for (unsigned int row = 0; result == FREEXL_OK && row < rows; ++row) {
        for (unsigned short column = 0; result == FREEXL_OK && column < columns; ++column) {
            FreeXL_CellValue value;
            result = freexl_get_cell_value(handle.Get(), row, column, &value);
            if (result == FREEXL_OK)
                CopyCell(value, int(row), int(column), m_cells);
        }
    }
    if (result != FREEXL_OK) {
        m_error = FreeXlReason(result);
        m_cells.Clear();
        return false;
    }
    m_cells.Finish();
    m_rows = int(rows);
    m_columns = int(columns);
    return true;
}
