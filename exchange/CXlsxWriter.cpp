#include "exchange/CXlsxWriter.h"

#include "app/StringTable.h"
#include "exchange/XlsxTextEscapes.h"

#include <QFile>

#include <xlsxwriter.h>

namespace {

QString LibraryReason(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

} // namespace

CXlsxWriter::CXlsxWriter(const QString& path)
{
    const QByteArray encodedPath = QFile::encodeName(path);
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    m_workbook = workbook_new_opt(encodedPath.constData(), &options);
    if (!m_workbook)
        m_error = MessageString(StringId::WriterWorkbookNotCreated);
}

CXlsxWriter::~CXlsxWriter()
{
    if (m_workbook)
        lxw_workbook_free(m_workbook); // not saved: freed without writing
}

bool CXlsxWriter::AddSheet(const QString& name)
{
    if (!m_workbook)
        return false;
    m_sheet = workbook_add_worksheet(m_workbook, name.toUtf8().constData());
    if (!m_sheet) {
        m_error = MessageString(StringId::WriterSheetNotAdded).arg(name);
        return false;
    }
    return true;
}

bool CXlsxWriter::WriteCellText(int row, int column, QStringView text)
{
    const QByteArray utf8 = NeedsXlsxEscaping(text) ? EscapeXlsxText(text).toUtf8() : text.toUtf8();
    const lxw_error error =
        worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(column), utf8.constData(), nullptr);
    if (error != LXW_NO_ERROR) {
        m_error = MessageString(StringId::WriterCellFailed).arg(row + 1).arg(column + 1).arg(LibraryReason(error));
        return false;
    }
    return true;
}

bool CXlsxWriter::Save()
{
    if (!m_workbook)
        return false;
    const lxw_error error = workbook_close(m_workbook);
    m_workbook = nullptr;
    m_sheet = nullptr;
    if (error != LXW_NO_ERROR) {
        m_error = LibraryReason(error);
        return false;
    }
    return true;
}
