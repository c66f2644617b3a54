// The talvex binary's commands that need no scale: records, convert, ports, help and the errors of each.

#include "CliRunner.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// The records of the three example rows, as the scale receives them.
const char* const kPricingHex = "0253503030313220202020332e35304b34320000000000000000004170706c6573000000000000000000"
                                "00316b67000000000000000000000000004672657368000000000000002020203731640d0a";
const char* const kCountingHex = "025350303030352020302e32353030413500000000000000000000426f6c7473204d3600000000000000"
                                 "0000000000000000000000000000000000737465656c00000000000000000000000d0a";
const char* const kCountingLimitsHex =
    "025350303030352020302e32353030413500000000000000000000426f6c7473204d3600000000000000000000000000000000000000"
    "0000000000737465656c0000000000000000000000312e323030303030302e3030303030300d0a";

std::string Text(const QString& text)
{
    return text.toStdString();
}

TEST(CliRecords, PrintsEachRowsRecordOrWhyItIsNotSent)
{
    const struct
    {
        const char* name;
        const char* mode;
        const char* csv;
        QString expected;
        const char* counts; // on standard error
    } cases[] = {
        {"pricing", "pricing",
         "PLU No.,Unit price,Goods Id,Goods Name,Specification,Remark,Expiration(Days),Quantity pricing\r\n"
         "12,3.5,K42,Apples,1kg,Fresh,7,true\r\n"
         "13,,K43,Pears,,,,\r\n"
         "2000,1,,,,,,\r\n",
         QStringLiteral("1\tsendable\t%1\n2\tskipped\t\n3\trejected\tPLU No. 2000 is above 1008\n4\tskipped\t\n")
             .arg(QLatin1String(kPricingHex)),
         "1 sendable, 2 skipped, 1 rejected, 0 with warnings, 0 repeated PLU numbers\n"},
        {"counting", "counting",
         "PLU No.,Unit weight,Goods Id,Goods Name,Specification\r\n"
         "5,0.25,A5,Bolts M6,steel\r\n"
         "7,0,,,\r\n"
         "8, ,,,\r\n",
         QStringLiteral("1\tsendable\t%1\n2\trejected\tUnit weight 0 is not above 0\n"
                        "3\trejected\tUnit weight (blank) is not a number\n4\tskipped\t\n")
             .arg(QLatin1String(kCountingHex)),
         "1 sendable, 1 skipped, 2 rejected, 0 with warnings, 0 repeated PLU numbers\n"},
        // Seven columns switch the table to limits, as Import does in the window.
        {"counting with limits", "counting",
         "PLU No.,Unit weight,Goods Id,Goods Name,Specification,Hi,Lo\r\n"
         "5,0.25,A5,Bolts M6,steel,1.2,\r\n"
         ",1,,,,,\r\n"
         "6,0.5,,,,123456789,\r\n",
         QStringLiteral("1\tsendable\t%1\n2\tskipped\t\n3\trejected\tHi 123456789 does not fit in 8 characters\n"
                        "4\tskipped\t\n")
             .arg(QLatin1String(kCountingLimitsHex)),
         "1 sendable, 2 skipped, 1 rejected, 0 with warnings, 0 repeated PLU numbers\n"},
    };
    for (const auto& c : cases) {
        CCliRunner cli;
        const QString file = cli.WriteFile(QStringLiteral("table.csv"), c.csv);
        const SCliRun run = cli.Run({QStringLiteral("records"), file, QStringLiteral("--mode"), QLatin1String(c.mode)});
        ASSERT_TRUE(run.finished) << c.name;
        EXPECT_EQ(run.exitCode, 0) << c.name << ": " << Text(run.err);
        EXPECT_EQ(Text(run.out), Text(c.expected)) << c.name;
        EXPECT_EQ(Text(run.err), c.counts) << c.name;
    }
}

TEST(CliRecords, PrintsWarningsAfterTheRecordAndCountsThem)
{
    CCliRunner cli;
    const QString file =
        cli.WriteFile(QStringLiteral("table.csv"), "PLU No.,Unit price,Goods Id,Goods Name,Specification,Remark,"
                                                   "Expiration(Days),Quantity pricing\r\n"
                                                   "12,\"3,5\",4006381333931,Apples,,,,\r\n"
                                                   "12,2,K42,Pears and apples from the orchard,,,,\r\n"
                                                   "A12,1,,,,,,\r\n"
                                                   "13,\"1,234\",,,,,,\r\n");
    const SCliRun run = cli.Run({QStringLiteral("records"), file, QStringLiteral("--mode"), QStringLiteral("pricing"),
                                 QStringLiteral("--encoding"), QStringLiteral("UTF-8")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << Text(run.err);
    QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << Text(run.out);
    // The record's bytes are left out: the columns after them are what this test is about.
    for (QString& line : lines) {
        QStringList fields = line.split(QLatin1Char('\t'));
        if (fields[1] == QLatin1String("sendable"))
            fields[2] = fields[2].mid(7 * 2, 8 * 2); // the value field
        line = fields.join(QLatin1Char('|'));
    }
    EXPECT_EQ(Text(lines[0]), "1|sendable|20202020332e3530|Goods Id 4006381333931 is cut to 12 bytes");
    EXPECT_EQ(Text(lines[1]), "2|sendable|20202020322e3030|Goods Name is cut to 16 bytes|"
                              "PLU No. 12 is also in row 1: the scale keeps only the later record");
    EXPECT_EQ(Text(lines[2]), "3|rejected|PLU No. 'A12' is not a number");
    EXPECT_EQ(Text(lines[3]), "4|rejected|Unit price '1,234' can be read two ways: write the decimals after a point, "
                              "without thousands separators");
    EXPECT_EQ(Text(lines[4]), "5|skipped|");
    EXPECT_EQ(Text(run.err), "2 sendable, 1 skipped, 2 rejected, 2 with warnings, 1 repeated PLU numbers\n");
}

TEST(CliRecords, ReadsWorkbooksAsImportDoes)
{
    CCliRunner cli;
    const QString xlsx = QStringLiteral(TALVEX_SOURCE_DIR "/tests/data/exchange/counting_limits_openpyxl.xlsx");
    const SCliRun fromWorkbook =
        cli.Run({QStringLiteral("records"), xlsx, QStringLiteral("--mode"), QStringLiteral("counting")});
    ASSERT_TRUE(fromWorkbook.finished);
    EXPECT_EQ(fromWorkbook.exitCode, 0) << Text(fromWorkbook.err);
    // The workbook's columns decide the limits: every sendable record is the 93-byte one.
    const QStringList lines = fromWorkbook.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    int sendable = 0;
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_GE(fields.size(), 3) << Text(line);
        if (fields[1] == QLatin1String("sendable")) {
            ++sendable;
            EXPECT_EQ(fields[2].size(), 93 * 2) << Text(line);
        }
    }
    EXPECT_GT(sendable, 0);
    EXPECT_TRUE(lines.last().endsWith(QLatin1String("\tskipped\t"))) << "the entry row comes last";
}

TEST(CliRecords, TakesTheStoredLayoutAndTheLanguagesCodePageByDefault)
{
    const QByteArray counting = "PLU No.,Unit weight,Goods Id,Goods Name,Specification\r\n"
                                "5,0.25,A5,\xe8\x98\x8b\xe6\x9e\x9c,steel\r\n"; // Goods Name in Chinese
    const struct
    {
        const char* name;
        QString storedSettings;
        int language;
        QStringList options;
        int recordBytes;
        const char* goodsName; // the field's first bytes in hex
    } cases[] = {
        {"stored counting, English", QStringLiteral("PLUMODE=1\n"), 1033, {}, 77, "e8988be69e9c00"},
        {"stored pricing", QStringLiteral("PLUMODE=0\n"), 1033, {}, 79, "e8988be69e9c00"},
        {"--mode over the stored layout",
         QStringLiteral("PLUMODE=0\n"),
         1033,
         {QStringLiteral("--mode"), QStringLiteral("counting")},
         77,
         "e8988be69e9c00"},
        {"Simplified Chinese: GBK", QStringLiteral("PLUMODE=1\n"), 2052, {}, 77, "cc4fb9fb00"},
        {"--encoding BIG5",
         QStringLiteral("PLUMODE=1\n"),
         1033,
         {QStringLiteral("--encoding"), QStringLiteral("BIG5")},
         77,
         "c4abaa4700"},
        {"--encoding UTF-8 in Chinese",
         QStringLiteral("PLUMODE=1\n"),
         2052,
         {QStringLiteral("--encoding"), QStringLiteral("UTF-8")},
         77,
         "e8988be69e9c00"},
    };
    for (const auto& c : cases) {
        CCliRunner cli;
        cli.StoreSettings(c.storedSettings, c.language);
        const QString file = cli.WriteFile(QStringLiteral("table.csv"), counting);
        const SCliRun run = cli.Run(QStringList{QStringLiteral("records"), file} + c.options);
        ASSERT_TRUE(run.finished) << c.name;
        ASSERT_EQ(run.exitCode, 0) << c.name << ": " << Text(run.err);
        const QStringList fields = run.out.section(QLatin1Char('\n'), 0, 0).split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 3) << c.name << ": " << Text(run.out);
        ASSERT_EQ(fields[1], QStringLiteral("sendable")) << c.name << ": " << Text(run.out);
        EXPECT_EQ(fields[2].size(), c.recordBytes * 2) << c.name;
        // The Goods Name starts at byte 27 in both layouts.
        EXPECT_TRUE(fields[2].mid(27 * 2).startsWith(QLatin1String(c.goodsName))) << c.name << ": " << Text(fields[2]);
    }
}

// Scripts read what the commands print: with German stored, the reasons stay English while the table still
// follows the stored language.
TEST(CliRecords, SpeaksEnglishWhateverTheStoredLanguage)
{
    CCliRunner cli;
    cli.StoreSettings(QStringLiteral("PLUMODE=0\n"), 1031);
    const QString file = cli.WriteFile(QStringLiteral("table.csv"), "PLU No.,Unit price\r\n5000,2.5\r\n7,x\r\n");
    const SCliRun run = cli.Run({QStringLiteral("records"), file});
    ASSERT_TRUE(run.finished);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2) << Text(run.out);
    EXPECT_EQ(lines[0], QStringLiteral("1\trejected\tPLU No. 5000 is above 1008"));
    EXPECT_EQ(lines[1], QStringLiteral("2\trejected\tUnit price 'x' is not a number"));

    const SCliRun broken =
        cli.Run({QStringLiteral("records"), cli.WriteFile(QStringLiteral("open.csv"), "a,b\n\"1,2\n")});
    EXPECT_TRUE(broken.err.contains(QLatin1String("is never closed"))) << Text(broken.err);
}

TEST(CliConvert, RoundTripsThroughBothWorkbookFormatsUnchanged)
{
    const struct
    {
        const char* name;
        const char* mode;
        const char* csv;
    } cases[] = {
        {"counting", "counting",
         "PLU No.,Unit weight,Goods Id,Goods Name,Specification\r\n"
         "5,0.25,A5,Bolts M6,steel\r\n"
         "6,1.5,A6,\"Nuts, M6\",\"say \"\"hi\"\"\"\r\n"
         "1008,12,,\xc3\x9c"
         "ber \xe4\xb8\xad\xe6\x96\x87,\r\n"},
        {"counting with limits", "counting",
         "PLU No.,Unit weight,Goods Id,Goods Name,Specification,Hi,Lo\r\n"
         "5,0.25,A5,Bolts M6,steel,1.2,\r\n"
         "6,1.5,,,,,0.5\r\n"
         "7,0.0100,007,\"two\nlines\",x,3,1\r\n"},
        // The Quantity pricing mark travels as 1 or 0.
        {"pricing", "pricing",
         "PLU No.,Unit price,Goods Id,Goods Name,Specification,Remark,Expiration(Days),Quantity pricing\r\n"
         "12,3.5,K42,Apples,1kg,Fresh,7,1\r\n"
         "13,0.99,,\"Pears, \"\"Conference\"\"\",,,,0\r\n"},
    };
    for (const auto& c : cases) {
        CCliRunner cli;
        const QString start = cli.WriteFile(QStringLiteral("start.csv"), c.csv);
        const QStringList steps[] = {{start, cli.Path(QStringLiteral("table.xlsx"))},
                                     {cli.Path(QStringLiteral("table.xlsx")), cli.Path(QStringLiteral("table.xls"))},
                                     {cli.Path(QStringLiteral("table.xls")), cli.Path(QStringLiteral("end.csv"))}};
        for (const QStringList& step : steps) {
            const SCliRun run = cli.Run(QStringList{QStringLiteral("convert")} + step +
                                        QStringList{QStringLiteral("--mode"), QLatin1String(c.mode)});
            ASSERT_TRUE(run.finished) << c.name;
            ASSERT_EQ(run.exitCode, 0) << c.name << ", " << Text(step.join(QStringLiteral(" -> "))) << ": "
                                       << Text(run.err);
        }
        EXPECT_EQ(cli.ReadFile(QStringLiteral("end.csv")).toStdString(), std::string(c.csv)) << c.name;
    }
}

TEST(CliConvert, ALongTableComesOutWholeAndInOrder)
{
    // Long enough for its rows to be written in several pieces.
    QByteArray csv =
        "PLU No.,Unit price,Goods Id,Goods Name,Specification,Remark,Expiration(Days),Quantity pricing\r\n";
    for (int row = 1; row <= 40000; ++row)
        csv += QByteArray::number(row) + ",1.5,K" + QByteArray::number(row) + ",\"Pears, " + QByteArray::number(row) +
               "\",,,," + (row % 3 == 0 ? "1" : "0") + "\r\n";
    CCliRunner cli;
    const SCliRun run =
        cli.Run({QStringLiteral("convert"), cli.WriteFile(QStringLiteral("long.csv"), csv),
                 cli.Path(QStringLiteral("out.csv")), QStringLiteral("--mode"), QStringLiteral("pricing")});
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0) << Text(run.err);
    EXPECT_TRUE(cli.ReadFile(QStringLiteral("out.csv")) == csv);
}

TEST(CliPorts, ListsTheSelectorsPortsWithTheNumberThatPortTakes)
{
    CCliRunner cli;
    const QString extra = cli.WriteFile(QStringLiteral("line"), QByteArray());
    const SCliRun run = cli.Run({QStringLiteral("ports"), QStringLiteral("--serial-device"), extra});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << Text(run.err);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].startsWith(QString::number(i + 1) + QLatin1Char('\t'))) << Text(lines[i]);
    // A device without a /dev/serial/by-id link stands for itself as its stable name.
    EXPECT_EQ(Text(lines.last()), Text(QStringLiteral("%1\t%2\t%2\t%2").arg(lines.size()).arg(extra)));
}

TEST(CliHelp, HelpAndVersionRunWithoutADisplay)
{
    CCliRunner cli;
    const struct
    {
        QStringList arguments;
        const char* shows;
    } cases[] = {
        {{QStringLiteral("--help")}, "talvex convert IN OUT"},
        {{QStringLiteral("-h")}, "talvex records FILE"},
        {{QStringLiteral("help")}, "talvex download FILE --port P"},
        {{QStringLiteral("--version")}, "talvex 1."},
        {{QStringLiteral("records"), QStringLiteral("--help")}, "Usage: talvex records [options] FILE"},
        {{QStringLiteral("download"), QStringLiteral("--help")}, "--ack-timeout <ms>"},
        {{QStringLiteral("convert"), QStringLiteral("-h")}, "Usage: talvex convert [options] IN OUT"},
        {{QStringLiteral("ports"), QStringLiteral("--help")}, "--serial-device <path>"},
    };
    for (const auto& c : cases) {
        const SCliRun run = cli.Run(c.arguments);
        const std::string name = Text(c.arguments.join(QLatin1Char(' ')));
        ASSERT_TRUE(run.finished) << name;
        EXPECT_EQ(run.exitCode, 0) << name << ": " << Text(run.err);
        EXPECT_NE(Text(run.out).find(c.shows), std::string::npos) << name << ": " << Text(run.out);
    }
}

TEST(CliErrors, UsageAndFileErrorsExitWithTwoAndSayWhat)
{
    CCliRunner cli;
    const QString table = cli.WriteFile(QStringLiteral("table.csv"), "PLU No.,Unit weight,Goods Id,Goods Name,"
                                                                     "Specification\r\n5,0.25,A5,Bolts M6,steel\r\n");
    const QString missing = cli.Path(QStringLiteral("missing.csv"));
    const QString broken = cli.WriteFile(QStringLiteral("broken.xlsx"), "not a workbook");
    const QString noFolder = cli.Path(QStringLiteral("no-such-folder/out.xlsx"));
    const struct
    {
        const char* name;
        QStringList arguments;
        QString message; // what standard error must say
    } cases[] = {
        {"records: missing file", {QStringLiteral("records"), missing}, missing},
        {"records: reason", {QStringLiteral("records"), missing}, QStringLiteral("No such file or directory")},
        {"records: broken workbook", {QStringLiteral("records"), broken}, broken},
        {"download: missing file", {QStringLiteral("download"), missing, QStringLiteral("--port"), table}, missing},
        {"convert: missing file", {QStringLiteral("convert"), missing, cli.Path(QStringLiteral("out.csv"))}, missing},
        {"convert: folder missing", {QStringLiteral("convert"), table, noFolder}, noFolder},
        {"convert: unknown ending",
         {QStringLiteral("convert"), table, cli.Path(QStringLiteral("out.txt"))},
         QStringLiteral("OUT must end in .csv, .xls or .xlsx")},
        {"records: no file", {QStringLiteral("records")}, QStringLiteral("FILE")},
        {"records: two files", {QStringLiteral("records"), table, table}, QStringLiteral("FILE")},
        {"records: unknown option",
         {QStringLiteral("records"), table, QStringLiteral("--bogus")},
         QStringLiteral("bogus")},
        {"records: bad mode",
         {QStringLiteral("records"), table, QStringLiteral("--mode"), QStringLiteral("weighing")},
         QStringLiteral("--mode")},
        {"records: bad encoding",
         {QStringLiteral("records"), table, QStringLiteral("--encoding"), QStringLiteral("latin1")},
         QStringLiteral("--encoding")},
        {"download: no port", {QStringLiteral("download"), table}, QStringLiteral("--port")},
        {"download: bad baud",
         {QStringLiteral("download"), table, QStringLiteral("--port"), table, QStringLiteral("--baud"),
          QStringLiteral("1234")},
         QStringLiteral("--baud")},
        {"download: unknown port number",
         {QStringLiteral("download"), table, QStringLiteral("--port"), QStringLiteral("9999")},
         QStringLiteral("no port 9999")},
        {"download: a port twice",
         {QStringLiteral("download"), table, QStringLiteral("--port"), table, QStringLiteral("--port"), table},
         QStringLiteral("given twice")},
        {"convert: one file", {QStringLiteral("convert"), table}, QStringLiteral("IN and OUT")},
    };
    for (const auto& c : cases) {
        const SCliRun run = cli.Run(c.arguments);
        ASSERT_TRUE(run.finished) << c.name;
        EXPECT_EQ(run.exitCode, 2) << c.name << ": " << Text(run.err);
        EXPECT_TRUE(run.err.contains(c.message)) << c.name << ": " << Text(run.err);
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << c.name << ": one line, " << Text(run.err);
        EXPECT_EQ(Text(run.out), "") << c.name;
    }
    // Nothing was written under another name than the one given.
    EXPECT_FALSE(QFile::exists(cli.Path(QStringLiteral("out.txt"))));
    EXPECT_FALSE(QFile::exists(cli.Path(QStringLiteral("out.txt.xls"))));
}

} // namespace
