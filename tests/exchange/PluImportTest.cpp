#include "ExchangeTestSupport.h"

#include "app/Language.h"
#include "exchange/DecimalComma.h"
#include "exchange/PluFileLayout.h"
#include "exchange/PluImport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using ExchangeTest::CImportedTable;
using ExchangeTest::EditorType;
using ExchangeTest::FixturePath;
using ExchangeTest::Strings;
using ExchangeTest::Text;
using ExchangeTest::Texts;

constexpr EPluMode kPricing = EPluMode::Pricing;
constexpr EPluMode kCounting = EPluMode::Counting;

ELimitMode Limits(int setting)
{
    return PluLayout::LimitModeFromSetting(setting);
}

const QString kChecked = QString::fromUtf8("√");
const QString kUnchecked = QString::fromUtf8("×");

class PluImport : public ::testing::Test
{
protected:
    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    SImportResult ReadCsv(const QByteArray& bytes, EPluMode pluMode, int limitMode = 0)
    {
        SImportResult result =
            ReadImportFile(WriteFile(QStringLiteral("table.csv"), bytes), pluMode, Limits(limitMode));
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        return result;
    }

    QTemporaryDir m_dir;
};

TEST(ImportRoute, FollowsTheLastFourCharacters)
{
    const std::pair<const char*, EImportRoute> cases[] = {
        {"table.csv", EImportRoute::Text},     {"table.Csv", EImportRoute::Text}, {"table.CSV", EImportRoute::Text},
        {"table.xls", EImportRoute::Xls},      {"table.XLS", EImportRoute::Xls},  {"table.xlsx", EImportRoute::Xlsx},
        {"table.ods", EImportRoute::Ods},      {"table.txt", EImportRoute::Xlsx}, {"table", EImportRoute::Xlsx},
        {"dir.csv/table", EImportRoute::Xlsx}, {"a.xls.bak", EImportRoute::Xlsx}, {"csv", EImportRoute::Xlsx},
    };
    for (const auto& [path, route] : cases)
        EXPECT_EQ(ImportRouteFor(QString::fromLatin1(path)), route) << path;
}

TEST_F(PluImport, RoutesByExtensionAndRefusesATextFileThatIsNoWorkbook)
{
    const QByteArray csv = "PLU No.,Unit price\n1,2.5\n";
    for (const char* name : {"table.Csv", "table.CSV"}) {
        const SImportResult result = ReadImportFile(WriteFile(QString::fromLatin1(name), csv), kPricing, Limits(0));
        ASSERT_TRUE(result.ok) << name;
        ASSERT_EQ(result.rows.size(), 1u);
        EXPECT_EQ(Text(CImportedTable(result).Row(int(0)), 2), QStringLiteral("2.5")) << name;
    }
    // The same text under a .txt name goes the .xlsx way and is refused, naming the file and the reason.
    const QString txt = WriteFile(QStringLiteral("table.txt"), csv);
    const SImportResult refused = ReadImportFile(txt, kPricing, Limits(0));
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.rows.empty());
    EXPECT_TRUE(refused.error.contains(txt));
    EXPECT_TRUE(refused.error.contains(QStringLiteral(".xlsx")));

    // A workbook under an .xls name that is no .xls file.
    const QString xls = WriteFile(QStringLiteral("table.XLS"), csv);
    EXPECT_FALSE(ReadImportFile(xls, kPricing, Limits(0)).ok);
}

TEST_F(PluImport, ATextFileThatCannotBeOpenedSaysOpenFileFailFirst)
{
    const QString missing = m_dir.filePath(QStringLiteral("gone.csv"));
    const SImportResult result = ReadImportFile(missing, kPricing, Limits(0));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith(QStringLiteral("Open file fail\n")));
    EXPECT_TRUE(result.error.contains(missing));
}

TEST_F(PluImport, LimitsFollowTheColumnCountOnlyWhenCounting)
{
    struct SCase
    {
        EPluMode pluMode;
        int fields;
        int currentLimit;
        int wantedLimit;
    };
    const SCase cases[] = {
        {kCounting, 7, 0, 1}, {kCounting, 7, 1, 1}, {kCounting, 5, 1, 0}, {kCounting, 8, 1, 0},
        {kCounting, 6, 0, 0}, {kPricing, 7, 1, 0},  {kPricing, 9, 0, 0},
    };
    for (const SCase& c : cases) {
        const QByteArray header = QByteArray(c.fields - 1, ',') + "\n";
        const SImportResult result = ReadCsv(header + "1,2,3,4,5,6,7,8,9\n", c.pluMode, c.currentLimit);
        EXPECT_EQ(result.columnCount, c.fields);
        EXPECT_EQ(PluLayout::SettingOf(result.limitMode), c.wantedLimit) << int(c.pluMode) << " " << c.fields;
        ASSERT_EQ(result.rows.size(), 1u);
        // The row has exactly the columns of the layout the file asks for, each with its editor.
        const CImportedTable table(result);
        const int tableColumns = PluLayout::ColumnCount(c.pluMode, Limits(c.wantedLimit));
        EXPECT_EQ(table.grid.ColumnCount(), tableColumns);
        EXPECT_NE(EditorType(table.Row(0), tableColumns - 1), -1);
    }
}

TEST_F(PluImport, AHeaderOfTwentyFiveFieldsCountsAsTwenty)
{
    const SImportResult result = ReadCsv(QByteArray(24, ',') + "\n" + QByteArray(24, ',') + "\n", kCounting, 1);
    EXPECT_EQ(result.columnCount, 20);
    EXPECT_EQ(PluLayout::SettingOf(result.limitMode), 0);
}

TEST_F(PluImport, AnEmptyTextFileKeepsTheLimitsAndGivesNoRows)
{
    const SImportResult empty = ReadCsv(QByteArray(), kCounting, 1);
    EXPECT_EQ(empty.columnCount, -1);
    EXPECT_EQ(PluLayout::SettingOf(empty.limitMode), 1);
    EXPECT_TRUE(empty.rows.empty());

    const SImportResult headerOnly = ReadCsv("a,b,c,d,e,f,g\n", kCounting, 0);
    EXPECT_EQ(PluLayout::SettingOf(headerOnly.limitMode), 1);
    EXPECT_TRUE(headerOnly.rows.empty());
}

TEST_F(PluImport, TextLinesFillCellsAsWritten)
{
    const SImportResult result = ReadCsv("PLU,Price,Id,Name,Spec,Remark,Days,Qty,extra\n"
                                         "5,1.25,\"pear, green\",z\n"                  // short
                                         " 7 ,0.50,a,b,c,d,e,yes,more,fields,beyond\n" // long
                                         "\n"                                          // empty
                                         "8,9,,,,,,0\n"
                                         "9,9,,,,,,\n"
                                         "10,9,,,,,,\xC3\x97\n"
                                         "11,9,,,,,,0.0\n",
                                         kPricing);
    ASSERT_EQ(result.rows.size(), 7u);
    const CImportedTable table(result);
    const ExchangeTest::SRowRef shortLine = table.Row(0);
    EXPECT_EQ(Texts(shortLine, 6), QStringList({QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("1.25"),
                                                QStringLiteral("pear, green"), QStringLiteral("z"), QString()}));
    // Cells the line does not reach are edited like those of a typed row, the mark included.
    EXPECT_EQ(EditorType(shortLine, 4), CET_EDIT);
    EXPECT_EQ(EditorType(shortLine, 5), CET_EDIT);
    EXPECT_EQ(EditorType(shortLine, 7), CET_EDIT);
    EXPECT_EQ(EditorType(shortLine, 8), CET_CHECK);
    EXPECT_EQ(Text(shortLine, 8), kUnchecked);

    const ExchangeTest::SRowRef longLine = table.Row(1);
    EXPECT_EQ(Texts(longLine, 9), QStringList({QStringLiteral("2"), QStringLiteral(" 7 "), QStringLiteral("0.50"),
                                               QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                               QStringLiteral("d"), QStringLiteral("e"), kChecked}));
    EXPECT_EQ(EditorType(longLine, 8), CET_CHECK);

    const ExchangeTest::SRowRef emptyLine = table.Row(2);
    EXPECT_EQ(Text(emptyLine, 0), QStringLiteral("3"));
    EXPECT_EQ(EditorType(emptyLine, 0), -1); // Sr.No. is never edited
    EXPECT_EQ(EditorType(emptyLine, 1), CET_EDIT);
    EXPECT_EQ(EditorType(emptyLine, 2), CET_EDIT);
    EXPECT_EQ(EditorType(emptyLine, 8), CET_CHECK);

    EXPECT_EQ(Text(table.Row(3), 8), kUnchecked); // "0"
    EXPECT_EQ(Text(table.Row(4), 8), kUnchecked); // empty
    EXPECT_EQ(Text(table.Row(5), 8), kUnchecked); // the mark × itself
    EXPECT_EQ(Text(table.Row(6), 8), kChecked);   // "0.0" is not "0"
    for (size_t i = 3; i < 7; ++i) {
        EXPECT_EQ(EditorType(table.Row(int(i)), 8), CET_CHECK);
        EXPECT_EQ(Text(table.Row(int(i)), 0), QString::number(i + 1));
    }
}

// Text files as spreadsheet programs save them in the shops' languages.
TEST_F(PluImport, ReadsTheTextFilesOfSpreadsheetPrograms)
{
    const int previous = Language::LanguageInForce();
    Language::SetLanguageInForce(1031); // German
    const SImportResult german =
        ReadImportFile(FixturePath(QStringLiteral("german_excel.csv")), kPricing, ELimitMode::Off);
    Language::SetLanguageInForce(previous);
    ASSERT_TRUE(german.ok) << german.error.toStdString();
    EXPECT_EQ(german.columnCount, 8);
    ASSERT_EQ(german.rows.size(), 3u);
    // Decimal commas become points in Unit price only; a quoted semicolon stays in its field.
    const CImportedTable germanTable(german);
    EXPECT_EQ(Texts(germanTable.Row(0), 9),
              Strings({"1", "1", "3.5", "4006381333931", "Äpfel", "kg", "frisch", "7", "×"}));
    EXPECT_EQ(Texts(germanTable.Row(1), 9), Strings({"2", "2", "1234.56", "42", "Birne; grün", "500g", "", "30", "√"}));
    EXPECT_EQ(Texts(germanTable.Row(2), 9), Strings({"3", "3", "12", "", "Käse 3,5%", "", "", "", "×"}));

    struct SCase
    {
        const char* fixture;
        QStringList header;
        QStringList row;
    };
    const SCase cases[] = {
        // The "sep=" line is no header; the Goods Id column keeps its comma, as it holds no decimal.
        {"sep_line.csv", {}, Strings({"1", "7", "0.25", "1,5", "a,b"})},
        {"tab_separated.csv", {}, Strings({"1", "8", "2.75", "9", "tab\there"})},
        {"old_mac.csv", {}, Strings({"1", "1", "2.5", "3", "first"})},
    };
    for (const SCase& c : cases) {
        const SImportResult result =
            ReadImportFile(FixturePath(QString::fromLatin1(c.fixture)), kCounting, ELimitMode::On);
        ASSERT_TRUE(result.ok) << c.fixture;
        EXPECT_EQ(result.columnCount, 4) << c.fixture;
        ASSERT_FALSE(result.rows.empty()) << c.fixture;
        EXPECT_EQ(Texts(CImportedTable(result).Row(0), 5), c.row) << c.fixture;
    }
    const SImportResult mac = ReadImportFile(FixturePath(QStringLiteral("old_mac.csv")), kCounting, ELimitMode::On);
    ASSERT_EQ(mac.rows.size(), 2u);
    EXPECT_EQ(Text(CImportedTable(mac).Row(1), 4), QStringLiteral("second"));
}

TEST_F(PluImport, DecimalCommasReachTheTableWithAPoint)
{
    const std::pair<const char*, const char*> cases[] = {
        {"3,5", "3.5"},
        {"-0,25", "-0.25"},
        {"+1,0", "+1.0"},
        {"1,234", "1.234"},
        {"1.234,56", "1234.56"},
        {"12.345.678,9", "12345678.9"},
        // Anything else stays as written, for the record builder to judge.
        {"3.5", "3.5"},
        {"1.23,4", "1.23,4"},
        {"1,2,3", "1,2,3"},
        {",5", ",5"},
        {"5,", "5,"},
        {"a,5", "a,5"},
        {"1.2345,6", "1.2345,6"},
        {" 3,5", " 3,5"},
        {"", ""},
        {".123,4", ".123,4"},
    };
    for (const auto& [field, expected] : cases)
        EXPECT_EQ(WithDecimalPoint(QString::fromLatin1(field)), QString::fromLatin1(expected)) << field;
}

TEST_F(PluImport, AQuoteThatIsNeverClosedRefusesTheFileNamingItsLine)
{
    const QString path = WriteFile(QStringLiteral("open.csv"), "PLU,Name\n1,fine\n2,\"open\n3,swallowed\n4,x\n");
    const SImportResult result = ReadImportFile(path, kPricing, ELimitMode::Off);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.rows.empty());
    EXPECT_TRUE(result.error.contains(path));
    EXPECT_TRUE(result.error.contains(QStringLiteral("line 3"))) << result.error.toStdString();
}

TEST(QuantityPricing, TheWordsForFalseAndTheUncheckedMarkLeaveItUnchecked)
{
    for (const char* text : {"", "0", "false", "FALSE", " False ", "no", "NO", "\xC3\x97", " \xC3\x97 ", "FALSCH",
                             "faux", "Falso", "\t0\t"})
        EXPECT_FALSE(PluFileLayout::QuantityPricingChecked(QString::fromUtf8(text))) << text;
    for (const char* text : {"1", "yes", "TRUE", "WAHR", "\xE2\x88\x9A", "0.0", "00", "nein", "x"})
        EXPECT_TRUE(PluFileLayout::QuantityPricingChecked(QString::fromUtf8(text))) << text;
    for (const double number : {0.0, 0.5, -0.9})
        EXPECT_FALSE(PluFileLayout::QuantityPricingChecked(number)) << number;
    for (const double number : {1.0, 2.0, -1.0})
        EXPECT_TRUE(PluFileLayout::QuantityPricingChecked(number)) << number;
}

TEST_F(PluImport, CountingTextFileDropsColumnsTheLayoutLacks)
{
    // Eight fields: limits off, so Hi and Lo (file columns 5 and 6) have no column in the table.
    const SImportResult result = ReadCsv("a,b,c,d,e,f,g,h\n1,2,3,4,5,6,7,8\n", kCounting, 1);
    EXPECT_EQ(PluLayout::SettingOf(result.limitMode), 0);
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(CImportedTable(result).grid.ColumnCount(), 6);
}

TEST_F(PluImport, TextFilesInTheLanguagesCodePageOrUtf8)
{
    const int previous = Language::LanguageInForce();
    Language::SetLanguageInForce(Language::kSimplifiedChinese);
    const SImportResult gbk = ReadCsv("PLU,Name\n1,\xC6\xBB\xB9\xFB\n", kCounting);
    const SImportResult utf8 = ReadCsv(QString::fromUtf8("PLU,Name\n1,苹果\n").toUtf8(), kCounting);
    Language::SetLanguageInForce(previous);
    ASSERT_EQ(gbk.rows.size(), 1u);
    ASSERT_EQ(utf8.rows.size(), 1u);
    EXPECT_EQ(Text(CImportedTable(gbk).Row(int(0)), 2), QString::fromUtf8("苹果"));
    EXPECT_EQ(Text(CImportedTable(utf8).Row(int(0)), 2), QString::fromUtf8("苹果"));
}

// The pricing fixture, written by xlwt and by openpyxl, imports the same through both readers.
class PricingWorkbook : public PluImport, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(PricingWorkbook, NumberCellsBecomeTableText)
{
    const SImportResult result = ReadImportFile(FixturePath(QString::fromLatin1(GetParam())), kPricing, Limits(1));
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.columnCount, 8);
    EXPECT_EQ(PluLayout::SettingOf(result.limitMode), 0);
    ASSERT_EQ(result.rows.size(), 7u);
    const QStringList expected[] = {
        Strings({"1", "1", "2.500000", "4006381333931", "苹果", "kg", "fresh", "7", "×"}),
        Strings({"2", "12", "99999.990000", "6901234567892", "Äpfel", "", "", "30", "√"}),
        Strings({"3", "", "", "", "", "", "", "", "×"}),
        Strings({"4", "-3", "123456.789000", "42", "pear, green", "500g", "x", "0", "√"}),
        Strings({"5", "0001", "1.25", "A-1", "香蕉", "bunch", "", "3", "×"}),
        Strings({"6", "5", "1.000000", "2", "3", "4", "5", "6", "√"}),
        Strings({"7", "6", "1.000000", "2", "name", "4", "5", "6", "×"}),
    };
    for (size_t row = 0; row < result.rows.size(); ++row) {
        EXPECT_EQ(Texts(CImportedTable(result).Row(int(row)), 9), expected[row]) << "row " << row;
        // Every cell the sheet's used range reaches is editable, empty ones included.
        for (int column = 1; column <= 7; ++column)
            EXPECT_EQ(EditorType(CImportedTable(result).Row(int(row)), column), CET_EDIT) << row << "," << column;
        EXPECT_EQ(EditorType(CImportedTable(result).Row(int(row)), 8), CET_CHECK);
    }
}

TEST_P(PricingWorkbook, CountingDropsTheColumnsItLacks)
{
    const SImportResult result = ReadImportFile(FixturePath(QString::fromLatin1(GetParam())), kCounting, Limits(1));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(PluLayout::SettingOf(result.limitMode), 0);
    ASSERT_EQ(result.rows.size(), 7u);
    EXPECT_EQ(Texts(CImportedTable(result).Row(int(0)), 6),
              Strings({"1", "1", "2.500000", "4006381333931", "苹果", "kg"}));
    EXPECT_EQ(CImportedTable(result).grid.ColumnCount(), 6);
}

INSTANTIATE_TEST_SUITE_P(Writers, PricingWorkbook, ::testing::Values("pricing_xlwt.xls", "pricing_openpyxl.xlsx"),
                         [](const auto& info) { return std::string(info.index == 0 ? "xlwt" : "openpyxl"); });

TEST_F(PluImport, SevenColumnWorkbookSwitchesLimitsOnWhenCounting)
{
    const QString path = FixturePath(QStringLiteral("counting_limits_openpyxl.xlsx"));
    const SImportResult counting = ReadImportFile(path, kCounting, Limits(0));
    ASSERT_TRUE(counting.ok);
    EXPECT_EQ(PluLayout::SettingOf(counting.limitMode), 1);
    ASSERT_EQ(counting.rows.size(), 2u);
    EXPECT_EQ(Texts(CImportedTable(counting).Row(int(0)), 8),
              Strings({"1", "7", "0.125000", "1234", "螺丝", "M4", "1.500000", "0.250000"}));
    EXPECT_EQ(Texts(CImportedTable(counting).Row(int(1)), 8),
              Strings({"2", "8", "0.5", "5678", "Mutter", "M6", "2", "-1"}));

    // In the pricing layout Hi and Lo land in Remark and Expiration(Days) as integers; there is no
    // Quantity pricing column in the file, so the mark is off, as in a typed row.
    const SImportResult pricing = ReadImportFile(path, kPricing, Limits(1));
    ASSERT_TRUE(pricing.ok);
    EXPECT_EQ(PluLayout::SettingOf(pricing.limitMode), 0);
    EXPECT_EQ(Texts(CImportedTable(pricing).Row(int(0)), 9),
              Strings({"1", "7", "0.125000", "1234", "螺丝", "M4", "1", "0", "×"}));
    EXPECT_EQ(EditorType(CImportedTable(pricing).Row(int(0)), 8), CET_CHECK);
}

TEST_F(PluImport, OpenDocumentAndHandMadeWorkbooks)
{
    const SImportResult ods = ReadImportFile(FixturePath(QStringLiteral("pricing.ods")), kCounting, Limits(0));
    ASSERT_TRUE(ods.ok) << ods.error.toStdString();
    EXPECT_EQ(PluLayout::SettingOf(ods.limitMode), 1);
    ASSERT_EQ(ods.rows.size(), 1u);
    EXPECT_EQ(Texts(CImportedTable(ods).Row(int(0)), 8), Strings({"1", "12", "2.500000", "A-1", "苹果", "", "", ""}));

    const SImportResult xlsx = ReadImportFile(FixturePath(QStringLiteral("inline_strings.xlsx")), kCounting, Limits(0));
    ASSERT_TRUE(xlsx.ok) << xlsx.error.toStdString();
    EXPECT_EQ(PluLayout::SettingOf(xlsx.limitMode), 1);
    ASSERT_EQ(xlsx.rows.size(), 3u);
    EXPECT_EQ(Texts(CImportedTable(xlsx).Row(int(0)), 8),
              Strings({"1", "苹果 & pear", "2.500000", "formula text", "2", "1", "", "inline"}));
    EXPECT_EQ(Texts(CImportedTable(xlsx).Row(int(1)), 3), Strings({"2", "", ""}));
    EXPECT_EQ(Texts(CImportedTable(xlsx).Row(int(2)), 3), Strings({"3", "", "rich text"}));
}

TEST(PluFileLayout, NumberCellTexts)
{
    struct SCase
    {
        double value;
        bool decimal;
        const char* text;
    };
    const SCase cases[] = {
        {2.5, true, "2.500000"},
        {99999.99, true, "99999.990000"},
        {123456.789, true, "123456.789000"},
        {-0.0000004, true, "-0.000000"},
        {1e20, true, "100000000000000000000.000000"},
        {12.9, false, "12"},
        {-3.7, false, "-3"},
        {-0.5, false, "0"},
        {4006381333931, false, "4006381333931"},
        {9007199254740993.0, false, "9007199254740992"},
        {1e20, false, "100000000000000000000"},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(PluFileLayout::NumberCellText(c.value, c.decimal), QString::fromLatin1(c.text)) << c.text;
}

TEST(PluFileLayout, QuantityPricingOfNumbers)
{
    EXPECT_FALSE(PluFileLayout::QuantityPricingChecked(0.5));
    EXPECT_FALSE(PluFileLayout::QuantityPricingChecked(-0.9));
    EXPECT_FALSE(PluFileLayout::QuantityPricingChecked(0.0));
    EXPECT_TRUE(PluFileLayout::QuantityPricingChecked(1.0));
    EXPECT_TRUE(PluFileLayout::QuantityPricingChecked(-1.0));
    EXPECT_TRUE(PluFileLayout::QuantityPricingChecked(4294967296.0)); // would be 0 if cut to 32 bits
}

} // namespace
