#include "ExchangeTestSupport.h"

#include "exchange/CXlsReader.h"
#include "exchange/CXlsWriter.h"
#include "exchange/PluImport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A BIFF8 workbook stream put together record by record: the globals with the sheet's entry (and
// the shared strings, when given), then the sheet's records.
class CBiffStream
{
public:
    static QByteArray Record(quint16 type, const QByteArray& data)
    {
        QByteArray record;
        Put16(record, type);
        Put16(record, quint16(data.size()));
        return record + data;
    }

    static void Put16(QByteArray& out, quint32 value)
    {
        out.append(char(value & 0xFF));
        out.append(char((value >> 8) & 0xFF));
    }
    static void Put32(QByteArray& out, quint32 value)
    {
        Put16(out, value & 0xFFFF);
        Put16(out, value >> 16);
    }
    static QByteArray Cell(int row, int column, const QByteArray& rest = QByteArray())
    {
        QByteArray data;
        Put16(data, quint16(row));
        Put16(data, quint16(column));
        Put16(data, 15); // cell format
        return data + rest;
    }
    static QByteArray Double(double value)
    {
        QByteArray bytes(8, '\0');
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        qToLittleEndian(bits, bytes.data());
        return bytes;
    }
    static QByteArray U32(quint32 value)
    {
        QByteArray bytes;
        Put32(bytes, value);
        return bytes;
    }
    // A string with a 16-bit count: one byte a character, or two when `wide`.
    static QByteArray Text(const QString& text, bool wide)
    {
        QByteArray bytes;
        Put16(bytes, quint16(text.size()));
        bytes.append(char(wide ? 1 : 0));
        for (const QChar c : text) {
            if (wide)
                Put16(bytes, c.unicode());
            else
                bytes.append(char(c.unicode()));
        }
        return bytes;
    }
    static QByteArray Bof(quint16 version, quint16 kind)
    {
        QByteArray data;
        Put16(data, version);
        Put16(data, kind);
        return Record(0x0809, data + QByteArray(12, '\0'));
    }
    static QByteArray Dimensions(quint32 rows, quint16 columns)
    {
        QByteArray data;
        Put32(data, 0);
        Put32(data, rows);
        Put16(data, 0);
        Put16(data, columns);
        Put16(data, 0);
        return Record(0x0200, data);
    }

    // The whole stream; sharedStrings are the SST record and its CONTINUE records, ready made.
    static QByteArray Workbook(const QByteArray& sheetRecords, const QByteArray& sharedStrings = QByteArray(),
                               quint16 version = 0x0600)
    {
        const QByteArray head = Bof(version, 0x0005);
        QByteArray sheetEntry;
        Put32(sheetEntry, 0); // patched below
        sheetEntry.append('\0');
        sheetEntry.append('\0');
        sheetEntry.append(Text(QStringLiteral("Sheet1"), false).remove(1, 1)); // 8-bit count
        QByteArray globals = head + Record(0x0085, sheetEntry) + sharedStrings + Record(0x000A, QByteArray());
        const quint32 sheetAt = quint32(globals.size());
        qToLittleEndian(sheetAt, globals.data() + head.size() + 4);
        return globals + Bof(version, 0x0010) + sheetRecords + Record(0x000A, QByteArray());
    }
};

using B = CBiffStream;

TEST(XlsReader, ReadsEveryKindOfCell)
{
    QByteArray mulRk;
    mulRk += B::Cell(3, 0).left(4);                                           // row and first column
    for (const quint32 rk : {quint32(7 << 2) | 2u, quint32(250 << 2) | 3u}) { // 7, then 250 / 100
        B::Put16(mulRk, 15);
        B::Put32(mulRk, rk);
    }
    B::Put16(mulRk, 1); // last column
    QByteArray formulaText = B::Cell(4, 1, QByteArray::fromHex("000000000000ffff") + QByteArray(6, '\0'));
    QByteArray sst;
    B::Put32(sst, 2);
    B::Put32(sst, 2);
    sst += B::Text(QStringLiteral("shared"), false) + B::Text(QString::fromUtf8("共享"), true);
    const QByteArray sheet =
        B::Dimensions(6, 4) + B::Record(0x0203, B::Cell(0, 0, B::Double(2.5))) +
        B::Record(0x027E, B::Cell(1, 0, B::U32(quint32(-12) << 2 | 2))) + B::Record(0x00BD, mulRk) +
        B::Record(0x0204, B::Cell(0, 1, B::Text(QString::fromUtf8("Äpfel"), false))) +
        B::Record(0x0204, B::Cell(0, 2, B::Text(QString::fromUtf8("苹果"), true))) +
        B::Record(0x00FD, B::Cell(1, 1, B::U32(1))) + B::Record(0x00FD, B::Cell(1, 2, B::U32(9))) +
        B::Record(0x0205, B::Cell(2, 0, QByteArray::fromHex("0100"))) +
        B::Record(0x0205, B::Cell(2, 1, QByteArray::fromHex("0701"))) +
        B::Record(0x0006, B::Cell(4, 0, B::Double(42) + QByteArray(6, '\0'))) + B::Record(0x0006, formulaText) +
        B::Record(0x0207, B::Text(QStringLiteral("result"), false));
    CXlsReader reader;
    ASSERT_TRUE(reader.ReadWorkbookStream(B::Workbook(sheet, B::Record(0x00FC, sst))))
        << reader.ErrorString().toStdString();
    EXPECT_EQ(reader.LastRow(), 6);
    EXPECT_EQ(reader.LastCol(), 4);
    const struct
    {
        int row;
        int column;
        bool isNumber;
        double number;
        const char* text;
    } cells[] = {
        {0, 0, true, 2.5, ""},     {1, 0, true, -12, ""},    {3, 0, true, 7, ""},      {3, 1, true, 2.5, ""},
        {0, 1, false, 0, "Äpfel"}, {0, 2, false, 0, "苹果"}, {1, 1, false, 0, "共享"}, {1, 2, false, 0, ""},
        {2, 0, true, 1, ""},       {2, 1, false, 0, ""},     {4, 0, true, 42, ""},     {4, 1, false, 0, "result"},
        {5, 3, false, 0, ""},
    };
    for (const auto& c : cells) {
        const SWorkbookCell cell = reader.Cell(c.row, c.column);
        EXPECT_EQ(cell.isNumber, c.isNumber) << c.row << ":" << c.column;
        EXPECT_EQ(cell.number, c.number) << c.row << ":" << c.column;
        EXPECT_EQ(cell.text, QString::fromUtf8(c.text)) << c.row << ":" << c.column;
    }
}

TEST(XlsReader, ASharedStringGoesOnAcrossRecordsInEitherWidth)
{
    // "abc" starts one byte a character; its rest follows in two CONTINUE records, the first wide.
    QByteArray sst;
    B::Put32(sst, 1);
    B::Put32(sst, 1);
    B::Put16(sst, 7);
    sst += QByteArray("\x00"
                      "abc",
                      4);
    QByteArray second("\x01", 1);
    B::Put16(second, 0x5171); // 共
    B::Put16(second, 0x4EAB); // 享
    const QByteArray third = QByteArray("\x00"
                                        "de",
                                        3);
    const QByteArray strings = B::Record(0x00FC, sst) + B::Record(0x003C, second) + B::Record(0x003C, third);
    CXlsReader reader;
    ASSERT_TRUE(reader.ReadWorkbookStream(B::Workbook(B::Record(0x00FD, B::Cell(0, 0, B::U32(0))), strings)))
        << reader.ErrorString().toStdString();
    EXPECT_EQ(reader.Cell(0, 0).text, QString::fromUtf8("abc共享de"));
}

// Half of a surrogate pair is no character: it reads as '?', also where the next shared string starts
// with the other half.
TEST(XlsReader, HalfASurrogatePairInASharedStringReadsAsAQuestionMark)
{
    const QChar high(0xD83D);
    const QChar low(0xDE00);
    const QStringList texts = {QString(high) + low + QLatin1Char('a'), QLatin1Char('b') + QString(high),
                               QString(low) + QLatin1Char('c')};
    QByteArray sst;
    B::Put32(sst, 3);
    B::Put32(sst, 3);
    QByteArray cells;
    for (int i = 0; i < texts.size(); ++i) {
        sst += B::Text(texts[i], true);
        cells += B::Record(0x00FD, B::Cell(i, 0, B::U32(quint32(i))));
    }
    CXlsReader reader;
    ASSERT_TRUE(reader.ReadWorkbookStream(B::Workbook(cells, B::Record(0x00FC, sst))))
        << reader.ErrorString().toStdString();
    EXPECT_EQ(reader.Cell(0, 0).text, texts[0]);
    EXPECT_EQ(reader.Cell(1, 0).text, QStringLiteral("b?"));
    EXPECT_EQ(reader.Cell(2, 0).text, QStringLiteral("?c"));
}

TEST(XlsReader, RefusesDamagedStreamsWithAReason)
{
    const QByteArray cell = B::Record(0x0203, B::Cell(0, 0, B::Double(1)));
    QByteArray longLabel = B::Cell(0, 0);
    B::Put16(longLabel, 500); // 500 characters promised, 3 given
    longLabel += QByteArray("\x00"
                            "abc",
                            4);
    QByteArray cutSst;
    B::Put32(cutSst, 1);
    B::Put32(cutSst, 1);
    B::Put16(cutSst, 10);
    cutSst += QByteArray("\x00"
                         "abc",
                         4);
    QByteArray runsPastTheEnd = B::Workbook(cell);
    runsPastTheEnd.chop(4 + 5); // the end record, and the number's last bytes
    QByteArray sheetElsewhere = B::Workbook(cell);
    qToLittleEndian(quint32(1) << 30, sheetElsewhere.data() + 20 + 4);
    // The sheet's offset points at the workbook's own BOF: read as a sheet, it was an empty table.
    QByteArray sheetAtGlobals = B::Workbook(cell);
    qToLittleEndian(quint32(0), sheetAtGlobals.data() + 20 + 4);
    const struct
    {
        const char* name;
        QByteArray stream;
        const char* reason;
    } cases[] = {
        {"no BOF", QByteArray("not a workbook"), "not an .xls workbook"},
        {"Excel 95", B::Workbook(cell, QByteArray(), 0x0500), "before Excel 97"},
        {"a record past the end", runsPastTheEnd, "runs past the end"},
        {"a label longer than its record", B::Workbook(B::Record(0x0204, longLabel)), "cell 1:1 runs past its record"},
        {"a shared string cut short", B::Workbook(cell, B::Record(0x00FC, cutSst)), "shared string 1 is cut short"},
        {"the sheet beyond the stream", sheetElsewhere, "first sheet is not where"},
        {"the sheet at the workbook's BOF", sheetAtGlobals, "first sheet is not where"},
        {"more rows than a sheet has", B::Workbook(B::Dimensions(65537, 8) + cell), "claims 65537 rows"},
        {"more columns than a sheet has", B::Workbook(B::Dimensions(10, 257) + cell), "257 columns"},
    };
    for (const auto& c : cases) {
        CXlsReader reader;
        EXPECT_FALSE(reader.ReadWorkbookStream(c.stream)) << c.name;
        EXPECT_TRUE(reader.ErrorString().contains(QLatin1String(c.reason)))
            << c.name << ": " << reader.ErrorString().toStdString();
        EXPECT_EQ(reader.LastRow(), 0) << c.name;
    }
}

// A sheet whose used range claims the whole of an .xls sheet but holds two cells: the range decides
// the rows, but only the cells take memory.
TEST(XlsReader, AWholeSheetRangeWithFewCellsImportsEveryRow)
{
    const QByteArray sheet = B::Dimensions(65536, 256) + B::Record(0x0203, B::Cell(0, 0, B::Double(1))) +
                             B::Record(0x0203, B::Cell(65535, 255, B::Double(2)));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("claims.xls"));
    QString error;
    ASSERT_TRUE(CXlsWriter::WriteCompoundFile(path, B::Workbook(sheet), &error)) << error.toStdString();
    const SImportResult result = ReadImportFile(path, EPluMode::Pricing, ELimitMode::Off);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.columnCount, 256);
    ASSERT_EQ(result.rows.size(), 65535u);
    for (const SPluRow& row : result.rows)
        ASSERT_LE(row.cells.size(), 9);

    SImportLimits limits;
    limits.maxRows = 1000;
    const SImportResult refused = ReadImportFile(path, EPluMode::Pricing, ELimitMode::Off, limits);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.error.contains(QStringLiteral("more than 1,000 rows"))) << refused.error.toStdString();
}

// A compound file cut short makes libgsf complain on the terminal; the program's message is the only one.
TEST(XlsReader, ADamagedCompoundFileGivesOnlyTheProgramsMessage)
{
    QFile fixture(ExchangeTest::FixturePath(QStringLiteral("pricing_xlwt.xls")));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cut.xls"));
    QFile cut(path);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(fixture.read(2000));
    cut.close();

    testing::internal::CaptureStderr();
    CXlsReader reader;
    const bool loaded = reader.Load(path);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(reader.ErrorString().isEmpty());
    EXPECT_EQ(printed, std::string());
}

} // namespace
