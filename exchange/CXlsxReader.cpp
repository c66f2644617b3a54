#include "exchange/CXlsxReader.h"

#include "app/StringTable.h"
#include "exchange/CWorkbookPackage.h"
#include "exchange/SaxNoOpHandler.h"
#include "exchange/XlsxTextEscapes.h"

#include <orcus/sax_parser.hpp>

#include <charconv>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using CCheckedXml = CWorkbookPackage::CCheckedXml;

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

// Whether the name is the literal; with the literal's length known the comparison needs no call.
template <std::size_t N>
bool Is(std::string_view name, const char (&literal)[N])
{
    return name.size() == N - 1 && std::memcmp(name.data(), literal, N - 1) == 0;
}

bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsXmlSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsXmlSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The folder of a part name, with its trailing slash ("xl/workbook.xml" -> "xl/").
std::string FolderOf(std::string_view part)
{
    const size_t slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

// A relationship's target as a part name of the archive: absolute targets start at the package root,
// others are relative to the folder of the part that refers to them.
std::string ResolveTarget(std::string_view sourceFolder, std::string_view target)
{
    std::string joined = !target.empty() && target.front() == '/' ? std::string(target.substr(1))
                                                                  : std::string(sourceFolder) + std::string(target);
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos)
            end = joined.size();
        const std::string segment = joined.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& segment : segments) {
        if (!result.empty())
            result += '/';
        result += segment;
    }
    return result;
}

// "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels"
std::string RelationshipsPartOf(std::string_view part)
{
    const std::string folder = FolderOf(part);
    return folder + "_rels/" + std::string(part.substr(folder.size())) + ".rels";
}

struct SRelationship
{
    std::string id;
    std::string type;
    std::string target;
};

class CRelationshipsHandler : public SSaxNoOpHandler
{
public:
    std::vector<SRelationship> relationships;

    void attribute(const orcus::sax::parser_attribute& attribute)
    {
        if (attribute.name == "Id")
            m_pending.id = attribute.value;
        else if (attribute.name == "Type")
            m_pending.type = attribute.value;
        else if (attribute.name == "Target")
            m_pending.target = attribute.value;
    }
    void start_element(const orcus::sax::parser_element& element)
    {
        if (element.name == "Relationship")
            relationships.push_back(m_pending);
        m_pending = SRelationship();
    }

private:
    SRelationship m_pending;
};

// Finds the first sheet of the workbook part: its relationship id.
class CWorkbookHandler : public SSaxNoOpHandler
{
public:
    std::string firstSheetId;
    bool found = false;

    void attribute(const orcus::sax::parser_attribute& attribute)
    {
        if (attribute.name == "id" && !attribute.ns.empty())
            m_pendingId = attribute.value;
    }
    void start_element(const orcus::sax::parser_element& element)
    {
        if (!found && element.name == "sheet") {
            firstSheetId = m_pendingId;
            found = true;
        }
        m_pendingId.clear();
    }

private:
    std::string m_pendingId;
};

// Collects the text of each string item; the runs of rich text are joined, phonetic hints left out.
class CSharedStringsHandler : public SSaxNoOpHandler
{
public:
    explicit CSharedStringsHandler(std::vector<QString>& strings)
        : m_strings(strings)
    {
    }

    void start_element(const orcus::sax::parser_element& element)
    {
        if (element.name == "si") {
            m_inItem = true;
            m_text.clear();
        } else if (element.name == "rPh") {
            ++m_phoneticDepth;
        } else if (element.name == "t" && m_inItem && m_phoneticDepth == 0) {
            m_inText = true;
        }
    }
    void end_element(const orcus::sax::parser_element& element)
    {
        if (element.name == "t") {
            m_inText = false;
        } else if (element.name == "rPh") {
            --m_phoneticDepth;
        } else if (element.name == "si") {
            QString text = QString::fromUtf8(m_text.data(), qsizetype(m_text.size()));
            if (m_text.find("_x") != std::string::npos)
                text = UnescapeXlsxText(text);
            m_strings.push_back(std::move(text));
            m_inItem = false;
        }
    }
    void characters(std::string_view text, bool)
    {
        if (m_inText)
            m_text.append(text);
    }

private:
    std::vector<QString>& m_strings;
    std::string m_text;
    bool m_inItem = false;
    bool m_inText = false;
    int m_phoneticDepth = 0;
};

// "AB12" -> column 27, row 11.
void ParseCellReference(std::string_view reference, int& row, int& column)
{
    size_t i = 0;
    long long columnNumber = 0;
    while (i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z') {
        columnNumber = columnNumber * 26 + (reference[i] - 'A' + 1);
        if (columnNumber > kMaxColumns)
            throw CPackageError(MessageString(StringId::SheetCellReferenceOutside));
        ++i;
    }
    long long rowNumber = 0;
    const auto result = std::from_chars(reference.data() + i, reference.data() + reference.size(), rowNumber);
    if (i == 0 || result.ec != std::errc() || result.ptr != reference.data() + reference.size() || rowNumber < 1 ||
        rowNumber > kMaxRows)
        throw CPackageError(MessageString(StringId::SheetCellReferenceMalformed));
    row = int(rowNumber - 1);
    column = int(columnNumber - 1);
}

int ParseRowNumber(std::string_view text)
{
    long long number = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || number < 1 || number > kMaxRows)
        throw CPackageError(MessageString(StringId::SheetRowNumberMalformed));
    return int(number - 1);
}

bool ParseNumber(std::string_view text, double& value)
{
    text = Trimmed(text);
    if (text.empty())
        return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

class CSheetHandler : public SSaxNoOpHandler
{
public:
    // Thrown at the element whose name starts past stopAt: the first half of the sheet is read.
    struct SStopped
    {
        bool betweenRows; // of the sheet data, where the second half begins as a sheet of its own does
    };
    // Thrown when the second half does not begin with a row that names its number.
    struct SNoFreshStart
    {
    };

    explicit CSheetHandler(CSheetCells& cells)
        : m_cells(cells)
    {
    }
    // The handler of the first half, which ends before stopAt.
    CSheetHandler(CSheetCells& cells, const char* stopAt)
        : m_cells(cells)
        , m_stopAt(stopAt)
    {
    }
    // The handler of the second half, whose rows must not count on the first half's.
    static CSheetHandler SecondHalf(CSheetCells& cells)
    {
        CSheetHandler handler(cells);
        handler.m_awaitingFirstRow = true;
        return handler;
    }

    void attribute(const orcus::sax::parser_attribute& attribute)
    {
        if (!attribute.ns.empty())
            return;
        if (Is(attribute.name, "r"))
            Keep(m_attributeR, m_attributeRText, attribute);
        else if (Is(attribute.name, "t"))
            Keep(m_attributeT, m_attributeTText, attribute);
    }

    void start_element(const orcus::sax::parser_element& element)
    {
        const std::string_view name = element.name;
        if (m_stopAt && name.data() > m_stopAt)
            throw SStopped{m_inSheetData && !m_inCell && !m_inInlineString && m_phoneticDepth == 0 &&
                           m_target == ETarget::None};
        if (m_awaitingFirstRow && m_inSheetData) {
            if (!Is(name, "row") || m_attributeR.empty())
                throw SNoFreshStart();
            m_awaitingFirstRow = false;
        }
        if (Is(name, "sheetData")) {
            m_inSheetData = true;
        } else if (m_inSheetData) {
            if (Is(name, "c"))
                StartCell();
            else if (Is(name, "v")) {
                if (m_inCell)
                    m_target = ETarget::Value, m_hasValue = true;
            } else if (Is(name, "t")) {
                if (m_inInlineString && m_phoneticDepth == 0)
                    m_target = ETarget::InlineText;
            } else if (Is(name, "is")) {
                if (m_inCell)
                    m_inInlineString = true, m_hasInline = true;
            } else if (Is(name, "row"))
                StartRow();
            else if (Is(name, "rPh"))
                ++m_phoneticDepth;
        }
        m_attributeR = std::string_view();
        m_attributeT = std::string_view();
    }

    void end_element(const orcus::sax::parser_element& element)
    {
        const std::string_view name = element.name;
        if (Is(name, "v") || Is(name, "t")) {
            m_target = ETarget::None;
        } else if (Is(name, "c")) {
            if (m_inCell) {
                CommitCell();
                m_inCell = false;
            }
        } else if (Is(name, "is")) {
            m_inInlineString = false;
        } else if (Is(name, "rPh")) {
            --m_phoneticDepth;
        } else if (Is(name, "sheetData")) {
            m_inSheetData = false;
        }
    }

    void characters(std::string_view text, bool)
    {
        if (m_target == ETarget::Value)
            m_value.append(text);
        else if (m_target == ETarget::InlineText)
            m_inline.append(text);
    }

private:
    enum class ETarget
    {
        None,
        Value,
        InlineText,
    };

    // An attribute's value stays where the parser has it until the element starts, unless the parser
    // made it on a buffer of its own (after undoing references), which the next event reuses.
    static void Keep(std::string_view& value, std::string& copy, const orcus::sax::parser_attribute& attribute)
    {
        if (attribute.transient) {
            copy.assign(attribute.value);
            value = copy;
        } else {
            value = attribute.value;
        }
    }

    void StartRow()
    {
        m_row = m_attributeR.empty() ? m_row + 1 : ParseRowNumber(m_attributeR);
        if (m_row >= kMaxRows)
            throw CPackageError(MessageString(StringId::SheetRowOutside));
        m_column = -1;
    }

    void StartCell()
    {
        if (m_attributeR.empty()) {
            m_cellRow = m_row < 0 ? 0 : m_row;
            m_cellColumn = m_column + 1;
            if (m_cellColumn >= kMaxColumns)
                throw CPackageError(MessageString(StringId::SheetCellOutside));
        } else {
            ParseCellReference(m_attributeR, m_cellRow, m_cellColumn);
        }
        m_column = m_cellColumn;
        m_type.assign(m_attributeT);
        m_value.clear();
        m_inline.clear();
        m_hasValue = false;
        m_hasInline = false;
        m_inCell = true;
    }

    void CommitCell()
    {
        if (Is(m_type, "s")) {
            if (!m_hasValue)
                return;
            unsigned long index = 0;
            const std::string_view text = Trimmed(m_value);
            const auto result = std::from_chars(text.data(), text.data() + text.size(), index);
            if (result.ec == std::errc() && index <= 0xFFFFFFFFul)
                m_cells.SetSharedText(m_cellRow, m_cellColumn, quint32(index));
            else
                m_cells.SetEmpty(m_cellRow, m_cellColumn);
        } else if (Is(m_type, "inlineStr")) {
            if (m_hasInline)
                AddText(m_inline);
        } else if (Is(m_type, "str") || Is(m_type, "d")) {
            if (m_hasValue)
                AddText(m_value);
        } else if (Is(m_type, "b")) {
            if (m_hasValue) {
                const std::string_view text = Trimmed(m_value);
                m_cells.SetNumber(m_cellRow, m_cellColumn, text == "1" || text == "true" ? 1 : 0);
            }
        } else if (Is(m_type, "e")) {
            if (m_hasValue)
                m_cells.SetEmpty(m_cellRow, m_cellColumn); // an error value reads as empty text
        } else if (m_hasValue) {
            double number = 0;
            if (ParseNumber(m_value, number))
                m_cells.SetNumber(m_cellRow, m_cellColumn, number);
            else
                AddText(m_value);
        } else if (m_hasInline) {
            AddText(m_inline);
        }
        // Otherwise a cell with a format only: no value.
    }

    void AddText(const std::string& text)
    {
        if (text.find("_x") != std::string::npos)
            m_cells.SetEscapedText(m_cellRow, m_cellColumn, text);
        else
            m_cells.SetText(m_cellRow, m_cellColumn, text);
    }

    CSheetCells& m_cells;
    const char* m_stopAt = nullptr;
    bool m_awaitingFirstRow = false;
    std::string_view m_attributeR; // of the element that is starting
    std::string_view m_attributeT;
    std::string m_attributeRText; // where a transient value is kept
    std::string m_attributeTText;
    bool m_inSheetData = false;
    int m_row = -1;
    int m_column = -1;
    bool m_inCell = false;
    int m_cellRow = 0;
    int m_cellColumn = 0;
    std::string m_type;
    std::string m_value;
    std::string m_inline;
    bool m_hasValue = false;
    bool m_hasInline = false;
    bool m_inInlineString = false;
    int m_phoneticDepth = 0;
    ETarget m_target = ETarget::None;
};

std::vector<SRelationship> ReadRelationships(const CWorkbookPackage& package, const std::string& part, bool required)
{
    const CCheckedXml xml = package.CheckedXmlPart(part, required);
    CRelationshipsHandler handler;
    if (!xml.empty())
        CWorkbookPackage::ParseXml(xml, handler);
    return handler.relationships;
}

const SRelationship* FindByType(const std::vector<SRelationship>& relationships, std::string_view typeEnd)
{
    for (const SRelationship& relationship : relationships) {
        if (EndsWith(relationship.type, typeEnd))
            return &relationship;
    }
    return nullptr;
}

// Reads the shared string table on a thread of its own while the sheet is parsed: the two are the
// bulk of a large workbook.
class CSharedStringsLoader
{
public:
    CSharedStringsLoader(const CWorkbookPackage& package, const std::string& part)
        : m_thread([this, &package, part] { Load(package, part); })
    {
    }
    ~CSharedStringsLoader()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    CSharedStringsLoader(const CSharedStringsLoader&) = delete;
    CSharedStringsLoader& operator=(const CSharedStringsLoader&) = delete;

    std::vector<QString> Take()
    {
        m_thread.join();
        if (m_error)
            std::rethrow_exception(m_error);
        return std::move(m_strings);
    }

private:
    void Load(const CWorkbookPackage& package, const std::string& part)
    {
        try {
            const CCheckedXml xml = package.CheckedXmlPart(part, false);
            CSharedStringsHandler handler(m_strings);
            if (!xml.empty())
                CWorkbookPackage::ParseXml(xml, handler);
        } catch (...) {
            m_error = std::current_exception();
        }
    }

    std::vector<QString> m_strings;
    std::exception_ptr m_error;
    std::thread m_thread;
};

std::string_view LocalName(std::string_view name)
{
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// Reads a large sheet's two halves side by side, the second from its first row past the middle; the
// parser is the larger part of reading a sheet. False when the sheet cannot be read so (it is small, is
// not cut between the rows of its sheet data, or its second half does not stand on its own): the cells
// are then to be read again whole. Faults of the first half are thrown as reading it whole throws them;
// a second half that fails is read again whole too, so that its fault is reported as the whole gives it.
bool ReadSheetInHalves(const CCheckedXml& xml, CSheetCells& cells)
{
    const SXmlChildSplit& split = xml.Split();
    if (split.at == SXmlChildSplit::npos || !Is(LocalName(split.parentName), "sheetData") ||
        Is(LocalName(split.rootName), "sheetData"))
        return false;
    CSheetCells secondCells;
    secondCells.SetColumnLimit(cells.ColumnLimit());
    bool secondRead = false;
    std::thread second;
    try {
        second = std::thread([&] {
            try {
                CSheetHandler handler = CSheetHandler::SecondHalf(secondCells);
                CWorkbookPackage::ParseXmlFromSplit(xml, handler);
                secondRead = true;
            } catch (...) {
            }
        });
    } catch (const std::system_error&) {
        return false;
    }
    bool firstRead = false;
    std::exception_ptr firstFault;
    try {
        CSheetHandler handler(cells, xml.Text().data() + split.at);
        CWorkbookPackage::ParseXml(xml, handler);
    } catch (const CSheetHandler::SStopped& stopped) {
        firstRead = stopped.betweenRows;
    } catch (...) {
        firstFault = std::current_exception();
    }
    second.join();
    if (firstFault)
        std::rethrow_exception(firstFault);
    if (!firstRead || !secondRead)
        return false;
    cells.Append(std::move(secondCells));
    return true;
}

void ReadFirstSheet(const CWorkbookPackage& package, CSheetCells& cells)
{
    const std::vector<SRelationship> root = ReadRelationships(package, "_rels/.rels", true);
    const SRelationship* office = FindByType(root, "/officeDocument");
    if (!office)
        throw CPackageError(MessageString(StringId::PackageNoWorkbook));
    const std::string workbookPart = ResolveTarget("", office->target);

    CWorkbookHandler workbook;
    CWorkbookPackage::ParseXml(package.CheckedXmlPart(workbookPart, true), workbook);
    if (!workbook.found)
        throw CPackageError(MessageString(StringId::WorkbookNoSheet));

    const std::string workbookFolder = FolderOf(workbookPart);
    const std::vector<SRelationship> parts = ReadRelationships(package, RelationshipsPartOf(workbookPart), true);
    const SRelationship* sheet = nullptr;
    for (const SRelationship& relationship : parts) {
        if (relationship.id == workbook.firstSheetId)
            sheet = &relationship;
    }
    if (!sheet)
        throw CPackageError(MessageString(StringId::FirstSheetUnnamed));

    std::unique_ptr<CSharedStringsLoader> sharedStrings;
    if (const SRelationship* strings = FindByType(parts, "/sharedStrings"))
        sharedStrings = std::make_unique<CSharedStringsLoader>(package, ResolveTarget(workbookFolder, strings->target));

    const std::string sheetPart = ResolveTarget(workbookFolder, sheet->target);
    const CCheckedXml sheetXml = package.CheckedXmlPart(sheetPart, true);
    const size_t sheetSize = sheetXml.Text().size();
    // A cell takes some 30 bytes of XML at the least; room that is never used costs no memory pages.
    cells.Reserve(sheetSize / 30, sharedStrings ? sheetSize / 100 : sheetSize / 4);
    if (!ReadSheetInHalves(sheetXml, cells)) {
        cells.Clear();
        cells.Reserve(sheetSize / 30, sharedStrings ? sheetSize / 100 : sheetSize / 4);
        CSheetHandler handler(cells);
        CWorkbookPackage::ParseXml(sheetXml, handler);
    }
    if (sharedStrings)
        cells.SetSharedStrings(sharedStrings->Take());
    cells.Finish();
}

} // namespace

CXlsxReader::CXlsxReader(const SImportLimits& limits)
    : m_limits(limits)
{
    m_cells.SetColumnLimit(limits.maxColumns);
}

bool CXlsxReader::Load(const QString& path)
{
    m_cells.Clear();
    m_error.clear();
    const bool read = ReadWorkbookPackage(
        path, m_limits, QStringLiteral(".xlsx"),
        [this](const CWorkbookPackage& package) { ReadFirstSheet(package, m_cells); }, m_error);
    if (!read)
        m_cells.Clear();
    return read;
}
