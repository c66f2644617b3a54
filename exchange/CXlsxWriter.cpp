#include "exchange/CXlsxWriter.h"

#include "app/StringTable.h"
#include "exchange/XlsxTextEscapes.h"

#include <QFile>

#include <xlsxwriter.h>

#if defined(__ELF__)
#include <minizip/zip.h>

#include <dlfcn.h>
#endif

namespace {

QString LibraryReason(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

} // namespace

#if defined(__ELF__)
// libxlsxwriter compresses every part at zlib's default level and offers no choice. For a long table
// that is two thirds of the time a save takes; the fastest level saves in half the time for a file a
// fifth larger. The workbook library is the only user of the zip library in the program, and this
// definition takes the place of the zip library's own for it: the call is passed on unchanged but for
// the level.
extern "C" int zipOpenNewFileInZip4_64(zipFile file, const char* filename, const zip_fileinfo* zipfi,
                                       const void* extrafield_local, uInt size_extrafield_local,
                                       const void* extrafield_global, uInt size_extrafield_global, const char* comment,
                                       int method, int level, int raw, int windowBits, int memLevel, int strategy,
                                       const char* password, uLong crcForCrypting, uLong versionMadeBy, uLong flagBase,
                                       int zip64)
{
    using OpenFunction = decltype(&zipOpenNewFileInZip4_64);
    static const auto zipLibraryOpen = reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    if (!zipLibraryOpen)
        return ZIP_INTERNALERROR;
    if (method == Z_DEFLATED && level == Z_DEFAULT_COMPRESSION)
        level = Z_BEST_SPEED;
    return zipLibraryOpen(file, filename, zipfi, extrafield_local, size_extrafield_local, extrafield_global,
                          size_extrafield_global, comment, method, level, raw, windowBits, memLevel, strategy, password,
                          crcForCrypting, versionMadeBy, flagBase, zip64);
}
#endif

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
