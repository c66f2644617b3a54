#include "exchange/CStdioFileEx.h"

#include "app/Language.h"
#include "exchange/CCsvRecordReader.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The language in force for one test, put back afterwards.
class CLanguageInForce
{
public:
    explicit CLanguageInForce(int lcid)
        : m_previous(Language::LanguageInForce())
    {
        Language::SetLanguageInForce(lcid);
    }
    ~CLanguageInForce() { Language::SetLanguageInForce(m_previous); }

private:
    int m_previous;
};

class StdioFileEx : public ::testing::Test
{
protected:
    QString Write(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("file%1.csv").arg(++m_count));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Every line the reader gives for the file, read in text mode.
    QStringList ReadLines(const QByteArray& bytes, int codePage = CStdioFileEx::kDefaultCodePage)
    {
        CStdioFileEx file;
        file.SetCodePage(codePage);
        EXPECT_TRUE(file.Open(Write(bytes), CStdioFileEx::kModeRead | CStdioFileEx::kTypeText));
        QStringList lines;
        QString line;
        while (file.ReadString(line))
            lines.append(line);
        EXPECT_FALSE(file.HasReadError());
        return lines;
    }

    static QByteArray Utf16(const char16_t* text)
    {
        const QString string = QString::fromUtf16(text);
        QByteArray bytes("\xFF\xFE", 2);
        for (const QChar c : string) {
            bytes.append(char(c.unicode() & 0xFF));
            bytes.append(char(c.unicode() >> 8));
        }
        return bytes;
    }

    QTemporaryDir m_dir;
    int m_count = 0;
};

TEST_F(StdioFileEx, ReadsUtf16WithMarkEndingLinesAtLfCrLfOrCr)
{
    EXPECT_EQ(ReadLines(Utf16(u"a,b\r\nc\r\n")), QStringList({QStringLiteral("a,b"), QStringLiteral("c")}));
    EXPECT_EQ(ReadLines(Utf16(u"\u82f9\u679c\r\r\nlast")),
              QStringList({QString::fromUtf8("苹果"), QString(), QStringLiteral("last")}));
    EXPECT_EQ(ReadLines(Utf16(u"a\rb\rc")),
              QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
}

TEST_F(StdioFileEx, Utf16MarkSwitchesToBinaryAndOddLastByteIsDropped)
{
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(Write(Utf16(u"x") + QByteArray("\x41", 1)), CStdioFileEx::kTypeText));
    EXPECT_TRUE(file.IsUnicode());
    EXPECT_EQ(file.Flags() & (CStdioFileEx::kTypeText | CStdioFileEx::kTypeBinary), CStdioFileEx::kTypeBinary);
    QString line = QStringLiteral("old");
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, QStringLiteral("x"));
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(line.isEmpty());
}

TEST_F(StdioFileEx, Utf8MarkSetsTheCodePageAndIsNoText)
{
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(Write("\xEF\xBB\xBF"
                                "ab\nx\n"),
                          CStdioFileEx::kTypeText));
    EXPECT_EQ(file.CodePage(), 65001);
    QString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, QStringLiteral("ab"));
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, QStringLiteral("x"));
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_EQ(line, QStringLiteral("x")); // the 8-bit path leaves the string at the end
}

TEST_F(StdioFileEx, EightBitTextFollowsTheLanguageInForce)
{
    {
        CLanguageInForce chinese(Language::kSimplifiedChinese);
        EXPECT_EQ(ReadLines("\xC4\xE3\n"), QStringList(QString::fromUtf8("你")));
    }
    {
        CLanguageInForce english(Language::kEnglishUnitedStates);
        EXPECT_EQ(ReadLines("\xC4\xE3\n"), QStringList(QString::fromUtf8("Äã")));
    }
    CLanguageInForce english(Language::kEnglishUnitedStates);
    EXPECT_EQ(ReadLines("\xA4\xA4\xA4\xE5\n", 950), QStringList(QString::fromUtf8("中文")));
}

TEST_F(StdioFileEx, WellFormedUtf8WithoutMarkIsReadAsUtf8)
{
    CLanguageInForce chinese(Language::kSimplifiedChinese);
    const QByteArray utf8 = QString::fromUtf8("PLU,名称\n1,苹果\n").toUtf8();
    EXPECT_EQ(ReadLines(utf8), QStringList({QString::fromUtf8("PLU,名称"), QString::fromUtf8("1,苹果")}));
    // GBK bytes are not well-formed UTF-8: the file stays in the language's code page.
    EXPECT_EQ(ReadLines("PLU\n1,\xC6\xBB\xB9\xFB\n"),
              QStringList({QStringLiteral("PLU"), QString::fromUtf8("1,苹果")}));
    // An explicit code page is kept even for well-formed UTF-8.
    EXPECT_EQ(ReadLines(QString::fromUtf8("é\n").toUtf8(), 1252), QStringList(QString::fromUtf8("Ã©")));
}

TEST_F(StdioFileEx, Utf8DetectionLooksAtTheWholeFile)
{
    // Well-formed UTF-8 far beyond the first read buffer, then one GBK character near the end.
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += QString::fromUtf8("行%1\n").arg(i).toUtf8();
    CLanguageInForce chinese(Language::kSimplifiedChinese);
    CStdioFileEx utf8;
    ASSERT_TRUE(utf8.Open(Write(bytes), CStdioFileEx::kTypeText));
    EXPECT_EQ(utf8.CodePage(), 65001);

    CStdioFileEx mixed;
    ASSERT_TRUE(mixed.Open(Write(bytes + "\xC4\xE3\n"), CStdioFileEx::kTypeText));
    EXPECT_EQ(mixed.CodePage(), CStdioFileEx::kDefaultCodePage);

    CStdioFileEx ascii;
    ASSERT_TRUE(ascii.Open(Write("plain,ascii\n"), CStdioFileEx::kTypeText));
    EXPECT_EQ(ascii.CodePage(), CStdioFileEx::kDefaultCodePage);
}

TEST_F(StdioFileEx, LineEndsInEightBitText)
{
    struct SCase
    {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    };
    const SCase cases[] = {
        {"CR, then CR LF", QByteArray("a\r\r\nb\r\n"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {"old Mac line ends",
         QByteArray("h\r1,2\r3,4\r"),
         {QStringLiteral("h"), QStringLiteral("1,2"), QStringLiteral("3,4")}},
        {"last line without LF", QByteArray("a\nlast"), {QStringLiteral("a"), QStringLiteral("last")}},
        {"empty lines", QByteArray("\n\r\nx\n"), {QString(), QString(), QStringLiteral("x")}},
        {"one-byte file", QByteArray("7"), {QStringLiteral("7")}},
        {"lone CR inside a line", QByteArray("a\rb\n"), {QStringLiteral("a"), QStringLiteral("b")}},
        {"DOS end-of-file mark", QByteArray("a\r\n\x1A"), {QStringLiteral("a")}},
        {"text after a NUL byte", QByteArray("ab\0cd\nx\n", 8), {QStringLiteral("ab"), QStringLiteral("x")}},
        {"empty file", QByteArray(), {}},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(ReadLines(c.bytes, 1252), c.lines) << c.name;
}

TEST_F(StdioFileEx, BinaryModeEndsLinesAsTextModeDoes)
{
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(Write("a\r\r\nb"), CStdioFileEx::kTypeBinary));
    QStringList lines;
    QString line;
    while (file.ReadString(line))
        lines.append(line);
    EXPECT_EQ(lines, QStringList({QStringLiteral("a"), QString(), QStringLiteral("b")}));
}

// A CR LF pair split between two reads of the file is still one line end.
TEST_F(StdioFileEx, CrLfAcrossTheReadBufferIsOneLineEnd)
{
    for (const qsizetype length : {65535, 65534}) {
        const QByteArray first(length, 'x');
        const QStringList lines = ReadLines(first + "\r\nnext\r\n", 1252);
        ASSERT_EQ(lines.size(), 2) << length;
        EXPECT_EQ(lines[0].size(), length);
        EXPECT_EQ(lines[1], QStringLiteral("next"));
    }
}

TEST_F(StdioFileEx, LongLinesComeBackWhole)
{
    const QByteArray longLine(5000, 'x');
    const QStringList lines = ReadLines(longLine + "\nnext\n" + QByteArray(70000, 'y'), 1252);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), 5000);
    EXPECT_EQ(lines[1], QStringLiteral("next"));
    EXPECT_EQ(lines[2].size(), 70000);
}

TEST_F(StdioFileEx, OpenFailsForAMissingFileWithAReason)
{
    CStdioFileEx file;
    EXPECT_FALSE(file.Open(m_dir.filePath(QStringLiteral("missing.csv")), CStdioFileEx::kTypeText));
    EXPECT_FALSE(file.ErrorString().isEmpty());
    QString line;
    EXPECT_FALSE(file.ReadString(line));
}

TEST_F(StdioFileEx, ReadingAFolderIsAnErrorNotAnEmptyFile)
{
    CStdioFileEx file;
    if (!file.Open(m_dir.path(), CStdioFileEx::kModeRead | CStdioFileEx::kTypeText))
        GTEST_SKIP() << "this system does not open folders as files";
    QString line;
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(file.HasReadError());
}

TEST_F(StdioFileEx, WritesUtf16WithOneMarkOrInTheCodePage)
{
    const QString path = m_dir.filePath(QStringLiteral("out.txt"));
    {
        CStdioFileEx file;
        ASSERT_TRUE(
            file.Open(path, CStdioFileEx::kModeCreate | CStdioFileEx::kModeWrite | CStdioFileEx::kModeWriteUnicode));
        EXPECT_TRUE(file.WriteString(QString::fromUtf8("苹")));
        EXPECT_TRUE(file.WriteString(u"a\n"));
    }
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("\xFF\xFE\xF9\x82"
                                            "a\0\n\0",
                                            8));
    written.close();

    {
        CStdioFileEx file;
        file.SetCodePage(936);
        ASSERT_TRUE(file.Open(path, CStdioFileEx::kModeCreate | CStdioFileEx::kModeWrite));
        EXPECT_TRUE(file.WriteString(QString::fromUtf8("苹果 x")));
        EXPECT_TRUE(file.WriteString(QString()));
    }
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("\xC6\xBB\xB9\xFB x"));
}

TEST_F(StdioFileEx, WrittenUtf16ReadsBack)
{
    const QString path = m_dir.filePath(QStringLiteral("round.csv"));
    {
        CStdioFileEx file;
        ASSERT_TRUE(
            file.Open(path, CStdioFileEx::kModeCreate | CStdioFileEx::kModeWrite | CStdioFileEx::kModeWriteUnicode));
        EXPECT_TRUE(file.WriteString(QString::fromUtf8("PLU,名称\r\n1,苹果\r\n")));
    }
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(path, CStdioFileEx::kTypeText));
    QString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, QString::fromUtf8("PLU,名称"));
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, QString::fromUtf8("1,苹果"));
    EXPECT_FALSE(file.ReadString(line));
}

TEST(CsvRecordReader, SplitsFieldsTheCommonWay)
{
    struct SCase
    {
        const char* line;
        QStringList fields;
    };
    const SCase cases[] = {
        {"", {QString()}},
        {"a,,b,", {QStringLiteral("a"), QString(), QStringLiteral("b"), QString()}},
        {" spaced , kept ", {QStringLiteral(" spaced "), QStringLiteral(" kept ")}},
        {"5,1.25,\"x, y\",z",
         {QStringLiteral("5"), QStringLiteral("1.25"), QStringLiteral("x, y"), QStringLiteral("z")}},
        {"\"say \"\"hi\"\"\",b", {QStringLiteral("say \"hi\""), QStringLiteral("b")}},
        {"ab\"c,d\"", {QStringLiteral("ab\"c"), QStringLiteral("d\"")}},
        {"\"q\"tail,x", {QStringLiteral("qtail"), QStringLiteral("x")}},
        {"\"\",\"\"", {QString(), QString()}},
        {"\"open, never closed", {QStringLiteral("open, never closed")}},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(CCsvRecordReader::SplitLine(QString::fromUtf8(c.line)), c.fields) << c.line;
}

TEST_F(StdioFileEx, QuotedFieldsMayHoldLineBreaksButMustBeClosed)
{
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(Write("h\n1,\"two\r\nlines\",x\r\n2,\"open\n3,y\n4,z"), CStdioFileEx::kTypeText));
    CCsvRecordReader reader(file);
    QStringList fields;
    ASSERT_TRUE(reader.ReadRecord(fields));
    ASSERT_TRUE(reader.ReadRecord(fields));
    EXPECT_EQ(fields, QStringList({QStringLiteral("1"), QStringLiteral("two\nlines"), QStringLiteral("x")}));
    EXPECT_EQ(reader.UnclosedQuoteLine(), 0);
    // The quote on line 4 swallows the rest of the file: the reader stops and names that line.
    EXPECT_FALSE(reader.ReadRecord(fields));
    EXPECT_TRUE(fields.isEmpty());
    EXPECT_EQ(reader.UnclosedQuoteLine(), 4);
    EXPECT_FALSE(reader.ReadRecord(fields));
}

TEST(CsvRecordReader, TheFirstLineDecidesTheSeparator)
{
    struct SCase
    {
        const char* header;
        char separator;
    };
    const SCase cases[] = {
        {"PLU;Preis;Name", ';'},
        {"PLU\tPrice\tName", '\t'},
        {"PLU,Price,Name", ','},
        {"\"PLU;No\",Price", ','}, // the semicolon is quoted
        {"\"PLU,No\";Preis", ';'}, // the comma is quoted
        {"PLU;Price,Name", ','},   // two kinds: a comma when in doubt
        {"PLU", ','},
        {"", ','},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(CCsvRecordReader::DetectSeparator(QString::fromUtf8(c.header)), QLatin1Char(c.separator)) << c.header;

    EXPECT_EQ(CCsvRecordReader::DeclaredSeparator(u"sep=;"), QLatin1Char(';'));
    EXPECT_EQ(CCsvRecordReader::DeclaredSeparator(u"SEP=|"), QLatin1Char('|'));
    for (const char16_t* notDeclaration : {u"sep=", u"sep=;;", u"sep=\"", u"PLU;sep=;", u" sep=;"})
        EXPECT_FALSE(CCsvRecordReader::DeclaredSeparator(notDeclaration))
            << QString::fromUtf16(notDeclaration).toStdString();
}

TEST_F(StdioFileEx, ASeparatorLineIsNoRecord)
{
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(Write("sep=|\nPLU|Name\n1|\"a|b\"\n"), CStdioFileEx::kTypeText));
    CCsvRecordReader reader(file);
    QStringList fields;
    ASSERT_TRUE(reader.ReadRecord(fields));
    EXPECT_EQ(fields, QStringList({QStringLiteral("PLU"), QStringLiteral("Name")}));
    EXPECT_EQ(reader.Separator(), QLatin1Char('|'));
    ASSERT_TRUE(reader.ReadRecord(fields));
    EXPECT_EQ(fields, QStringList({QStringLiteral("1"), QStringLiteral("a|b")}));
}

} // namespace
