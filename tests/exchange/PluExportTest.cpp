#include "ExchangeTestSupport.h"

#include "app/Language.h"
#include "app/StringTable.h"
#include "exchange/CZipDirectory.h"
#include "exchange/PluExport.h"
#include "exchange/PluFileLayout.h"
#include "exchange/PluImport.h"
#include "exchange/Workbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using ExchangeTest::CImportedTable;
using ExchangeTest::EditorType;
using ExchangeTest::FillTable;
using ExchangeTest::STableFixture;
using ExchangeTest::Strings;
using ExchangeTest::Text;
using ExchangeTest::Texts;

constexpr EPluMode kPricing = EPluMode::Pricing;
constexpr EPluMode kCounting = EPluMode::Counting;
constexpr ELimitMode kNoLimits = ELimitMode::Off;
constexpr ELimitMode kLimits = ELimitMode::On;

QString ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A grid with rows of empty cells, as fast as a large table needs.
void AddEmptyRows(CGridModel& grid, int count, const QString& firstCell = QString())
{
    std::vector<SGridRow> rows(static_cast<size_t>(count));
    for (SGridRow& row : rows)
        row.cells = {QString(), firstCell};
    grid.InsertRows(grid.RowCount(), std::move(rows));
}

TEST(ExportTarget, PathRules)
{
    const std::tuple<const char*, const char*, EWorkbookFormat> cases[] = {
        {"table", "table.xls", EWorkbookFormat::Xls},
        {"table.xls", "table.xls", EWorkbookFormat::Xls},
        {"table.XLS", "table.XLS", EWorkbookFormat::Xls},
        {"table.XLSX", "table.XLSX", EWorkbookFormat::Xlsx},
        {"table.xlsx", "table.xlsx", EWorkbookFormat::Xlsx},
        {"table.xls.bak", "table.xls.bak.xls", EWorkbookFormat::Xls},
        {"table.csv", "table.csv.xls", EWorkbookFormat::Xls},
        {"/data/x.xlsx.d/table", "/data/x.xlsx.d/table.xls", EWorkbookFormat::Xls},
    };
    for (const auto& [chosen, path, format] : cases) {
        const SExportTarget target = ExportTargetFor(QString::fromLatin1(chosen));
        EXPECT_EQ(target.path, QString::fromLatin1(path)) << chosen;
        EXPECT_EQ(target.format, format) << chosen;
    }
}

struct SLayoutCase
{
    const char* name;
    EPluMode pluMode;
    ELimitMode limitMode;
    EWorkbookFormat format;
};

class ExportRoundTrip : public ::testing::TestWithParam<SLayoutCase>
{
};

// Export, then Import in the same layout: every written cell comes back as written, the pricing
// layout's Quantity pricing marks included, and the table's entry row (empty) leaves nothing in the file.
TEST_P(ExportRoundTrip, EveryLayoutReadsBackUnchanged)
{
    const SLayoutCase& c = GetParam();
    const QList<QStringList> rows = {
        Strings({"1", "2.5", "6901234567892", "苹果", "500g", "新鲜", "7", "√"}),
        Strings({"0002", "99999.99", "", "香蕉 \"big\", ripe", "", "", "", "×"}),
        Strings({"", "", "", "", "", "", "", "×"}),
        Strings({"4", "-3.7", "x", "Äpfel", "1kg", "line\nbreak", "30", "√"}),
    };
    STableFixture fixture(c.pluMode, c.limitMode);
    FillTable(fixture.table, rows);
    fixture.table.AppendNewRow();

    QTemporaryDir dir;
    const QString path =
        dir.filePath(c.format == EWorkbookFormat::Xls ? QStringLiteral("t.xls") : QStringLiteral("t.xlsx"));
    const SExportResult exported = ExportTable(fixture.table, SExportTarget{path, c.format});
    ASSERT_TRUE(exported.ok) << exported.error.toStdString();

    const int columns = PluLayout::ColumnCount(c.pluMode, c.limitMode) - 1;
    const SImportResult imported = ReadImportFile(path, c.pluMode, c.limitMode);
    ASSERT_TRUE(imported.ok) << imported.error.toStdString();
    EXPECT_EQ(imported.columnCount, columns);
    EXPECT_EQ(imported.limitMode, c.limitMode);
    ASSERT_EQ(imported.rows.size(), size_t(rows.size()));
    const CImportedTable table(imported);
    for (int row = 0; row < rows.size(); ++row) {
        EXPECT_EQ(Text(table.Row(row), 0), QString::number(row + 1));
        for (int column = 1; column <= columns; ++column) {
            EXPECT_EQ(Text(table.Row(row), column), rows[row][column - 1]) << row << "," << column;
            EXPECT_EQ(EditorType(table.Row(row), column), column == 8 ? CET_CHECK : CET_EDIT);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ExportRoundTrip,
    ::testing::Values(SLayoutCase{"PricingXls", kPricing, kNoLimits, EWorkbookFormat::Xls},
                      SLayoutCase{"PricingXlsx", kPricing, kNoLimits, EWorkbookFormat::Xlsx},
                      SLayoutCase{"CountingXls", kCounting, kNoLimits, EWorkbookFormat::Xls},
                      SLayoutCase{"CountingXlsx", kCounting, kNoLimits, EWorkbookFormat::Xlsx},
                      SLayoutCase{"CountingLimitsXls", kCounting, kLimits, EWorkbookFormat::Xls},
                      SLayoutCase{"CountingLimitsXlsx", kCounting, kLimits, EWorkbookFormat::Xlsx}),
    [](const ::testing::TestParamInfo<SLayoutCase>& info) { return std::string(info.param.name); });

class PluExport : public ::testing::Test
{
protected:
    std::unique_ptr<IWorkbookReader> ReadBack(const QString& path, EWorkbookFormat format)
    {
        std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(format);
        EXPECT_TRUE(reader->Load(path)) << reader->ErrorString().toStdString();
        return reader;
    }

    QStringList FolderEntries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
};

TEST_F(PluExport, HeaderHoldsTheTitlesOfTheLanguageInForceCutTo39)
{
    const int previous = Language::LanguageInForce();
    Language::SetLanguageInForce(1031); // German
    STableFixture fixture(kCounting, kLimits);
    FillTable(fixture.table, {});
    Language::SetLanguageInForce(previous);
    CGridModel& grid = fixture.grid;
    const QString longTitle = QString::fromUtf8("很长的标题").repeated(9); // 45 characters
    grid.DeleteColumn(7);
    grid.InsertColumn(7, longTitle, 90);

    for (const EWorkbookFormat format : {EWorkbookFormat::Xls, EWorkbookFormat::Xlsx}) {
        const QString path =
            m_dir.filePath(format == EWorkbookFormat::Xls ? QStringLiteral("h.xls") : QStringLiteral("h.xlsx"));
        ASSERT_TRUE(ExportTable(fixture.table, SExportTarget{path, format}).ok);
        const auto reader = ReadBack(path, format);
        EXPECT_EQ(reader->LastRow(), 1); // the header only: the table has no rows
        EXPECT_EQ(reader->LastCol(), 7);
        EXPECT_EQ(reader->Cell(0, 0).text, LoadString(StringId::PluNo, 1031));
        EXPECT_EQ(reader->Cell(0, 1).text, LoadString(StringId::UnitWeight, 1031));
        EXPECT_EQ(reader->Cell(0, 5).text, LoadString(StringId::Hi, 1031));
        EXPECT_EQ(reader->Cell(0, 6).text, longTitle.left(39));
        EXPECT_FALSE(reader->Cell(0, 6).isNumber);
    }
    EXPECT_EQ(PluFileLayout::HeaderTitle(QStringLiteral("x").repeated(38) + QString::fromUtf8("😀")),
              QStringLiteral("x").repeated(38)); // never half a surrogate pair
}

TEST_F(PluExport, PricingExportWritesQuantityPricingAsOneOrZero)
{
    STableFixture fixture(kPricing, kNoLimits);
    FillTable(fixture.table, {Strings({"1", "2.5", "3", "n", "s", "r", "7", "√"}), Strings({"2", "1"}),
                              Strings({"", "", "", "", "", "", "", "√"})});
    // The entry row carries no mark of its own, and an empty row writes no cell at all.
    fixture.table.AppendNewRow();
    const QString path = m_dir.filePath(QStringLiteral("p.xlsx"));
    ASSERT_TRUE(ExportTable(fixture.table, SExportTarget{path, EWorkbookFormat::Xlsx}).ok);
    const auto reader = ReadBack(path, EWorkbookFormat::Xlsx);
    EXPECT_EQ(reader->LastCol(), 8);
    EXPECT_EQ(reader->LastRow(), 4);
    EXPECT_EQ(reader->Cell(0, 7).text, LoadString(StringId::QuantityPricing));
    EXPECT_EQ(reader->Cell(1, 1).text, QStringLiteral("2.5"));
    EXPECT_FALSE(reader->Cell(1, 1).isNumber); // numbers are written as text
    EXPECT_EQ(reader->Cell(1, 7).text, QStringLiteral("1"));
    EXPECT_EQ(reader->Cell(2, 7).text, QStringLiteral("0"));
    EXPECT_EQ(reader->Cell(3, 7).text, QStringLiteral("1")); // a mark alone is content

    // Eight columns are not the counting layout with limits.
    const SImportResult counting = ReadImportFile(path, kCounting, kLimits);
    ASSERT_TRUE(counting.ok);
    EXPECT_EQ(counting.limitMode, kNoLimits);
    const CImportedTable table(counting);
    EXPECT_EQ(Texts(table.Row(0), 6), Strings({"1", "1", "2.5", "3", "n", "s"}));
}

TEST_F(PluExport, XlsRefusesMoreRowsThanASheetHoldsBeforeWriting)
{
    const QString path = m_dir.filePath(QStringLiteral("big.xls"));
    STableFixture fixture(kCounting, kNoLimits);
    FillTable(fixture.table, {});
    CGridModel& grid = fixture.grid;
    AddEmptyRows(grid, 65535, QStringLiteral("1"));
    ASSERT_TRUE(ExportTable(fixture.table, SExportTarget{path, EWorkbookFormat::Xls}).ok);
    EXPECT_EQ(ReadBack(path, EWorkbookFormat::Xls)->LastRow(), 65536);

    AddEmptyRows(grid, 1, QStringLiteral("1"));
    const QString refusedPath = m_dir.filePath(QStringLiteral("bigger.xls"));
    const SExportResult refused = ExportTable(fixture.table, SExportTarget{refusedPath, EWorkbookFormat::Xls});
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.error.contains(refusedPath));
    EXPECT_TRUE(refused.error.contains(QStringLiteral("65,536")));
    EXPECT_TRUE(refused.error.contains(QStringLiteral(".xlsx")));
    EXPECT_EQ(FolderEntries(), QStringList(QStringLiteral("big.xls")));

    // The same table fits an .xlsx sheet.
    const QString xlsx = m_dir.filePath(QStringLiteral("big.xlsx"));
    ASSERT_TRUE(ExportTable(fixture.table, SExportTarget{xlsx, EWorkbookFormat::Xlsx}).ok);
    EXPECT_EQ(ReadBack(xlsx, EWorkbookFormat::Xlsx)->LastRow(), 65537);
}

TEST_F(PluExport, XlsxPartsAreDeflatedAtTheFastestLevel)
{
    STableFixture fixture(kPricing, kNoLimits);
    FillTable(fixture.table, {Strings({"1", "2.5", "3", "name"})});
    const QString path = m_dir.filePath(QStringLiteral("fast.xlsx"));
    ASSERT_TRUE(ExportTable(fixture.table, SExportTarget{path, EWorkbookFormat::Xlsx}).ok);
    CZipDirectory directory;
    ASSERT_TRUE(directory.Read(path));
    const CZipDirectory::SEntry* sheet = directory.Find("xl/worksheets/sheet1.xml");
    ASSERT_NE(sheet, nullptr);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), qsizetype(sheet->localHeaderOffset) + 8);
    // Bits 1 and 2 of a deflated entry's flags tell its level; both set is the fastest.
    const auto flags = quint8(bytes[qsizetype(sheet->localHeaderOffset) + 6]);
    EXPECT_EQ(sheet->method, 8);
    EXPECT_EQ(flags & 0x6, 0x6);
}

TEST_F(PluExport, ALargeTableReadsBackWholeAndInOrder)
{
    // Large enough for the rows to be built in several parts.
    constexpr int kRows = 40000;
    STableFixture fixture(kCounting, kLimits);
    FillTable(fixture.table, {});
    CGridModel& grid = fixture.grid;
    std::vector<SGridRow> rows(static_cast<size_t>(kRows));
    for (int r = 0; r < kRows; ++r) {
        rows[size_t(r)].cells = {QString::number(r + 1),
                                 QString::number(r),
                                 QStringLiteral("%1.5").arg(r),
                                 QString(),
                                 QString::fromUtf8("名称%1").arg(r),
                                 QString(),
                                 QString(),
                                 QString::number(-r)};
    }
    grid.InsertRows(0, std::move(rows));
    for (const EWorkbookFormat format : {EWorkbookFormat::Xls, EWorkbookFormat::Xlsx}) {
        const QString path =
            m_dir.filePath(format == EWorkbookFormat::Xls ? QStringLiteral("l.xls") : QStringLiteral("l.xlsx"));
        ASSERT_TRUE(ExportTable(fixture.table, SExportTarget{path, format}).ok);
        const SImportResult result = ReadImportFile(path, kCounting, kNoLimits);
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(result.limitMode, kLimits);
        ASSERT_EQ(result.rows.size(), size_t(kRows));
        const CImportedTable table(result);
        for (int r = 0; r < kRows; ++r) {
            const ExchangeTest::SRowRef row = table.Row(r);
            ASSERT_EQ(Texts(row, 8),
                      QStringList({QString::number(r + 1), QString::number(r), QStringLiteral("%1.5").arg(r), QString(),
                                   QString::fromUtf8("名称%1").arg(r), QString(), QString(), QString::number(-r)}))
                << r;
            ASSERT_EQ(EditorType(row, 7), CET_EDIT) << r;
        }
    }
}

TEST_F(PluExport, AFailedExportLeavesTheExistingFileAndNoTemporaryFile)
{
    STableFixture fixture(kPricing, kNoLimits);
    FillTable(fixture.table, {Strings({"1", "2"}), Strings({"2", "3", "", QByteArray(40000, 'x').constData()})});
    for (const char* name : {"old.xls", "old.xlsx"}) {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        WriteAll(path, "precious");
        const SExportResult result = ExportTable(fixture.table, ExportTargetFor(path));
        EXPECT_FALSE(result.ok) << name;
        EXPECT_TRUE(result.error.contains(path));
        EXPECT_TRUE(result.error.contains(QStringLiteral("32767"))) << result.error.toStdString();
        EXPECT_EQ(ReadAll(path), QStringLiteral("precious"));
    }
    EXPECT_EQ(FolderEntries(), Strings({"old.xls", "old.xlsx"}));

    const SExportResult noFolder =
        ExportTable(fixture.table, ExportTargetFor(m_dir.filePath(QStringLiteral("missing/t.xls"))));
    EXPECT_FALSE(noFolder.ok);
    EXPECT_TRUE(noFolder.error.contains(QStringLiteral("does not exist")));
}

TEST_F(PluExport, ReplacesAnExistingFileWithItsPermissionsOrGivesANewFileTheUsualOnes)
{
    STableFixture fixture(kPricing, kNoLimits);
    FillTable(fixture.table, {Strings({"1", "2"})});
    const QString existing = m_dir.filePath(QStringLiteral("shared.xls"));
    WriteAll(existing, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(existing).constData(), 0640), 0);
    ASSERT_TRUE(ExportTable(fixture.table, ExportTargetFor(existing)).ok);
    EXPECT_EQ(ReadBack(existing, EWorkbookFormat::Xls)->Cell(1, 0).text, QStringLiteral("1"));
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(existing).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    const mode_t mask = ::umask(022);
    const QString fresh = m_dir.filePath(QStringLiteral("fresh.xlsx"));
    const bool ok = ExportTable(fixture.table, ExportTargetFor(fresh)).ok;
    ::umask(mask);
    ASSERT_TRUE(ok);
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(FolderEntries(), Strings({"fresh.xlsx", "shared.xls"}));
}

} // namespace
