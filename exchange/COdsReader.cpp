#include "exchange/COdsReader.h"

#include "exchange/CZipDirectory.h"
#include "exchange/XmlLexicalCheck.h"

#include <QFile>

#include <ixion/address.hpp>
#include <ixion/cell_access.hpp>
#include <ixion/model_context.hpp>
#include <orcus/orcus_ods.hpp>
#include <orcus/spreadsheet/document.hpp>
#include <orcus/spreadsheet/factory.hpp>
#include <orcus/spreadsheet/sheet.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

void ReadCell(const ixion::model_context& model, const ixion::abs_address_t& address, CSheetCells& cells)
{
    const ixion::cell_access access = model.get_cell_access(address);
    const int row = int(address.row);
    const int column = int(address.column);
    if (access.get_type() == ixion::celltype_t::formula) {
        cells.SetEmpty(row, column); // results of formulas are not computed here: empty text
        return;
    }
    switch (access.get_value_type()) {
    case ixion::cell_value_t::numeric:
        cells.SetNumber(row, column, access.get_numeric_value());
        break;
    case ixion::cell_value_t::boolean:
        cells.SetNumber(row, column, access.get_boolean_value() ? 1 : 0);
        break;
    case ixion::cell_value_t::string: {
        const std::string_view text = access.get_string_value();
        cells.SetText(row, column, text);
        break;
    }
    default:
        cells.SetEmpty(row, column); // an error value: empty text
        break;
    }
}

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The XML parser stops the program on some malformed documents, so every XML part is checked before
// the document reader sees it.
void CheckXmlParts(const std::string& archivePath, const CZipDirectory& directory)
{
    orcus::zip_archive_stream_fd stream(archivePath.c_str());
    orcus::zip_archive archive(&stream);
    archive.load();
    std::vector<unsigned char> xml;
    for (const CZipDirectory::SEntry& entry : directory.Entries()) {
        if (!EndsWith(entry.name, ".xml"))
            continue;
        xml.clear();
        if (!archive.read_file_entry(entry.name, xml))
            continue;
        std::string_view text(reinterpret_cast<const char*>(xml.data()), xml.size());
        if (!text.empty() && text.back() == '\0')
            text.remove_suffix(1); // the NUL the zip reader ends what it unpacks with
        if (const auto fault = FindXmlLexicalFault(text)) {
            throw std::runtime_error(std::string(fault->what) + " at byte " + std::to_string(fault->offset) + " of "
                                     + entry.name);
        }
    }
}

} // namespace

COdsReader::COdsReader(const SImportLimits& limits)
    : m_limits(limits)
{
    m_cells.SetColumnLimit(limits.maxColumns);
}

bool COdsReader::Load(const QString& path)
{
    m_cells.Clear();
    m_error.clear();
    // The zip reader makes room for a whole part at once: its declared size is checked first.
    CZipDirectory directory;
    if (!directory.Read(path)) {
        m_error = QStringLiteral("not an .ods workbook (%1)").arg(directory.ErrorString());
        return false;
    }
    m_error = directory.OversizedPart(m_limits.maxPartBytes);
    if (!m_error.isEmpty())
        return false;
    // Told here, where the reader would only print a complaint and read an empty document.
    const auto& entries = directory.Entries();
    if (std::none_of(entries.begin(), entries.end(), [](const auto& entry) { return entry.name == "content.xml"; })) {
        m_error = QStringLiteral("not a readable .ods workbook: the part content.xml is missing");
        return false;
    }
    try {
        const std::string archivePath = QFile::encodeName(path).toStdString();
        CheckXmlParts(archivePath, directory);
        orcus::spreadsheet::document document(orcus::spreadsheet::range_size_t{1048576, 16384});
        orcus::spreadsheet::import_factory factory(document);
        orcus::orcus_ods loader(&factory);
        loader.read_file(archivePath);
        if (document.get_sheet_count() == 0) {
            m_error = QStringLiteral("the workbook has no sheet");
            return false;
        }
        const orcus::spreadsheet::sheet* sheet = document.get_sheet(0);
        const ixion::abs_range_t range = sheet->get_data_range();
        if (range.last.row < 0 || range.last.column < 0) {
            m_cells.Finish();
            return true; // an empty sheet
        }
        const ixion::model_context& model = document.get_model_context();
        // Columns right of the limit are not looked at (a repeated cell can make a sheet 16,384 wide),
        // so the extent comes from the data range, which ends at the last cell that holds a value.
        const ixion::col_t columns = std::min<ixion::col_t>(range.last.column + 1, m_limits.maxColumns);
        m_cells.WidenTo(range.last.column + 1);
        m_cells.WidenRowsTo(range.last.row + 1);
        for (ixion::row_t row = 0; row <= range.last.row; ++row) {
            for (ixion::col_t column = 0; column < columns; ++column) {
                const ixion::abs_address_t address(0, row, column);
                if (model.is_empty(address))
                    continue;
                ReadCell(model, address, m_cells);
            }
        }
        m_cells.Finish();
        return true;
    } catch (const std::exception& error) {
        m_error = QStringLiteral("not a readable .ods workbook (%1)").arg(QString::fromUtf8(error.what()));
    }
    m_cells.Clear();
    return false;
}
