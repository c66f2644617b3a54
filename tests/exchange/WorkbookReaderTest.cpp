#include "ExchangeTestSupport.h"
#include "HandMadePackage.h"

#include "app/StringTable.h"
#include "exchange/CBiffWorkbookStream.h"
#include "exchange/CWorkbookPackage.h"
#include "exchange/CXlsWriter.h"
#include "exchange/CXlsxWriter.h"
#include "exchange/Workbook.h"
#include "exchange/XmlLexicalCheck.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using ExchangeTest::FixturePath;

std::unique_ptr<IWorkbookReader> Load(EWorkbookFormat format, const QString& path)
{
    std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(format);
    EXPECT_TRUE(reader->Load(path)) << reader->ErrorString().toStdString();
    return reader;
}

void ExpectText(const IWorkbookReader& reader, int row, int column, const QString& text)
{
    const SWorkbookCell cell = reader.Cell(row, column);
    EXPECT_FALSE(cell.isNumber) << row << "," << column;
    EXPECT_EQ(cell.text, text) << row << "," << column;
}

void ExpectNumber(const IWorkbookReader& reader, int row, int column, double value)
{
    const SWorkbookCell cell = reader.Cell(row, column);
    EXPECT_TRUE(cell.isNumber) << row << "," << column;
    EXPECT_EQ(cell.number, value) << row << "," << column;
}

// The same pricing table written by xlwt (.xls) and openpyxl (.xlsx) reads the same through both readers.
class PricingFixture : public ::testing::TestWithParam<std::pair<EWorkbookFormat, const char*>>
{
};

TEST_P(PricingFixture, ReadsNumbersTextsBooleansAndTheUsedRange)
{
    const auto reader = Load(GetParam().first, FixturePath(QString::fromLatin1(GetParam().second)));
    EXPECT_EQ(reader->LastRow(), 8);
    EXPECT_EQ(reader->LastCol(), 8);
    ExpectText(*reader, 0, 7, QStringLiteral("Quantity pricing"));
    ExpectNumber(*reader, 1, 1, 2.5);
    ExpectNumber(*reader, 1, 2, 4006381333931.0);
    ExpectText(*reader, 1, 3, QString::fromUtf8("苹果"));
    ExpectNumber(*reader, 2, 1, 99999.99);
    ExpectText(*reader, 2, 2, QStringLiteral("6901234567892"));
    ExpectText(*reader, 2, 4, QString());
    ExpectText(*reader, 3, 0, QString()); // the empty row
    ExpectNumber(*reader, 4, 0, -3.7);
    ExpectText(*reader, 5, 0, QStringLiteral("0001"));
    ExpectNumber(*reader, 6, 7, 1); // TRUE
    ExpectText(*reader, 7, 7, QString::fromUtf8("×"));
    ExpectText(*reader, 8, 0, QString()); // past the used range
}

INSTANTIATE_TEST_SUITE_P(Readers, PricingFixture,
                         ::testing::Values(std::make_pair(EWorkbookFormat::Xls, "pricing_xlwt.xls"),
                                           std::make_pair(EWorkbookFormat::Xlsx, "pricing_openpyxl.xlsx")),
                         [](const auto& info) {
                             return info.param.first == EWorkbookFormat::Xls ? "xlwt" : "openpyxl";
                         });

TEST(XlsxReader, FollowsRelationshipsAndReadsEveryKindOfCell)
{
    const auto reader = Load(EWorkbookFormat::Xlsx, FixturePath(QStringLiteral("inline_strings.xlsx")));
    // A cell that only has a format (H4) is not part of the used range.
    EXPECT_EQ(reader->LastRow(), 4);
    EXPECT_EQ(reader->LastCol(), 7);
    ExpectText(*reader, 0, 0, QStringLiteral("header"));
    ExpectText(*reader, 0, 6, QStringLiteral("header"));
    ExpectText(*reader, 1, 0, QString::fromUtf8("苹果 & pear"));
    ExpectNumber(*reader, 1, 1, 2.5);
    ExpectText(*reader, 1, 2, QStringLiteral("formula text"));
    ExpectNumber(*reader, 1, 3, 2);
    ExpectNumber(*reader, 1, 4, 1);
    ExpectText(*reader, 1, 5, QString()); // #DIV/0!
    ExpectText(*reader, 1, 6, QStringLiteral("inline"));
    ExpectText(*reader, 2, 0, QString());
    ExpectText(*reader, 3, 1, QStringLiteral("rich text"));
}

TEST(OdsReader, ReadsTheFirstSheet)
{
    const auto reader = Load(EWorkbookFormat::Ods, FixturePath(QStringLiteral("pricing.ods")));
    EXPECT_EQ(reader->LastRow(), 2);
    EXPECT_EQ(reader->LastCol(), 7);
    ExpectNumber(*reader, 1, 0, 12.9);
    ExpectText(*reader, 1, 3, QString::fromUtf8("苹果"));
    ExpectText(*reader, 0, 6, QStringLiteral("Lo"));
}

// Documents on which the XML parser once read past its buffer and stopped the program are refused
// before it sees them; sound documents, however unusual, pass.
const std::string_view kSoundXml[] = {
    "<?xml version=\"1.0\"?>\n<a b=\"x &amp; &lt;y&gt; &#65;&#x42;&#x10FFFF;&#0065; &apos;\">t&quot;</a>\r\n",
    "<a b='single \"quoted\"' c=\"it's\"><!-- a & b < c --><![CDATA[ x & y < z ]]><?pi a & b?></a>",
    "<!DOCTYPE a><a>&#1114111;<b/></a>",
    "<a>\xe8\x8b\xb9 &#xD7FF;&#xE000;</a>",
    "<x:a xmlns:x=\"u\"><b></b><c><d/></c></x:a >",
};
struct SFaultyXml
{
    std::string_view xml;
    size_t offset;
    std::string_view what;
};
const SFaultyXml kFaultyXml[] = {
    {"<a>&#x110000;</a>", 3, "a malformed reference"},
    {"<a>&#1114112;</a>", 3, "a malformed reference"},
    {"<a>&#99999999999999999999;</a>", 3, "a malformed reference"}, // would overflow 32 bits
    {"<a b=\"&#-1;\"/>", 6, "a malformed reference"},
    {"<a>&#x-1;&#+65;</a>", 3, "a malformed reference"},
    {"<a>&#X41;</a>", 3, "a malformed reference"},
    {"<a>&#;&#x;</a>", 3, "a malformed reference"},
    {"<a>x & y</a>", 5, "a malformed reference"},
    {"<a>&amp</a>", 3, "a malformed reference"},
    {"<a b=\"&x\"/>text;<c/>", 6, "a malformed reference"},
    {"<a b=\"x&amp;y>z</a>", 5, "an unclosed attribute value"},
    {"<a b=\"x&amp;", 5, "an unclosed attribute value"},
    {"<a b='x\"/>", 5, "an unclosed attribute value"},
    {"<a><!-- x", 3, "an unclosed comment"},
    {"<a><![CDATA[ x ]]", 3, "an unclosed CDATA section"},
    {"<?xml version=\"1.0\"", 0, "an unclosed processing instruction"},
    {"<?xml version=\"1.0\"<a/>", 0, "an unclosed processing instruction"},
    {"<?xml version=\"&amp;?><a/>", 14, "an unclosed attribute value"},
    {"<a><!---->", 10, "a document that does not end with a tag"},
    {"<a><![CDATA[]]>", 15, "a document that does not end with a tag"},
    {"<?xml version=\"1.0\"?>", 21, "a document that does not end with a tag"},
    {"<a b=\"1\"<b/>", 0, "an unclosed tag"},
    {"<a><b", 3, "an unclosed tag"},
    {"<!DOCTYPE a [<!ENTITY x \"y\">]><a/>", 0, "a document type with an internal subset"},
    {"<a>x&amp;&amp;", 14, "a document that does not end with a tag"},
    {"<a/>x", 5, "a document that does not end with a tag"},
    {"<a>&bogus;</a>", 3, "an undefined entity"},
    {"<a b=\"&custom;\"/>", 6, "an undefined entity"},
    {"<a>&\xe8\x8b\xb9;</a>", 3, "an undefined entity"},
    {"<a>&#0;</a>", 3, "a reference to the character U+0000"},
    {"<a>&#x0000;</a>", 3, "a reference to the character U+0000"},
    {"<a>&#xD800;</a>", 3, "a reference to half of a surrogate pair"},
    {"<a>&#57343;</a>", 3, "a reference to half of a surrogate pair"},
    {"<a><b></a></b>", 6, "an end tag that does not match its start tag"},
    {"<a><b></bb></a>", 6, "an end tag that does not match its start tag"},
    {"<a></a></a>", 7, "an end tag without its start tag"},
    {"<a><b>", 3, "an element that is never closed"},
    {"<a><b/>  ", 0, "an element that is never closed"},
    {"", 0, "a document that does not end with a tag"},
};

TEST(XmlLexicalCheck, FindsWhatTheParserCannotBeTrustedWith)
{
    for (std::string_view xml : kSoundXml)
        EXPECT_FALSE(FindXmlLexicalFault(xml)) << xml;
    for (const auto& c : kFaultyXml) {
        const auto fault = FindXmlLexicalFault(c.xml);
        ASSERT_TRUE(fault) << c.xml;
        EXPECT_EQ(fault->offset, c.offset) << c.xml;
        EXPECT_EQ(LoadString(fault->what, 9).toStdString(), c.what) << c.xml;
    }
}

// A document whose bytes arrive `first` at once, then `step` at a time, as many as the check waits for.
class CArrivingInSteps : public IXmlArrivals
{
public:
    CArrivingInSteps(size_t whole, size_t first, size_t step, size_t stopAt = SIZE_MAX)
        : m_whole(whole)
        , m_next(first)
        , m_step(step)
        , m_stopAt(stopAt)
    {
    }
    SXmlArrived WaitFor(size_t size) override
    {
        while (m_size < size && m_size < m_whole && m_size < m_stopAt) {
            m_size = std::min({m_whole, m_stopAt, std::max(m_next, m_size + 1)});
            m_next = m_size + m_step;
        }
        return SXmlArrived{m_size, m_size == m_whole, m_size == m_stopAt && m_size < m_whole};
    }

private:
    size_t m_whole;
    size_t m_next;
    size_t m_step;
    size_t m_stopAt;
    size_t m_size = 0;
};

// The check that follows a part as it unpacks finds what the check of the whole part finds, wherever the
// bytes so far end: inside a reference, an attribute value, a comment, a CDATA section, a tag's name, an
// end tag or the last tag.
TEST(XmlLexicalCheck, FollowingTheBytesAsTheyArriveFindsWhatTheWholeDocumentGives)
{
    std::vector<std::string_view> documents(std::begin(kSoundXml), std::end(kSoundXml));
    for (const auto& c : kFaultyXml)
        documents.push_back(c.xml);
    const std::string longRun = "<a b=\"" + std::string(90, 'v') + "&amp;\"><!--" + std::string(150, '-') + " -->" +
                                std::string(200, 't') + "<![CDATA[" + std::string(120, ']') + "]]></a>";
    documents.push_back(longRun);
    for (const std::string_view xml : documents) {
        const std::optional<SXmlLexicalFault> whole = FindXmlLexicalFault(xml);
        for (const size_t step : {1, 7, 64}) {
            for (size_t first = 0; first <= xml.size(); ++first) {
                CArrivingInSteps arrivals(xml.size(), first, step);
                const std::optional<SXmlLexicalFault> followed = FindXmlLexicalFault(xml.data(), arrivals);
                ASSERT_EQ(followed.has_value(), whole.has_value()) << xml << " first " << first << " step " << step;
                if (whole) {
                    EXPECT_EQ(followed->offset, whole->offset) << xml << " first " << first << " step " << step;
                    EXPECT_EQ(followed->what, whole->what) << xml << " first " << first << " step " << step;
                }
            }
        }
    }
    // Bytes that stop coming end the check without a result, whatever the bytes so far hold.
    for (const std::string_view xml : {std::string_view("<a>&bogus;</a>"), std::string_view("<a><b/></a>")}) {
        CArrivingInSteps stopped(xml.size(), 1, 1, xml.size() - 1);
        EXPECT_FALSE(FindXmlLexicalFault(xml.data(), stopped)) << xml;
    }
}

// Such parts once stopped the whole program inside the XML parser; now the file is refused.
TEST(WorkbookReaders, RefusePartsThatTheXmlParserCannotBeTrustedWith)
{
    using namespace HandMadePackage;
    QTemporaryDir dir;
    const QByteArray xlsxCell = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>%1</t></is></c></row>";
    const QByteArray odsCell = "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>%1</text:p>"
                               "</table:table-cell></table:table-row>";
    const struct
    {
        EWorkbookFormat format;
        QByteArray file;
        const char* name;
    } cases[] = {
        {EWorkbookFormat::Xlsx, Xlsx(SheetXml(QByteArray(xlsxCell).replace("%1", "&#x110000;"))), "bad.xlsx"},
        {EWorkbookFormat::Xlsx, Xlsx(SheetXml("<row r=\"1\"><c r=\"A1&#-1;\"><v>1</v></c></row>")), "attr.xlsx"},
        {EWorkbookFormat::Ods, Ods(OdsContent(QByteArray(odsCell).replace("%1", "&#1114112;"))), "bad.ods"},
        {EWorkbookFormat::Xlsx, Xlsx(SheetXml("<row r=\"1\"><c r=\"A1\" s=\"&amp;><v>1</v></c></row>")),
         "unclosed.xlsx"},
        {EWorkbookFormat::Ods, Ods(OdsContent("<table:table-row table:style-name=\"&amp;></table:table-row>")),
         "unclosed.ods"},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(WriteFile(path, c.file));
        std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(c.format);
        EXPECT_FALSE(reader->Load(path)) << c.name;
        EXPECT_TRUE(reader->ErrorString().contains(QStringLiteral(" at byte ")))
            << c.name << ": " << reader->ErrorString().toStdString();
    }

    // Well-formed references still read as their characters.
    const QString good = dir.filePath(QStringLiteral("good.xlsx"));
    ASSERT_TRUE(WriteFile(good, Xlsx(SheetXml(QByteArray(xlsxCell).replace("%1", "&#65;&#x42;&#x82F9;")))));
    ExpectText(*Load(EWorkbookFormat::Xlsx, good), 0, 0, QString::fromUtf8("AB苹"));
    const QString goodOds = dir.filePath(QStringLiteral("good.ods"));
    ASSERT_TRUE(WriteFile(goodOds, Ods(OdsContent(QByteArray(odsCell).replace("%1", "&#65;&#x42;")))));
    ExpectText(*Load(EWorkbookFormat::Ods, goodOds), 0, 0, QStringLiteral("AB"));
}

// A large sheet is refused for a fault as a small one is, whether the check or the parser finds it.
TEST(WorkbookReaders, ALargePartIsCheckedAsASmallOneIs)
{
    using namespace HandMadePackage;
    QTemporaryDir dir;
    QByteArray rows;
    for (int r = 1; r <= 30000; ++r)
        rows += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"A" + QByteArray::number(r) +
                "\" t=\"inlineStr\"><is><t>Apple</t></is></c></row>";
    const QByteArray badCell = "<row r=\"30001\"><c r=\"1A\"><v>1</v></c></row>";
    const struct
    {
        QByteArray sheet;
        const char* message; // empty: read
    } cases[] = {
        {rows, ""},
        {rows + "<row r=\"30001\"><c r=\"A30001\"><v>&bogus;</v></c></row>", "an undefined entity at byte "},
        {rows + badCell, "a malformed cell reference"},
        {badCell + rows + "<row>", "an end tag that does not match its start tag at byte "},
    };
    for (const auto& c : cases) {
        ASSERT_GT(c.sheet.size(), 1 << 20);
        const QString path = dir.filePath(QStringLiteral("large.xlsx"));
        ASSERT_TRUE(WriteFile(path, Xlsx(SheetXml(c.sheet))));
        std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(EWorkbookFormat::Xlsx);
        if (*c.message == '\0') {
            ASSERT_TRUE(reader->Load(path)) << reader->ErrorString().toStdString();
            EXPECT_EQ(reader->LastRow(), 30000);
            EXPECT_EQ(reader->Cell(29999, 0).text, QStringLiteral("Apple"));
            continue;
        }
        EXPECT_FALSE(reader->Load(path)) << c.message;
        EXPECT_TRUE(reader->ErrorString().contains(QString::fromLatin1(c.message)))
            << c.message << ": " << reader->ErrorString().toStdString();
    }
}

// A part must unpack to exactly the bytes its package declares for it, or the workbook would be read
// cut short or padded with zeros.
TEST(WorkbookReaders, RefusePackagesWhosePartsContradictWhatTheyDeclare)
{
    using namespace HandMadePackage;
    QTemporaryDir dir;
    const QByteArray sheet = SheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
    const QByteArray content = OdsContent("<table:table-row><table:table-cell office:value-type=\"float\" "
                                          "office:value=\"1\"/></table:table-row>");
    const auto inflatesToMore = [](SEntry entry) {
        entry.declaredSize -= 10;
        return entry;
    };
    const auto inflatesToLess = [](SEntry entry) {
        entry.declaredSize += 10;
        return entry;
    };
    const auto storedSizesDiffer = [](SEntry entry) {
        entry.declaredPackedSize = entry.declaredSize - 1;
        return entry;
    };
    const auto wrongChecksum = [](SEntry entry) {
        entry.crc ^= 1;
        return entry;
    };
    const struct
    {
        const char* name;
        SEntry sheetEntry;
        SEntry contentEntry;
        const char* reason;
    } cases[] = {
        {"more", inflatesToMore(Deflated("xl/worksheets/sheet1.xml", sheet)),
         inflatesToMore(Deflated("content.xml", content)), "unpacks to more than the"},
        {"less", inflatesToLess(Deflated("xl/worksheets/sheet1.xml", sheet)),
         inflatesToLess(Deflated("content.xml", content)), "bytes it declares"},
        {"stored", storedSizesDiffer(Stored("xl/worksheets/sheet1.xml", sheet)),
         storedSizesDiffer(Stored("content.xml", content)), "bytes packed and"},
        {"checksum", wrongChecksum(Deflated("xl/worksheets/sheet1.xml", sheet)),
         wrongChecksum(Stored("content.xml", content)), "does not match its checksum"},
    };
    for (const auto& c : cases) {
        const QString xlsx = dir.filePath(QStringLiteral("%1.xlsx").arg(QLatin1String(c.name)));
        const QString ods = dir.filePath(QStringLiteral("%1.ods").arg(QLatin1String(c.name)));
        ASSERT_TRUE(WriteFile(xlsx, Zip(XlsxParts(c.sheetEntry))));
        ASSERT_TRUE(WriteFile(ods, Zip(OdsParts(c.contentEntry))));
        for (const auto& [format, path] :
             {std::pair(EWorkbookFormat::Xlsx, xlsx), std::pair(EWorkbookFormat::Ods, ods)}) {
            std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(format);
            EXPECT_FALSE(reader->Load(path)) << c.name;
            const std::string error = reader->ErrorString().toStdString();
            EXPECT_NE(error.find("a damaged zip archive: "), std::string::npos) << error;
            EXPECT_NE(error.find(c.reason), std::string::npos) << error;
            EXPECT_EQ(reader->LastRow(), 0);
        }
    }
    // The same parts, sound, read.
    const QString sound = dir.filePath(QStringLiteral("sound.xlsx"));
    ASSERT_TRUE(WriteFile(sound, Zip(XlsxParts(Deflated("xl/worksheets/sheet1.xml", sheet)))));
    ExpectNumber(*Load(EWorkbookFormat::Xlsx, sound), 0, 0, 1);
}

// A large part is checked while it unpacks. When its archive turns out damaged, that is what the reader
// reports, not the fault the check found in the bytes unpacked before.
TEST(WorkbookReaders, ADamagedLargePartIsReportedAsDamagedRatherThanAsFaultyXml)
{
    using namespace HandMadePackage;
    QTemporaryDir dir;
    QByteArray rows = "<row r=\"1\"><c r=\"A1\"><v>&bogus;</v></c></row>";
    for (int r = 2; r <= 50000; ++r)
        rows += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"A" + QByteArray::number(r) + "\"><v>" +
                QByteArray::number(r * 7919 % 100003) + "</v></c></row>";
    const SEntry sheet = Deflated("xl/worksheets/sheet1.xml", SheetXml(rows));
    ASSERT_GT(sheet.declaredSize, 2u << 20); // unpacks in several chunks
    const QString faulty = dir.filePath(QStringLiteral("faulty.xlsx"));
    ASSERT_TRUE(WriteFile(faulty, Zip(XlsxParts(sheet))));
    std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(EWorkbookFormat::Xlsx);
    EXPECT_FALSE(reader->Load(faulty));
    EXPECT_TRUE(reader->ErrorString().contains(QStringLiteral("an undefined entity at byte ")))
        << reader->ErrorString().toStdString();

    const struct
    {
        const char* name;
        SEntry entry;
        const char* reason;
    } cases[] = {
        {"cut",
         [&] {
             SEntry e = sheet;
             e.data.truncate(e.data.size() / 2);
             return e;
         }(),
         "cannot be unpacked"},
        {"more",
         [&] {
             SEntry e = sheet;
             e.declaredSize -= 10;
             return e;
         }(),
         "unpacks to more than the"},
        {"less",
         [&] {
             SEntry e = sheet;
             e.declaredSize += 10;
             return e;
         }(),
         "bytes it declares"},
        {"checksum",
         [&] {
             SEntry e = sheet;
             e.crc ^= 1;
             return e;
         }(),
         "does not match its checksum"},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QStringLiteral("%1.xlsx").arg(QLatin1String(c.name)));
        ASSERT_TRUE(WriteFile(path, Zip(XlsxParts(c.entry))));
        reader = CreateWorkbookReader(EWorkbookFormat::Xlsx);
        EXPECT_FALSE(reader->Load(path)) << c.name;
        const std::string error = reader->ErrorString().toStdString();
        EXPECT_NE(error.find("a damaged zip archive: "), std::string::npos) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(error.find(" at byte "), std::string::npos) << error;
    }
}

// LibreOffice stores identical neighbours once with a repeat count, and repeats empty rows and cells
// to the sheet's edge.
TEST(OdsReader, RepeatedRowsAndCellsAreReadAsTheRowsAndCellsTheyStandFor)
{
    const auto reader = Load(EWorkbookFormat::Ods, FixturePath(QStringLiteral("repeated.ods")));
    EXPECT_EQ(reader->LastRow(), 5);
    EXPECT_EQ(reader->LastCol(), 5);
    for (int row = 1; row <= 3; ++row) {
        ExpectNumber(*reader, row, 0, 5);
        ExpectNumber(*reader, row, 1, 2.5);
        for (int column = 2; column <= 4; ++column)
            ExpectText(*reader, row, column, QStringLiteral("same  x"));
    }
    ExpectNumber(*reader, 4, 0, 0); // a boolean false
    ExpectText(*reader, 4, 1, QString());
    ExpectText(*reader, 4, 2, QStringLiteral("two\nlines"));
}

TEST(OdsReader, RepeatsStayWithinTheSheet)
{
    using namespace HandMadePackage;
    QTemporaryDir dir;
    const QByteArray cell = "<table:table-cell office:value-type=\"float\" office:value=\"1\"/>";
    // A row with a value repeated past the sheet's last row, and a cell repeated past its last column.
    const QByteArray pastRows =
        "<table:table-row table:number-rows-repeated=\"1048577\">" + cell + "</table:table-row>";
    const QByteArray pastColumns =
        "<table:table-row><table:table-cell table:number-columns-repeated=\"16384\"/>" + cell + "</table:table-row>";
    for (const QByteArray& rows : {pastRows, pastColumns}) {
        const QString path = dir.filePath(QStringLiteral("past.ods"));
        ASSERT_TRUE(WriteFile(path, Ods(OdsContent(rows))));
        std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(EWorkbookFormat::Ods);
        EXPECT_FALSE(reader->Load(path));
        EXPECT_TRUE(reader->ErrorString().contains(QStringLiteral("outside the sheet")))
            << reader->ErrorString().toStdString();
    }
    // A million repeats of a row with values count in full, but only the rows Import could take are kept.
    const QString many = dir.filePath(QStringLiteral("many.ods"));
    ASSERT_TRUE(WriteFile(many, Ods(OdsContent("<table:table-row table:number-rows-repeated=\"1000000\">"
                                               "<table:table-cell table:number-columns-repeated=\"20\" "
                                               "office:value-type=\"float\" office:value=\"1\"/>"
                                               "</table:table-row>"))));
    SImportLimits limits;
    limits.maxRows = 10;
    std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(EWorkbookFormat::Ods, limits);
    ASSERT_TRUE(reader->Load(many)) << reader->ErrorString().toStdString();
    EXPECT_EQ(reader->LastRow(), 1000000);
    EXPECT_EQ(reader->LastCol(), 20);
    ExpectNumber(*reader, 9, 19, 1);
}

// Texts that XML cannot hold, and texts that look like the escapes for them, read back unchanged, and
// the sheet holds them as escapes.
TEST(XlsxWriter, EveryTextRoundTrips)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("escapes.xlsx"));
    const QString texts[] = {
        QStringLiteral("a\u0001b"),
        QString(QChar(0xFFFE)),
        QStringLiteral("_x0041_"),
        QStringLiteral("_x005F_"),
        QStringLiteral("tab\tline\ncr\r"),
        QString(QChar(0xD800)) + QStringLiteral("x"),
        QString::fromUtf8("\xF0\x9F\x98\x80 _x12_ _xABCG_ _X0041_"),
        QStringLiteral("\u001F_x0000_\u0008"),
    };
    {
        CXlsxWriter writer(path);
        ASSERT_TRUE(writer.AddSheet(QStringLiteral("Sheet1")));
        for (int row = 0; row < int(std::size(texts)); ++row)
            ASSERT_TRUE(writer.WriteText(row, 0, texts[row]));
        ASSERT_TRUE(writer.Save()) << writer.ErrorString().toStdString();
    }
    const auto reader = Load(EWorkbookFormat::Xlsx, path);
    for (int row = 0; row < int(std::size(texts)); ++row)
        ExpectText(*reader, row, 0, texts[row]);

    CWorkbookPackage package{SImportLimits()};
    ASSERT_TRUE(package.Open(path));
    const CWorkbookPackage::Bytes xml = package.Part("xl/worksheets/sheet1.xml", true);
    const std::string_view sheet(xml.data(), xml.size() - 1);
    for (const char* written :
         {"a_x0001_b", "_xFFFE_", "_x005F_x0041_", "_x005F_x005F_", "_xD800_x", "_x001F__x005F_x0000__x0008_"})
        EXPECT_NE(sheet.find(written), std::string_view::npos) << written;
}

TEST(WorkbookReaders, RefuseFilesOfAnotherKindWithAReason)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("table.txt"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PLU,Price\n1,2\n");
    file.close();
    const QString missing = dir.filePath(QStringLiteral("missing.xlsx"));
    const QString xls = FixturePath(QStringLiteral("pricing_xlwt.xls"));
    const QString xlsx = FixturePath(QStringLiteral("pricing_openpyxl.xlsx"));
    const std::pair<EWorkbookFormat, QString> cases[] = {
        {EWorkbookFormat::Xlsx, text},    {EWorkbookFormat::Xls, text},    {EWorkbookFormat::Ods, text},
        {EWorkbookFormat::Xlsx, missing}, {EWorkbookFormat::Xls, missing}, {EWorkbookFormat::Xlsx, xls},
        {EWorkbookFormat::Xls, xlsx},     {EWorkbookFormat::Ods, xlsx},
    };
    for (const auto& [format, path] : cases) {
        std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(format);
        EXPECT_FALSE(reader->Load(path)) << path.toStdString();
        EXPECT_FALSE(reader->ErrorString().isEmpty()) << path.toStdString();
        EXPECT_EQ(reader->LastRow(), 0);
    }
}

TEST(XlsWriter, SharedStringsGoOnInContinueRecordsAndReadBack)
{
    // Long Latin and Chinese texts fill the shared string table well past one record, and two texts are
    // longer than a record by themselves; the reader must read every one of them back.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.xls"));
    CXlsWriter writer(path);
    ASSERT_TRUE(writer.AddSheet(QStringLiteral("Sheet1")));
    QStringList expected;
    for (int row = 0; row < 400; ++row) {
        QString text = row % 2 ? QString::fromUtf8("商品名称%1-").arg(row).repeated(row % 7 + 1)
                               : QStringLiteral("Latin text %1 ").arg(row).repeated(row % 9 + 1);
        if (row == 123)
            text = QString::fromUtf8("长").repeated(5000);
        if (row == 124)
            text = QStringLiteral("x").repeated(12000);
        expected.append(text);
        ASSERT_TRUE(writer.WriteText(row, 0, text));
        ASSERT_TRUE(writer.WriteText(row, 1, QStringLiteral("same")));
    }
    ASSERT_TRUE(writer.Save()) << writer.ErrorString().toStdString();

    const auto reader = Load(EWorkbookFormat::Xls, path);
    ASSERT_EQ(reader->LastRow(), 400);
    ASSERT_EQ(reader->LastCol(), 2);
    for (int row = 0; row < 400; ++row) {
        ASSERT_EQ(reader->Cell(row, 0).text, expected[row]) << row;
        ASSERT_EQ(reader->Cell(row, 1).text, QStringLiteral("same")) << row;
    }
}

TEST(XlsWriter, RefusesCellsOutsideASheet)
{
    CBiffWorkbookStream stream;
    EXPECT_TRUE(stream.AddText(65535, 255, u"last"));
    EXPECT_FALSE(stream.AddText(65536, 0, u"x"));
    EXPECT_FALSE(stream.AddText(0, 256, u"x"));
    EXPECT_EQ(stream.CellCount(), 1);
}

TEST(XlsWriter, SmallWorkbookReadsBack)
{
    // A stream this small lives in the compound file's short-sector area.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("small.xls"));
    CXlsWriter writer(path);
    ASSERT_TRUE(writer.AddSheet(QStringLiteral("Sheet1")));
    ASSERT_TRUE(writer.WriteText(0, 0, u"a"));
    ASSERT_TRUE(writer.WriteText(2, 3, QString::fromUtf8("Ä")));
    ASSERT_TRUE(writer.Save());
    const auto reader = Load(EWorkbookFormat::Xls, path);
    EXPECT_EQ(reader->LastRow(), 3);
    EXPECT_EQ(reader->LastCol(), 4);
    ExpectText(*reader, 0, 0, QStringLiteral("a"));
    ExpectText(*reader, 2, 3, QString::fromUtf8("Ä"));
    ExpectText(*reader, 1, 1, QString());
}

} // namespace

namespace {

// Sheet data of `rows` rows of four cells (a number, an inline text, a text with a reference and an
// escape, and a plain value), some 5 MB for 40,000 rows: large enough to be read in two halves.
QByteArray LargeSheetData(int rows, bool numberedRows = true)
{
    QByteArray data;
    for (int row = 1; row <= rows; ++row) {
        const QByteArray n = QByteArray::number(row);
        data += numberedRows ? "<row r=\"" + n + "\">" : QByteArray("<row>");
        data += "<c r=\"A" + n + "\"><v>" + n + "</v></c>";
        data += "<c r=\"B" + n + "\" t=\"inlineStr\"><is><t>name " + n + "</t></is></c>";
        data += "<c t=\"inlineStr\"><is><t>&#x82F9;_x0041_ " + n + "</t></is></c>";
        data += "<c t=\"str\"><v>padding padding padding padding padding " + n + "</v></c>";
        data += "</row>";
    }
    return data;
}

} // namespace

// A large sheet is read in two halves side by side; what it reads must be what reading it whole gives,
// also where the second half cannot stand on its own.
TEST(WorkbookReaders, ALargeSheetReadsAsAWholeOneDoes)
{
    using namespace HandMadePackage;
    QTemporaryDir dir;
    constexpr int kRows = 40000;
    const auto expectRows = [](const IWorkbookReader& reader, int rows, const char* name) {
        ASSERT_EQ(reader.LastRow(), rows) << name;
        ASSERT_EQ(reader.LastCol(), 4) << name;
        for (int row = 0; row < rows; row += 997) {
            const QString n = QString::number(row + 1);
            EXPECT_EQ(reader.Cell(row, 0).number, row + 1) << name << " row " << row;
            EXPECT_EQ(reader.Cell(row, 1).text, QStringLiteral("name ") + n) << name;
            EXPECT_EQ(reader.Cell(row, 2).text, QString::fromUtf8("苹A ") + n) << name;
            EXPECT_EQ(reader.Cell(row, 3).text, QStringLiteral("padding padding padding padding padding ") + n);
        }
    };

    const QString plain = dir.filePath(QStringLiteral("plain.xlsx"));
    ASSERT_TRUE(
        WriteFile(plain, Zip(XlsxParts(Deflated("xl/worksheets/sheet1.xml", SheetXml(LargeSheetData(kRows)))))));
    expectRows(*Load(EWorkbookFormat::Xlsx, plain), kRows, "plain");

    // Rows without their numbers count on the rows before them.
    const QString unnumbered = dir.filePath(QStringLiteral("unnumbered.xlsx"));
    ASSERT_TRUE(WriteFile(
        unnumbered, Zip(XlsxParts(Deflated("xl/worksheets/sheet1.xml", SheetXml(LargeSheetData(kRows, false)))))));
    expectRows(*Load(EWorkbookFormat::Xlsx, unnumbered), kRows, "unnumbered");

    // A row given twice, once in each half: its later cells win, as read whole.
    const QString twice = dir.filePath(QStringLiteral("twice.xlsx"));
    QByteArray twiceData = LargeSheetData(kRows);
    twiceData += "<row r=\"3\"><c r=\"B3\" t=\"inlineStr\"><is><t>later</t></is></c></row>";
    ASSERT_TRUE(WriteFile(twice, Zip(XlsxParts(Deflated("xl/worksheets/sheet1.xml", SheetXml(twiceData))))));
    const auto twiceReader = Load(EWorkbookFormat::Xlsx, twice);
    EXPECT_EQ(twiceReader->Cell(2, 1).text, QStringLiteral("later"));
    EXPECT_EQ(twiceReader->Cell(2, 0).number, 3);

    // A fault near the end is reported as it is for a small sheet.
    const QString broken = dir.filePath(QStringLiteral("broken.xlsx"));
    QByteArray brokenData = LargeSheetData(kRows);
    brokenData += "<row r=\"40001\"><c r=\"1A\"><v>1</v></c></row>";
    ASSERT_TRUE(WriteFile(broken, Zip(XlsxParts(Deflated("xl/worksheets/sheet1.xml", SheetXml(brokenData))))));
    const QString small = dir.filePath(QStringLiteral("small.xlsx"));
    ASSERT_TRUE(WriteFile(small, Xlsx(SheetXml("<row r=\"1\"><c r=\"1A\"><v>1</v></c></row>"))));
    std::unique_ptr<IWorkbookReader> brokenReader = CreateWorkbookReader(EWorkbookFormat::Xlsx);
    std::unique_ptr<IWorkbookReader> smallReader = CreateWorkbookReader(EWorkbookFormat::Xlsx);
    EXPECT_FALSE(brokenReader->Load(broken));
    EXPECT_FALSE(smallReader->Load(small));
    EXPECT_FALSE(brokenReader->ErrorString().isEmpty());
    EXPECT_EQ(brokenReader->ErrorString(), smallReader->ErrorString());
    EXPECT_EQ(brokenReader->LastRow(), 0);
}
