#include "download/PluRecord.h"

#include "app/CodePage.h"

#include <QRegularExpression>
#include <QString>
#include <QVector>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

constexpr EPluMode kPricing = EPluMode::Pricing;
constexpr EPluMode kCounting = EPluMode::Counting;
constexpr int kWestern = 1252;

QVector<QString> Row(std::initializer_list<const char*> cells)
{
    QVector<QString> row;
    for (const char* cell : cells)
        row.append(QString::fromUtf8(cell));
    return row;
}

std::string Hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toStdString();
}

// Spaces in the hex text are only for reading.
std::string Hex(const char* hex)
{
    return Hex(QByteArray::fromHex(hex));
}

SPluRecord Build(const QVector<QString>& cells, EPluMode pluMode, int limitMode = 0, unsigned textCodePage = 65001,
                 int goodsIdCodePage = kWestern)
{
    return BuildPluRecord(cells, pluMode, limitMode == 1 ? ELimitMode::On : ELimitMode::Off, textCodePage,
                          goodsIdCodePage);
}

QVector<QString> PricingRow()
{
    return Row({"1", "12", "3.5", "K42", "Apples", "1kg", "Fresh", "7", "true"});
}

QVector<QString> CountingRow(const char* hi = "", const char* lo = "")
{
    return Row({"1", "5", "0.25", "A5", "Bolts M6", "steel", hi, lo});
}

TEST(PluRecord, BuildsTheScalesRecordsByteForByte)
{
    const struct
    {
        const char* name;
        QVector<QString> cells;
        EPluMode pluMode;
        int limitMode;
        const char* hex;
    } cases[] = {
        {"pricing", PricingRow(), kPricing, 0,
         "02 53 50 30 30 31 32 20 20 20 20 33 2e 35 30 4b"
         "34 32 00 00 00 00 00 00 00 00 00 41 70 70 6c 65"
         "73 00 00 00 00 00 00 00 00 00 00 31 6b 67 00 00"
         "00 00 00 00 00 00 00 00 00 00 00 46 72 65 73 68"
         "00 00 00 00 00 00 00 20 20 20 37 31 64 0d 0a"},
        {"counting", CountingRow(), kCounting, 0,
         "02 53 50 30 30 30 35 20 20 30 2e 32 35 30 30 41"
         "35 00 00 00 00 00 00 00 00 00 00 42 6f 6c 74 73"
         "20 4d 36 00 00 00 00 00 00 00 00 00 00 00 00 00"
         "00 00 00 00 00 00 00 00 00 00 00 73 74 65 65 6c"
         "00 00 00 00 00 00 00 00 00 00 00 0d 0a"},
        {"counting with limits", CountingRow("1.2", ""), kCounting, 1,
         "02 53 50 30 30 30 35 20 20 30 2e 32 35 30 30 41"
         "35 00 00 00 00 00 00 00 00 00 00 42 6f 6c 74 73"
         "20 4d 36 00 00 00 00 00 00 00 00 00 00 00 00 00"
         "00 00 00 00 00 00 00 00 00 00 00 73 74 65 65 6c"
         "00 00 00 00 00 00 00 00 00 00 00 31 2e 32 30 30"
         "30 30 30 30 2e 30 30 30 30 30 30 0d 0a"},
    };
    for (const auto& c : cases) {
        for (const unsigned textCodePage : {0u, 936u, 950u, 65001u}) {
            const SPluRecord record = Build(c.cells, c.pluMode, c.limitMode, textCodePage);
            ASSERT_TRUE(record.IsSendable()) << c.name << ": " << record.reason.toStdString();
            EXPECT_EQ(Hex(record.bytes), Hex(c.hex)) << c.name << " in code page " << textCodePage;
        }
    }
}

TEST(PluRecord, DecidesWhichRowsAreSentSkippedOrRejected)
{
    const struct
    {
        const char* name;
        EPluMode pluMode;
        QVector<QString> cells;
        EPluRecordOutcome outcome;
        const char* reason;
    } cases[] = {
        {"empty PLU No.", kPricing, Row({"1", "", "3.5"}), EPluRecordOutcome::Skipped, ""},
        {"empty unit price", kPricing, Row({"1", "12", ""}), EPluRecordOutcome::Skipped, ""},
        // The value is looked at only once there is a PLU No.
        {"empty PLU No. before a bad value", kPricing, Row({"1", "", "0"}), EPluRecordOutcome::Skipped, ""},
        {"missing cells", kCounting, Row({"1", "5"}), EPluRecordOutcome::Skipped, ""},
        {"no cells at all", kPricing, {}, EPluRecordOutcome::Skipped, ""},
        {"PLU No. 1008", kPricing, Row({"1", "1008", "1"}), EPluRecordOutcome::Sendable, ""},
        {"PLU No. 0", kCounting, Row({"1", "0", "1"}), EPluRecordOutcome::Sendable, ""},
        {"PLU No. 1009", kPricing, Row({"1", "1009", "1"}), EPluRecordOutcome::Rejected, "PLU No. 1009 is above 1008"},
        {"huge PLU No.", kCounting, Row({"1", "99999999999999999999", "1"}), EPluRecordOutcome::Rejected,
         "PLU No. 99999999999999999999 is above 1008"},
        {"negative PLU No.", kPricing, Row({"1", "-1", "1"}), EPluRecordOutcome::Rejected, "PLU No. -1 is below 0"},
        {"unit price 0", kPricing, Row({"1", "12", "0"}), EPluRecordOutcome::Rejected, "Unit price 0 is not above 0"},
        {"unit price -2", kPricing, Row({"1", "12", "-2"}), EPluRecordOutcome::Rejected,
         "Unit price -2 is not above 0"},
        {"blank unit weight", kCounting, Row({"1", "12", "  "}), EPluRecordOutcome::Rejected,
         "Unit weight (blank) is not a number"},
        // The field's decimals would turn these into 0.
        {"unit price 0.004", kPricing, Row({"1", "12", "0.004"}), EPluRecordOutcome::Rejected,
         "Unit price 0.004 would be sent as 0.00"},
        {"unit weight 0.00004", kCounting, Row({"1", "12", "0.00004"}), EPluRecordOutcome::Rejected,
         "Unit weight 0.00004 would be sent as 0.0000"},
        {"unit price 0.005", kPricing, Row({"1", "12", "0.005"}), EPluRecordOutcome::Sendable, ""},
        {"unit weight too wide", kCounting, Row({"1", "12", "123456789"}), EPluRecordOutcome::Rejected,
         "Unit weight 123456789 does not fit in 8 characters"},
        {"unit price beyond a double", kPricing, Row({"1", "12", "1e999"}), EPluRecordOutcome::Rejected,
         "Unit price 1e999 does not fit in 8 characters"},
        {"shelf life 12345 days", kPricing, Row({"1", "12", "1", "", "", "", "", "12345"}), EPluRecordOutcome::Rejected,
         "Expiration(Days) 12345 is above 9999"},
        {"long text quoted in part", kPricing, Row({"1", "2000 and a long remark", "1"}), EPluRecordOutcome::Rejected,
         "PLU No. 2000 and a long rema\u2026 is above 1008"},
    };
    for (const auto& c : cases) {
        const SPluRecord record = Build(c.cells, c.pluMode);
        EXPECT_EQ(record.outcome, c.outcome) << c.name;
        EXPECT_EQ(record.reason.toStdString(), c.reason) << c.name;
        EXPECT_EQ(record.bytes.isEmpty(), c.outcome != EPluRecordOutcome::Sendable) << c.name;
    }
}

// Where a number cell lands in the record, and how wide its field is.
struct SNumberField
{
    int column;
    int offset;
    int width;
};

constexpr SNumberField kPluField = {1, 3, 4};
constexpr SNumberField kValueField = {2, 7, 8};
constexpr SNumberField kDaysField = {7, 71, 4};
constexpr SNumberField kHiField = {6, 75, 8};
constexpr SNumberField kLoField = {7, 83, 8};

TEST(PluRecord, ReadsNumberCellsAsTheUserMeantThem)
{
    const struct
    {
        const char* name;
        EPluMode pluMode; // counting rows are built with limits
        SNumberField field;
        const char* text;
        const char* bytes;  // the field as sent; nullptr when the row is rejected
        const char* reason; // the rejection
    } cases[] = {
        // Decimal commas, as the German, French, Spanish and Italian interfaces write numbers.
        {"decimal comma", kPricing, kValueField, "3,5", "    3.50", nullptr},
        {"decimal comma below 1", kCounting, kValueField, "0,25", "  0.2500", nullptr},
        {"four decimals after a comma", kCounting, kValueField, "1,2345", "  1.2345", nullptr},
        {"three decimals after a zero", kCounting, kValueField, "0,250", "  0.2500", nullptr},
        {"decimal comma before a unit", kPricing, kValueField, "2,5kg", "    2.50", nullptr},
        {"decimal comma in Hi", kCounting, kHiField, "1,2", "1.200000", nullptr},
        {"decimal comma in Lo", kCounting, kLoField, "-0,5", "-0.50000", nullptr},
        // Texts that others read with thousands separators.
        {"comma and three digits", kPricing, kValueField, "1,234", nullptr,
         "Unit price '1,234' can be read two ways: write the decimals after a point, without thousands separators"},
        {"two thousands commas", kCounting, kValueField, "1,234,567", nullptr,
         "Unit weight '1,234,567' can be read two ways: write the decimals after a point, without thousands "
         "separators"},
        {"thousands point and decimal comma", kPricing, kValueField, "1.234,5", nullptr,
         "Unit price '1.234,5' can be read two ways: write the decimals after a point, without thousands "
         "separators"},
        {"comma and three digits in Lo", kCounting, kLoField, "1,500", nullptr,
         "Lo '1,500' can be read two ways: write the decimals after a point, without thousands separators"},
        // Cells without a number.
        {"PLU No. with a letter first", kPricing, kPluField, "A12", nullptr, "PLU No. 'A12' is not a number"},
        {"PLU No. of letters", kCounting, kPluField, "abc", nullptr, "PLU No. 'abc' is not a number"},
        {"blank PLU No.", kPricing, kPluField, " ", nullptr, "PLU No. (blank) is not a number"},
        {"unit price of letters", kPricing, kValueField, "abc", nullptr, "Unit price 'abc' is not a number"},
        {"comma without integer digits", kPricing, kValueField, ",5", nullptr, "Unit price ',5' is not a number"},
        {"Hi of letters", kCounting, kHiField, "abc", nullptr, "Hi 'abc' is not a number"},
        {"Lo of a sign", kCounting, kLoField, "-", nullptr, "Lo '-' is not a number"},
        {"days of letters", kPricing, kDaysField, "abc", nullptr, "Expiration(Days) 'abc' is not a number"},
        // Readings that stay as they were.
        {"PLU No. before letters", kPricing, kPluField, "7abc", "0007", nullptr},
        {"PLU No. with blanks and a sign", kCounting, kPluField, " +12", "0012", nullptr},
        {"decimal point", kPricing, kValueField, "1.5", "    1.50", nullptr},
        {"unit after the number", kPricing, kValueField, "2.5kg", "    2.50", nullptr},
        {"exponent", kPricing, kValueField, "1e3", " 1000.00", nullptr},
        {"fraction only", kCounting, kValueField, "+.5", "  0.5000", nullptr},
        {"point and three decimals", kCounting, kValueField, "1.234", "  1.2340", nullptr},
        {"comma without digits after it", kPricing, kValueField, "1,", "    1.00", nullptr},
        {"negative value", kPricing, kValueField, " -2", nullptr, "Unit price -2 is not above 0"},
        {"days before a unit", kPricing, kDaysField, "30 days", "  30", nullptr},
        {"empty days", kPricing, kDaysField, "", "\0\0\0\0", nullptr},
        {"empty Hi", kCounting, kHiField, "", "-1.00000", nullptr},
        {"empty Lo", kCounting, kLoField, "", "0.000000", nullptr},
        {"Hi with a point", kCounting, kHiField, "2.5", "2.500000", nullptr},
    };
    for (const auto& c : cases) {
        QVector<QString> cells = c.pluMode == kPricing ? PricingRow() : CountingRow("1", "1");
        cells[c.field.column] = QString::fromUtf8(c.text);
        const SPluRecord record = Build(cells, c.pluMode, c.pluMode == kCounting ? 1 : 0);
        if (!c.bytes) {
            EXPECT_TRUE(record.IsRejected()) << c.name;
            EXPECT_EQ(record.reason.toStdString(), c.reason) << c.name;
            EXPECT_EQ(record.column, c.field.column) << c.name;
            continue;
        }
        ASSERT_TRUE(record.IsSendable()) << c.name << ": " << record.reason.toStdString();
        EXPECT_EQ(record.bytes.mid(c.field.offset, c.field.width), QByteArray(c.bytes, c.field.width)) << c.name;
    }
}

TEST(PluRecord, PrintsThePluNumberWithFourDigits)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12", "0012"}, {"7abc", "0007"}, {" +1008", "1008"}, {"-0", "0000"}, {"3.9", "0003"},
    };
    for (const auto& [cell, digits] : cases) {
        const SPluRecord record = Build(Row({"", cell, "1"}), kCounting);
        ASSERT_TRUE(record.IsSendable()) << cell;
        EXPECT_EQ(record.bytes.mid(3, 4).toStdString(), digits) << cell;
    }
}

// The value field is always 8 bytes: the Goods Id after it must never move.
TEST(PluRecord, PrintsTheValueInEightCharacters)
{
    const struct
    {
        EPluMode pluMode;
        const char* cell;
        const char* field;
    } cases[] = {
        {kCounting, "0.5", "  0.5000"},
        {kCounting, "999.5", "999.5000"},
        {kCounting, "1000.5", "1000.500"},
        {kCounting, "10000.25", "10000.25"},
        {kCounting, "100000.5", "100000.5"},
        {kCounting, "2000000", " 2000000"},
        {kCounting, "0.25", "  0.2500"},
        {kCounting, "2.5kg", "  2.5000"},
        {kCounting, "1,5", "  1.5000"},
        {kCounting, "0.00005", "  0.0001"}, // the smallest that does not print as 0
        {kPricing, "99999.5", "99999.50"},
        {kPricing, "100000.5", "100000.5"},
        {kPricing, "3.5", "    3.50"},
        {kPricing, "0.125", "    0.12"},
        {kPricing, "2000000", " 2000000"},
        {kPricing, "99999999.4", "99999999"},
        // Values whose decimals for their magnitude would take 9 characters.
        {kCounting, "1000", "1000.000"},
        {kCounting, "999.99995", "1000.000"},
        {kCounting, "10000", "10000.00"},
        {kCounting, "9999.9996", "10000.00"},
        {kCounting, "100000", "100000.0"},
        {kCounting, "99999.996", "100000.0"},
        {kCounting, "1000000", " 1000000"},
        {kCounting, "999999.96", " 1000000"},
        {kPricing, "100000", "100000.0"},
        {kPricing, "99999.999", "100000.0"},
        {kPricing, "99999.995", "99999.99"}, // lies below the tie in binary: no rounding up
        {kPricing, "1000000", " 1000000"},
        {kPricing, "999999.96", " 1000000"},
        {kPricing, "99999999.49", "99999999"},
    };
    for (const auto& c : cases) {
        const SPluRecord record = Build(Row({"", "1", c.cell, "GOODS-ID-123"}), c.pluMode);
        ASSERT_TRUE(record.IsSendable()) << c.cell << ": " << record.reason.toStdString();
        EXPECT_EQ(record.bytes.mid(7, 8).toStdString(), c.field) << c.cell;
        EXPECT_EQ(record.bytes.mid(15, 12).toStdString(), "GOODS-ID-123") << c.cell;
    }
    for (const EPluMode pluMode : {kPricing, kCounting}) {
        for (const char* tooWide : {"99999999.5", "100000000", "1e300"}) {
            const SPluRecord record = Build(Row({"", "1", tooWide}), pluMode);
            EXPECT_TRUE(record.IsRejected()) << tooWide << " in layout " << int(pluMode);
        }
    }
}

TEST(PluRecord, SetsTheQuantityPricingFlag)
{
    const std::pair<const char*, char> cases[] = {
        {"\u221A", '1'}, {"1", '1'}, {"\u662F", '1'}, {"true", '1'},  {"TRUE", '1'},  {"True", '1'}, {"yes", '0'},
        {"\u00D7", '0'}, {"", '0'},  {"0", '0'},      {" true", '0'}, {"truee", '0'}, {"11", '0'},   {"tru\u00C9", '0'},
    };
    for (const auto& [cell, flag] : cases) {
        QVector<QString> cells = PricingRow();
        cells[8] = QString::fromUtf8(cell);
        const SPluRecord record = Build(cells, kPricing);
        ASSERT_TRUE(record.IsSendable()) << cell;
        EXPECT_EQ(record.bytes[75], flag) << cell;
    }
    QVector<QString> withoutFlag = PricingRow();
    withoutFlag.resize(8);
    EXPECT_EQ(Build(withoutFlag, kPricing).bytes[75], '0');
}

TEST(PluRecord, WritesTheShelfLifeOnlyForPositiveDays)
{
    const std::pair<const char*, const char*> cases[] = {
        {"7", "20202037"}, {"365", "20333635"}, {"9999", "39393939"}, {"30 days", "20203330"},
        {"", "00000000"},  {"0", "00000000"},   {"-5", "00000000"},
    };
    for (const auto& [cell, hex] : cases) {
        QVector<QString> cells = PricingRow();
        cells[7] = QString::fromUtf8(cell);
        const SPluRecord record = Build(cells, kPricing);
        ASSERT_TRUE(record.IsSendable()) << cell;
        EXPECT_EQ(Hex(record.bytes.mid(71, 4)), Hex(hex)) << cell;
    }
}

TEST(PluRecord, PrintsHiAndLoLimits)
{
    const struct
    {
        const char* cell;
        const char* hiField; // nullptr: rejected
    } cases[] = {
        {"2.5", "2.500000"},       {"12.5", "12.50000"},          {"", "-1.00000"},
        {"0", "0.000000"},         {"12345678", "12345678"},      {"-1234567", "-1234567"},
        {"1234567.9", "1234567."}, {"0.0000004", "0.000000"},     {"123456789", nullptr},
        {"-12345678", nullptr},    {"99999999.9999999", nullptr}, {"1e999", nullptr},
    };
    for (const auto& c : cases) {
        const SPluRecord hi = Build(CountingRow(c.cell, "1"), kCounting, 1);
        const SPluRecord lo = Build(CountingRow("1", c.cell), kCounting, 1);
        if (!c.hiField) {
            EXPECT_TRUE(hi.IsRejected()) << c.cell;
            EXPECT_TRUE(lo.IsRejected()) << c.cell;
            EXPECT_EQ(hi.reason.toStdString(), "Hi " + std::string(c.cell) + " does not fit in 8 characters");
            EXPECT_EQ(lo.reason.toStdString(), "Lo " + std::string(c.cell) + " does not fit in 8 characters");
            continue;
        }
        ASSERT_TRUE(hi.IsSendable()) << c.cell;
        ASSERT_TRUE(lo.IsSendable()) << c.cell;
        EXPECT_EQ(hi.bytes.mid(75, 8).toStdString(), c.hiField) << c.cell;
        EXPECT_EQ(hi.bytes.mid(83, 8).toStdString(), "1.000000") << c.cell;
        const std::string loField = std::string(c.cell).empty() ? "0.000000" : c.hiField;
        EXPECT_EQ(lo.bytes.mid(83, 8).toStdString(), loField) << c.cell;
    }
    // Without limits the Hi and Lo cells are not read at all.
    const SPluRecord withoutLimits = Build(CountingRow("123456789", "-12345678"), kCounting, 0);
    ASSERT_TRUE(withoutLimits.IsSendable());
    EXPECT_EQ(withoutLimits.bytes.size(), 77);
}

QString Repeat(const char* utf8, int count)
{
    return QString::fromUtf8(utf8).repeated(count);
}

TEST(PluRecord, SendsControlCharactersInTextsAsSpaces)
{
    // A line break typed into a spreadsheet cell, a tab, STX, NUL and DEL.
    const QString typed = QString::fromUtf8("a\r\nb\tc\x02"
                                            "d") +
                          QChar(0) + QChar(0x7F);
    const QByteArray sent = QByteArray("a  b c d  ") + QByteArray(2, '\0');
    const struct
    {
        const char* layout;
        EPluMode pluMode;
        int limitMode;
        std::initializer_list<std::pair<int, int>> fields; // cell, offset
    } layouts[] = {
        {"pricing", kPricing, 0, {{3, 15}, {4, 27}, {5, 43}, {6, 59}}},
        {"counting", kCounting, 0, {{3, 15}, {4, 27}, {5, 59}}},
        {"counting with limits", kCounting, 1, {{3, 15}, {4, 27}, {5, 59}}},
    };
    for (const auto& layout : layouts) {
        for (const auto& [cell, offset] : layout.fields) {
            QVector<QString> cells = layout.pluMode == kPricing ? PricingRow() : CountingRow();
            cells[cell] = typed;
            const SPluRecord record = Build(cells, layout.pluMode, layout.limitMode);
            ASSERT_TRUE(record.IsSendable()) << layout.layout << " cell " << cell;
            EXPECT_EQ(Hex(record.bytes.mid(offset, sent.size())), Hex(sent)) << layout.layout << " cell " << cell;
            // The scale finds the record's start and end by these bytes alone.
            const QByteArray inside = record.bytes.mid(1, record.bytes.size() - 3);
            EXPECT_FALSE(inside.contains('\r') || inside.contains('\n') || inside.contains('\x02'))
                << layout.layout << " cell " << cell;
            EXPECT_TRUE(record.warnings.isEmpty()) << layout.layout << " cell " << cell;
        }
    }
}

TEST(PluRecord, WarnsOfTextsThatDoNotReachTheScaleAsTyped)
{
    const struct
    {
        const char* name;
        int cell;
        QString text;
        unsigned textCodePage;
        const char* warning; // "" for none
    } cases[] = {
        {"13-digit EAN as Goods Id", 3, QStringLiteral("4006381333931"), 65001,
         "Goods Id 4006381333931 is cut to 12 bytes"},
        {"12-digit Goods Id", 3, QStringLiteral("400638133393"), 65001, ""},
        {"Goods Name longer than 16 letters", 4, Repeat("A", 17), 65001, "Goods Name is cut to 16 bytes"},
        {"Remark of exactly 12 letters", 6, Repeat("R", 12), 65001, ""},
        {"Specification cut inside a character", 5, Repeat("\u82F9", 6), 65001, "Specification is cut to 16 bytes"},
        {"character the code page lacks", 4, QString::fromUtf8("K\u00E4se"), 936,
         "Goods Name has a character that code page 936 lacks: it goes as ?"},
        {"Goods Id in a code page that lacks it", 3, QString::fromUtf8("\u82F9"), 65001,
         "Goods Id has a character that code page 1252 lacks: it goes as ?"},
    };
    for (const auto& c : cases) {
        QVector<QString> cells = PricingRow();
        cells[c.cell] = c.text;
        const SPluRecord record = Build(cells, kPricing, 0, c.textCodePage);
        ASSERT_TRUE(record.IsSendable()) << c.name;
        if (!*c.warning) {
            EXPECT_TRUE(record.warnings.isEmpty()) << c.name;
            continue;
        }
        ASSERT_EQ(record.warnings.size(), 1) << c.name;
        EXPECT_EQ(record.warnings.front().toStdString(), c.warning) << c.name;
        EXPECT_EQ(record.warningColumns, QVector<int>{c.cell}) << c.name;
    }
}

TEST(PluRecord, CutsTextFieldsBetweenCharacters)
{
    const QString apple = QString::fromUtf8("\u82F9\u679C");     // two characters
    const QString appleBig5 = QString::fromUtf8("\u860B\u679C"); // two characters
    const QString emoji = QString::fromUtf8("\U0001F600");       // one character, two code units
    const struct
    {
        const char* name;
        EPluMode pluMode;
        int cell;
        QString text;
        unsigned textCodePage;
        int goodsIdCodePage;
        int offset;
        QByteArray field;
    } cases[] = {
        {"20 letters in a 16-byte name", kPricing, 4, Repeat("A", 20), 65001, kWestern, 27, Repeat("A", 16).toLatin1()},
        {"12 letters fill a remark", kPricing, 6, Repeat("R", 12), 65001, kWestern, 59, Repeat("R", 12).toLatin1()},
        {"empty Goods Id", kPricing, 3, QString(), 65001, kWestern, 15, QByteArray(12, '\0')},
        {"14 letters in a Goods Id", kCounting, 3, Repeat("G", 14), 65001, kWestern, 15, Repeat("G", 12).toLatin1()},
        {"8 GBK characters fill 16 bytes", kPricing, 4, apple.repeated(4), 936, kWestern, 27,
         CodePage::Encode(apple.repeated(4), 936)},
        {"a GBK character cut at byte 16", kPricing, 5, QStringLiteral("a") + apple.repeated(4), 936, kWestern, 43,
         QByteArray("a") + CodePage::Encode(apple.repeated(3) + apple.left(1), 936) + QByteArray(1, '\0')},
        {"a Big5 character cut at byte 12", kPricing, 6, QStringLiteral("a") + appleBig5.repeated(3), 950, kWestern, 59,
         QByteArray("a") + CodePage::Encode(appleBig5.repeated(2) + appleBig5.left(1), 950) + QByteArray(1, '\0')},
        {"a UTF-8 character cut at byte 16", kPricing, 4, apple.repeated(3), 65001, kWestern, 27,
         (apple.repeated(2) + apple.left(1)).toUtf8() + QByteArray(1, '\0')},
        {"a UTF-8 character cut at byte 32", kCounting, 4, QStringLiteral("a") + apple.repeated(6), 65001, kWestern, 27,
         QByteArray("a") + apple.repeated(5).toUtf8() + QByteArray(1, '\0')},
        {"a surrogate pair cut at code unit 32", kCounting, 4, Repeat("a", 31) + emoji, 65001, kWestern, 27,
         Repeat("a", 31).toLatin1() + QByteArray(1, '\0')},
        {"an unrepresentable character", kPricing, 4, QString::fromUtf8("K\u00E4se"), 936, kWestern, 27,
         QByteArray("K?se") + QByteArray(12, '\0')},
        {"code page 0 follows the language", kPricing, 4, apple, 0, 936, 27,
         CodePage::Encode(apple, 936) + QByteArray(12, '\0')},
        {"code page 0 in a Western language", kPricing, 4, QString::fromUtf8("\u00E9") + apple, 0, kWestern, 27,
         QByteArray("\xE9??") + QByteArray(13, '\0')},
        {"Goods Id ignores the text code page", kCounting, 3, apple, 65001, kWestern, 15,
         QByteArray("??") + QByteArray(10, '\0')},
        {"Goods Id in the language's code page", kCounting, 3, apple, 65001, 936, 15,
         CodePage::Encode(apple, 936) + QByteArray(8, '\0')},
    };
    for (const auto& c : cases) {
        QVector<QString> cells = c.pluMode == kPricing ? PricingRow() : CountingRow();
        cells[c.cell] = c.text;
        const SPluRecord record = Build(cells, c.pluMode, 0, c.textCodePage, c.goodsIdCodePage);
        ASSERT_TRUE(record.IsSendable()) << c.name;
        EXPECT_EQ(Hex(record.bytes.mid(c.offset, c.field.size())), Hex(c.field)) << c.name;
        // Each expected field is as wide as the field: everything around it stays as in the plain row.
        const SPluRecord plain = Build(c.pluMode == kPricing ? PricingRow() : CountingRow(), c.pluMode);
        QByteArray around = record.bytes;
        around.replace(c.offset, c.field.size(), plain.bytes.mid(c.offset, c.field.size()));
        EXPECT_EQ(Hex(around), Hex(plain.bytes)) << c.name;
    }
}

// A spread of awkward rows: every record keeps its length and frame, every field its place, and
// no text field ends in half a character.
TEST(PluRecord, KeepsTheFrameForAnyRow)
{
    const char* const numbers[] = {"",
                                   "0",
                                   "1",
                                   "-3",
                                   "7abc",
                                   "1008",
                                   "1009",
                                   "abc",
                                   " 12",
                                   "0.001",
                                   "999.99995",
                                   "1000",
                                   "12345.678",
                                   "99999.999",
                                   "1000000",
                                   "99999999.4",
                                   "99999999.5",
                                   "1e9",
                                   "12345",
                                   "-12345678",
                                   "1,5",
                                   "1e-7",
                                   "3.14159265358979"};
    const char* const texts[] = {"",
                                 "A",
                                 "Apples and pears from the orchard",
                                 "\u82F9\u679C\u82F9\u679C\u82F9\u679C"
                                 "\u82F9\u679C\u82F9\u679C\u82F9\u679C\u82F9\u679C\u82F9\u679C\u82F9\u679C\u82F9",
                                 "x\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600",
                                 "K\u00E4se \u0416",
                                 "\u221A",
                                 "true"};
    const unsigned codePages[] = {0, 936, 950, 65001};
    const int countNumbers = int(std::size(numbers));
    const int countTexts = int(std::size(texts));
    int sendable = 0;
    for (int i = 0; i < 600; ++i) {
        // A small linear congruential walk keeps the spread the same on every run.
        auto pick = [seed = quint32(i) * 2654435761u](int n, int salt) {
            return int(((seed >> 7) ^ (seed * quint32(salt + 1) * 40503u)) % quint32(n));
        };
        const EPluMode pluMode = i % 2 == 0 ? kPricing : kCounting;
        const int limitMode = (i / 2) % 2;
        const unsigned textCodePage = codePages[pick(4, 9)];
        QVector<QString> cells{QString(), QString::fromUtf8(numbers[pick(countNumbers, 1)]),
                               QString::fromUtf8(numbers[pick(countNumbers, 2)])};
        for (int cell = 3; cell <= 8; ++cell)
            cells.append(QString::fromUtf8(cell >= 6 && cell <= 7 && pick(2, cell) ? numbers[pick(countNumbers, cell)]
                                                                                   : texts[pick(countTexts, cell)]));
        const SPluRecord record = Build(cells, pluMode, limitMode, textCodePage, 936);
        const std::string row = cells.join(QLatin1Char('|')).toStdString();
        if (record.IsSkipped()) {
            EXPECT_TRUE(cells[1].isEmpty() || cells[2].isEmpty()) << row;
            continue;
        }
        if (record.IsRejected()) {
            EXPECT_FALSE(record.reason.isEmpty()) << row;
            continue;
        }
        ++sendable;
        const QByteArray& bytes = record.bytes;
        const int size = pluMode == kPricing ? 79 : limitMode ? 93 : 77;
        ASSERT_EQ(bytes.size(), size) << row;
        EXPECT_TRUE(bytes.startsWith(QByteArray("\x02SP"))) << row;
        EXPECT_TRUE(bytes.endsWith(pluMode == kPricing ? QByteArray("d\r\n") : QByteArray("\r\n"))) << row;
        for (int k = 3; k < 7; ++k)
            EXPECT_TRUE(bytes[k] >= '0' && bytes[k] <= '9') << row;
        static const QRegularExpression valueField(QStringLiteral("^ *[0-9]+(\\.[0-9]+)?$"));
        EXPECT_TRUE(valueField.match(QString::fromLatin1(bytes.mid(7, 8))).hasMatch()) << row;
        const int page = textCodePage == 0 ? 936 : int(textCodePage);
        const std::pair<int, int> fields[] = {{27, pluMode == kPricing ? 16 : 32}, {pluMode == kPricing ? 43 : 59, 16}};
        for (const auto& [offset, width] : fields) {
            QByteArray field = bytes.mid(offset, width);
            const qsizetype end = field.indexOf('\0');
            if (end >= 0) {
                EXPECT_EQ(field.mid(end), QByteArray(int(width - end), '\0')) << row;
                field.truncate(end);
            }
            EXPECT_EQ(CodePage::Encode(CodePage::Decode(field, page), page), field) << row << " at " << offset;
            EXPECT_FALSE(CodePage::Decode(field, page).contains(QChar(QChar::ReplacementCharacter)))
                << row << " at " << offset;
        }
    }
    EXPECT_GT(sendable, 60);
}

} // namespace
