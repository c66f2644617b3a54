#include "exchange/COdsReader.h"

#include "app/StringTable.h"
#include "exchange/CWorkbookPackage.h"
#include "exchange/SaxNoOpHandler.h"

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr long long kMaxRows = 1048576;
constexpr long long kMaxColumns = 16384;

long long ParseCount(std::string_view text, unsigned malformed)
{
    long long count = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), count);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || count < 1)
        throw CPackageError(MessageString(malformed));
    return count;
}

bool ParseNumber(std::string_view text, double& value)
{
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// The first table of content.xml, its repeated rows and cells written out.
class CContentHandler : public SSaxNoOpHandler
{
public:
    CContentHandler(CSheetCells& cells, const SImportLimits& limits)
        : m_cells(cells)
        , m_limits(limits)
    {
    }

    bool sawTable = false;

    void attribute(const orcus::sax::parser_attribute& attribute)
    {
        const std::string_view ns = attribute.ns;
        const std::string_view name = attribute.name;
        if (ns == "table") {
            if (name == "number-rows-repeated" || name == "number-columns-repeated")
                m_pending.repeat = attribute.value;
        } else if (ns == "office") {
            if (name == "value-type")
                m_pending.valueType = attribute.value;
            else if (name == "value")
                m_pending.value = attribute.value;
            else if (name == "boolean-value")
                m_pending.booleanValue = attribute.value;
            else if (name == "string-value")
                m_pending.stringValue = attribute.value, m_pending.hasStringValue = true;
        } else if (ns == "text" && name == "c") {
            m_pending.repeat = attribute.value;
        }
    }

    void start_element(const orcus::sax::parser_element& element)
    {
        const SPending pending = std::move(m_pending);
        m_pending = SPending();
        const std::string_view ns = element.ns;
        const std::string_view name = element.name;
        if (m_done)
            return;
        if (ns == "table" && name == "table") {
            ++m_tableDepth;
            sawTable = true;
            return;
        }
        if (m_tableDepth != 1)
            return;
        if (ns == "table" && name == "table-row")
            StartRow(pending);
        else if (ns == "table" && (name == "table-cell" || name == "covered-table-cell"))
            StartCell(pending);
        else if (m_inCell)
            StartInCell(ns, name, pending);
    }

    void end_element(const orcus::sax::parser_element& element)
    {
        const std::string_view ns = element.ns;
        const std::string_view name = element.name;
        if (m_done)
            return;
        if (ns == "table" && name == "table") {
            if (--m_tableDepth == 0)
                m_done = true; // the first sheet is read
            return;
        }
        if (m_tableDepth != 1)
            return;
        if (ns == "table" && name == "table-row")
            EndRow();
        else if (ns == "table" && (name == "table-cell" || name == "covered-table-cell"))
            EndCell();
        else if (m_inCell && ns == "office" && name == "annotation")
            --m_annotationDepth;
        else if (m_inCell && ns == "text" && name == "p")
            --m_paragraphDepth;
    }

    void characters(std::string_view text, bool)
    {
        if (m_inCell && m_paragraphDepth > 0 && m_annotationDepth == 0)
            m_text.append(text);
    }

private:
    // The attributes of the element about to start; the parser's views of them do not outlive it.
    struct SPending
    {
        std::string repeat;
        std::string valueType;
        std::string value;
        std::string booleanValue;
        std::string stringValue;
        bool hasStringValue = false;
    };

    enum class EValue
    {
        None,
        Number,
        Text,
    };

    void StartRow(const SPending& pending)
    {
        m_rowRepeat = pending.repeat.empty() ? 1 : ParseCount(pending.repeat, StringId::OdsMalformedRowRepeat);
        m_column = 0;
        m_rowCells.clear();
        m_rowHasValue = false;
    }

    void EndRow()
    {
        if (m_rowHasValue) {
            if (m_row + m_rowRepeat > kMaxRows)
                throw CPackageError(MessageString(StringId::SheetRowOutside));
            // Rows past what Import reads make the file too long anyway: they count, but are not kept.
            const long long kept = std::min(m_rowRepeat, std::max(0LL, m_limits.maxRows + 1LL - m_row));
            for (long long copy = 0; copy < kept; ++copy) {
                for (const SRowCell& cell : m_rowCells)
                    Store(int(m_row + copy), cell);
            }
            m_cells.WidenRowsTo(int(m_row + m_rowRepeat));
        }
        m_row += m_rowRepeat;
        // Empty rows past the edge are how spreadsheet programs end a sheet; only rows with values must fit.
        m_row = std::min(m_row, kMaxRows);
    }

    void StartCell(const SPending& pending)
    {
        m_cellRepeat = pending.repeat.empty() ? 1 : ParseCount(pending.repeat, StringId::OdsMalformedCellRepeat);
        m_inCell = true;
        m_text.clear();
        m_paragraphs = 0;
        m_paragraphDepth = 0;
        m_annotationDepth = 0;
        m_cell = SRowCell();
        const std::string_view type = pending.valueType;
        if (type == "float" || type == "percentage" || type == "currency") {
            double number = 0;
            if (ParseNumber(pending.value, number)) {
                m_cell.value = EValue::Number;
                m_cell.number = number;
            } else {
                m_cell.value = EValue::Text; // a number the file does not give: its shown text
            }
        } else if (type == "boolean") {
            m_cell.value = EValue::Number;
            m_cell.number = pending.booleanValue == "true" ? 1 : 0;
        } else if (!type.empty()) {
            m_cell.value = EValue::Text;
            if (pending.hasStringValue)
                m_cell.text = pending.stringValue;
        } else {
            m_cell.value = EValue::None; // an empty cell, whatever text it shows
        }
        // A formula's result is stored like any other value.
        m_useStringValue = pending.hasStringValue && m_cell.value == EValue::Text;
    }

    void StartInCell(std::string_view ns, std::string_view name, const SPending& pending)
    {
        if (ns == "office" && name == "annotation") {
            ++m_annotationDepth;
            return;
        }
        if (m_annotationDepth > 0 || ns != "text")
            return;
        if (name == "p" || name == "h") {
            if (m_paragraphs++ > 0)
                m_text.push_back('\n');
            ++m_paragraphDepth;
        } else if (m_paragraphDepth > 0 && name == "s") {
            const long long count =
                pending.repeat.empty() ? 1 : ParseCount(pending.repeat, StringId::OdsMalformedSpaceCount);
            if (count > m_limits.maxPartBytes)
                throw CPackageError(MessageString(StringId::OdsSpaceRunTooLong));
            m_text.append(size_t(count), ' ');
        } else if (m_paragraphDepth > 0 && name == "tab") {
            m_text.push_back('\t');
        } else if (m_paragraphDepth > 0 && name == "line-break") {
            m_text.push_back('\n');
        }
    }

    void EndCell()
    {
        m_inCell = false;
        if (m_cell.value == EValue::Text && !m_useStringValue)
            m_cell.text = std::move(m_text);
        const long long first = m_column;
        m_column += m_cellRepeat;
        if (m_cell.value == EValue::None)
            return;
        if (m_column > kMaxColumns)
            throw CPackageError(MessageString(StringId::SheetCellOutside));
        m_rowHasValue = true;
        // Cells right of the columns read count for the extent only.
        const long long kept = std::min(m_column, std::max<long long>(first, m_limits.maxColumns)) - first;
        m_cell.column = int(first);
        for (long long copy = 0; copy < kept; ++copy) {
            m_rowCells.push_back(m_cell);
            ++m_cell.column;
        }
        m_cells.WidenTo(int(m_column));
    }

    struct SRowCell
    {
        int column = 0;
        EValue value = EValue::None;
        double number = 0;
        std::string text;
    };

    void Store(int row, const SRowCell& cell)
    {
        if (cell.value == EValue::Number)
            m_cells.SetNumber(row, cell.column, cell.number);
        else
            m_cells.SetText(row, cell.column, cell.text);
    }

    CSheetCells& m_cells;
    const SImportLimits& m_limits;
    SPending m_pending;
    int m_tableDepth = 0;
    bool m_done = false;
    long long m_row = 0;
    long long m_rowRepeat = 1;
    long long m_column = 0;
    long long m_cellRepeat = 1;
    bool m_rowHasValue = false;
    std::vector<SRowCell> m_rowCells;
    bool m_inCell = false;
    bool m_useStringValue = false;
    SRowCell m_cell;
    std::string m_text;
    int m_paragraphs = 0;
    int m_paragraphDepth = 0;
    int m_annotationDepth = 0;
};

void ReadFirstSheet(const CWorkbookPackage& package, CSheetCells& cells, const SImportLimits& limits)
{
    const std::string part = "content.xml";
    const CWorkbookPackage::CCheckedXml xml = package.CheckedXmlPart(part, true);
    CContentHandler handler(cells, limits);
    CWorkbookPackage::ParseXml(xml, handler);
    if (!handler.sawTable)
        throw CPackageError(MessageString(StringId::WorkbookNoSheet));
    cells.Finish();
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
    const bool read = ReadWorkbookPackage(
        path, m_limits, QStringLiteral(".ods"),
        [this](const CWorkbookPackage& package) { ReadFirstSheet(package, m_cells, m_limits); }, m_error);
    if (!read)
        m_cells.Clear();
    return read;
}
