#include "HandMadePackage.h"

#include "exchange/ImportLimits.h"
#include "exchange/PluImport.h"
#include "exchange/Workbook.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

using namespace HandMadePackage;
constexpr EPluMode kCounting = EPluMode::Counting;
constexpr EPluMode kPricing = EPluMode::Pricing;

class ImportLimits : public ::testing::Test
{
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteFile(path, bytes));
        return path;
    }

    // The import is refused with a message that names the file and says why.
    static void ExpectRefused(const SImportResult& result, const QString& path, const char* reason)
    {
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.rows.empty());
        EXPECT_TRUE(result.error.contains(path)) << result.error.toStdString();
        EXPECT_TRUE(result.error.contains(QString::fromUtf8(reason))) << result.error.toStdString();
    }

    QTemporaryDir m_dir;
};

long PeakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST_F(ImportLimits, AGigabyteTextFileIsRefusedUnread)
{
    // A sparse file: a gigabyte on paper, nothing on disk.
    const QString path = m_dir.filePath(QStringLiteral("huge.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(qint64(1) << 30));
    file.close();
    const long peakBefore = PeakResidentKb();
    ExpectRefused(ReadImportFile(path, kPricing, ELimitMode::Off), path, "larger than 256 MB");
    EXPECT_LT(PeakResidentKb() - peakBefore, 64 * 1024);
}

TEST_F(ImportLimits, TextFilesKeepToLoweredBounds)
{
    SImportLimits limits;
    limits.maxRows = 3; // the header and two data lines
    limits.maxFileBytes = 40;
    const struct
    {
        const char* name;
        QByteArray text;
        const char* refusal; // nullptr when the file is read
    } cases[] = {
        {"three rows", "h\n1,2\n3,4\n", nullptr},
        {"four rows", "h\n1,2\n3,4\n5,6\n", "more than 3 rows"},
        {"a quoted line break is one row", "h\n1,\"2\n3\"\n4,5\n", nullptr},
        {"40 bytes", QByteArray("h\n") + QByteArray(38, 'x'), nullptr},
        {"41 bytes", QByteArray("h\n") + QByteArray(39, 'x'), "larger than 40 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Write(QStringLiteral("table.csv"), c.text);
        const SImportResult result = ReadImportFile(path, kPricing, ELimitMode::Off, limits);
        if (c.refusal)
            ExpectRefused(result, path, c.refusal);
        else
            EXPECT_TRUE(result.ok) << result.error.toStdString();
    }
}

TEST_F(ImportLimits, OneFarAwayCellDecidesTheRowsUpToTheBound)
{
    SImportLimits limits;
    limits.maxRows = 1000;
    const QByteArray header = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>PLU</t></is></c></row>";
    const struct
    {
        const char* name;
        QByteArray file;
        const char* extension;
        const char* refusal;
        int rows;
    } cases[] = {
        {".xlsx, row 1000", Xlsx(SheetXml(header + "<row r=\"1000\"><c r=\"B1000\"><v>1</v></c></row>")), "xlsx",
         nullptr, 999},
        {".xlsx, row 1001", Xlsx(SheetXml(header + "<row r=\"1001\"><c r=\"B1001\"><v>1</v></c></row>")), "xlsx",
         "more than 1,000 rows", 0},
        {".xlsx, a used range that claims the whole sheet",
         Xlsx(SheetXml(header + "<row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v></c></row>", "A1:XFD1048576")), "xlsx",
         "more than 1,000 rows", 0},
        {".xlsx, a cell beyond the sheet", Xlsx(SheetXml(header + "<row><c r=\"A1048577\"><v>1</v></c></row>")), "xlsx",
         "not a readable .xlsx workbook", 0},
        {".ods, a million repeated rows before one cell",
         Ods(OdsContent("<table:table-row table:number-rows-repeated=\"1048575\"><table:table-cell/></table:table-row>"
                        "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"1\"/>"
                        "</table:table-row>")),
         "ods", "more than 1,000 rows", 0},
        // The cell lies right of the columns that are read; it still decides the rows.
        {".ods, one cell in the last row and column",
         Ods(OdsContent("<table:table-row table:number-rows-repeated=\"1048575\"><table:table-cell/></table:table-row>"
                        "<table:table-row><table:table-cell table:number-columns-repeated=\"16383\"/>"
                        "<table:table-cell office:value-type=\"float\" office:value=\"1\"/></table:table-row>")),
         "ods", "more than 1,000 rows", 0},
        {".ods, 500 rows, the last cell far right",
         Ods(OdsContent("<table:table-row table:number-rows-repeated=\"499\"><table:table-cell/></table:table-row>"
                        "<table:table-row><table:table-cell table:number-columns-repeated=\"30\"/>"
                        "<table:table-cell office:value-type=\"float\" office:value=\"1\"/></table:table-row>")),
         "ods", nullptr, 499},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Write(QStringLiteral("table.") + QLatin1String(c.extension), c.file);
        const SImportResult result = ReadImportFile(path, kPricing, ELimitMode::Off, limits);
        if (c.refusal) {
            ExpectRefused(result, path, c.refusal);
        } else {
            ASSERT_TRUE(result.ok) << result.error.toStdString();
            EXPECT_EQ(int(result.rows.size()), c.rows);
        }
    }
}

TEST_F(ImportLimits, CellsRightOfTheColumnBoundAreNotKeptButCount)
{
    // 16,384 columns wide: one cell in the last column of the sheet, another repeated across it.
    const QByteArray xlsx = Xlsx(SheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"T1\"><v>20</v></c>"
                                          "<c r=\"U1\"><v>21</v></c><c r=\"XFD1\"><v>16384</v></c></row>"));
    const QByteArray ods = Ods(OdsContent(
        "<table:table-row><table:table-cell table:number-columns-repeated=\"16384\" office:value-type=\"float\" "
        "office:value=\"7\"/></table:table-row>"));
    for (const auto& [format, file, extension] :
         {std::tuple{EWorkbookFormat::Xlsx, xlsx, "xlsx"}, std::tuple{EWorkbookFormat::Ods, ods, "ods"}}) {
        SCOPED_TRACE(extension);
        const QString path = Write(QStringLiteral("wide.") + QLatin1String(extension), file);
        const std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(format);
        ASSERT_TRUE(reader->Load(path)) << reader->ErrorString().toStdString();
        EXPECT_EQ(reader->LastCol(), 16384);
        EXPECT_TRUE(reader->Cell(0, 19).isNumber);
        EXPECT_FALSE(reader->Cell(0, 20).isNumber);
        const SImportResult result = ReadImportFile(path, kCounting, ELimitMode::On);
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(result.columnCount, 16384);
        EXPECT_EQ(result.limitMode, ELimitMode::Off);
    }
}

TEST_F(ImportLimits, PackagesThatUnpackToMoreThanAPartMayHoldAreRefused)
{
    SImportLimits small;
    small.maxPartBytes = qint64(8) << 20;
    SEntry claimsGigabytes = Stored("xl/worksheets/sheet1.xml", SheetXml(""));
    claimsGigabytes.declaredSize = 0xC0000000u; // 3 GB on paper
    SEntry odsClaimsGigabytes = Stored("content.xml", OdsContent(""));
    odsClaimsGigabytes.declaredSize = 0xC0000000u;
    // A stored part is read into a buffer of its packed size.
    SEntry packedGigabytes = Stored("_rels/.rels", "<Relationships/>");
    packedGigabytes.declaredPackedSize = 0xFFFFFF3Fu;
    const struct
    {
        const char* name;
        QByteArray file;
        const char* extension;
        SImportLimits limits;
        const char* refusal;
    } cases[] = {
        {"a sheet that claims 3 GB", Zip(XlsxParts(claimsGigabytes)), "xlsx", SImportLimits(),
         "xl/worksheets/sheet1.xml unpacks to 3 GB; Import reads parts of up to 512 MB"},
        {"content that claims 3 GB", Zip(OdsParts(odsClaimsGigabytes)), "ods", SImportLimits(),
         "content.xml unpacks to 3 GB"},
        {"a part that claims 4 GB packed", Zip({packedGigabytes}), "xlsx", SImportLimits(),
         "a damaged zip archive: its part _rels/.rels claims more bytes than the archive holds"},
        {"an .ods part that claims 4 GB packed", Zip({packedGigabytes}), "ods", SImportLimits(),
         "a damaged zip archive: its part _rels/.rels claims more bytes than the archive holds"},
        {"a sheet of 9 MB of zeros", Zip(XlsxParts(DeflatedZeros("xl/worksheets/sheet1.xml", qint64(9) << 20))), "xlsx",
         small, "unpacks to 9 MB; Import reads parts of up to 8 MB"},
        {"shared strings of 9 MB of zeros", Zip([] {
             std::vector<SEntry> parts = XlsxParts(Stored("xl/worksheets/sheet1.xml", SheetXml("")));
             parts.push_back(DeflatedZeros("xl/sharedStrings.xml", qint64(9) << 20));
             return parts;
         }()),
         "xlsx", small, "xl/sharedStrings.xml unpacks to 9 MB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Write(QStringLiteral("bomb.") + QLatin1String(c.extension), c.file);
        ExpectRefused(ReadImportFile(path, kPricing, ELimitMode::Off, c.limits), path, c.refusal);
    }
}

TEST_F(ImportLimits, APartThatUnpacksToMoreThanItDeclaresTakesNoMoreMemory)
{
    // 512 MB of zeros that declare 100 bytes: the reader's buffer is the declared size.
    SEntry liar = DeflatedZeros("xl/worksheets/sheet1.xml", qint64(512) << 20);
    liar.declaredSize = 100;
    const QString path = Write(QStringLiteral("liar.xlsx"), Zip(XlsxParts(liar)));
    const long peakBefore = PeakResidentKb();
    const SImportResult result = ReadImportFile(path, kPricing, ELimitMode::Off);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(path)) << result.error.toStdString();
    EXPECT_LT(PeakResidentKb() - peakBefore, 64 * 1024);
}

} // namespace
