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

} // namespace

CFreeXlReader::~CFreeXlReader()
{
    Close();
}

void CFreeXlReader::Close()
{
    if (m_handle)
        freexl_close(m_handle);
    m_handle = nullptr;
    m_rows = 0;
    m_columns = 0;
}

bool CFreeXlReader::Load(const QString& path)
{
    Close();
    m_error.clear();
    const QByteArray encodedPath = QFile::encodeName(path);
    int result = freexl_open(encodedPath.constData(), &m_handle);
    if (result == FREEXL_OK) {
        unsigned int sheets = 0;
        result = freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
        if (result == FREEXL_OK && sheets == 0)
            result = FREEXL_BIFF_ILLEGAL_SHEET_INDEX;
    }
    if (result == FREEXL_OK)
        result = freexl_select_active_worksheet(m_handle, 0);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (result == FREEXL_OK)
        result = freexl_worksheet_dimensions(m_handle, &rows, &columns);
    if (result != FREEXL_OK) {
        m_error = FreeXlReason(result);
        Close();
        return false;
    }
    m_rows = int(rows);
    m_columns = int(columns);
    return true;
}

SWorkbookCell CFreeXlReader::Cell(int row, int column) const
{
    SWorkbookCell cell;
    FreeXL_CellValue value;
    if (!m_handle || row < 0 || column < 0 || row >= m_rows || column >= m_columns
        || freexl_get_cell_value(m_handle, unsigned(row), static_cast<unsigned short>(column), &value) != FREEXL_OK)
        return cell;
    switch (value.type) {
    case FREEXL_CELL_INT:
        cell.isNumber = true;
        cell.number = value.value.int_value;
        break;
    case FREEXL_CELL_DOUBLE:
        cell.isNumber = true;
        cell.number = value.value.double_value;
        break;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        if (value.value.text_value)
            cell.text = QString::fromUtf8(value.value.text_value);
        break;
    default:
        break;
    }
    return cell;
}
