#include "app/CodePage.h"

#include <gtest/gtest.h>

namespace {

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

TEST(CodePage, EncodesInEachCodePage)
{
    const QString apple = QString::fromUtf8("苹果");
    EXPECT_EQ(CodePage::Encode(apple, 936), Hex("c6bbb9fb"));
    EXPECT_EQ(CodePage::Encode(QString::fromUtf8("蘋果"), 950), Hex("c4abaa47"));
    EXPECT_EQ(CodePage::Encode(apple, 65001), apple.toUtf8());
    EXPECT_EQ(CodePage::Encode(QString::fromUtf8("Käse"), 1252), Hex("4be47365"));
}

TEST(CodePage, UnrepresentableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(CodePage::Encode(QString::fromUtf8("a€b"), 936), QByteArray("a\x80"
                                                                          "b"));
    EXPECT_EQ(CodePage::Encode(QString::fromUtf8("aЖb"), 1252), QByteArray("a?b"));
    EXPECT_EQ(CodePage::Encode(QString::fromUtf8("x😀y"), 950), QByteArray("x?y"));
    const QString loneSurrogate = QString(QChar(0xD800)) + QLatin1Char('z');
    EXPECT_EQ(CodePage::Encode(loneSurrogate, 65001), QByteArray("?z"));
    EXPECT_EQ(CodePage::Encode(loneSurrogate, 936), QByteArray("?z"));
}

TEST(CodePage, LimitedEncodingNeverCutsACharacter)
{
    const QString name = QString::fromUtf8("ab苹果");
    EXPECT_EQ(CodePage::EncodeLimited(name, 936, 5), Hex("6162c6bb"));
    EXPECT_EQ(CodePage::EncodeLimited(name, 65001, 7), QByteArray("ab") + QString::fromUtf8("苹").toUtf8());
    EXPECT_EQ(CodePage::EncodeLimited(name, 65001, 8), name.toUtf8());
    EXPECT_EQ(CodePage::EncodeLimited(name, 936, 0), QByteArray());
}

// The limited UTF-8 path writes the bytes itself: each sequence length, a pair cut by the limit, and
// half a pair, which goes as '?' and is reported.
TEST(CodePage, LimitedUtf8WritesEverySequenceLength)
{
    const QChar high(0xD83D);
    const QChar low(0xDE00);
    struct SCase
    {
        QString text;
        int maxBytes;
        QByteArray bytes;
        bool replaced;
    };
    const SCase cases[] = {
        {QStringLiteral("a\u00E9\u82F9\uFFFD"), 64, Hex("61c3a9e88bb9efbfbd"), false},
        {QString::fromUtf8("x😀y"), 64, Hex("78f09f988079"), false},
        {QString::fromUtf8("x😀y"), 4, Hex("78"), false},
        {QString(high) + QLatin1Char('z'), 64, QByteArray("?z"), true},
        {QLatin1Char('z') + QString(low), 64, QByteArray("z?"), true},
        {QString(low) + QString(high), 64, QByteArray("??"), true},
    };
    for (const SCase& c : cases) {
        const CodePage::SEncoded encoded = CodePage::EncodeReported(c.text, 65001, c.maxBytes);
        EXPECT_EQ(encoded.bytes, c.bytes) << c.text.toStdString();
        EXPECT_EQ(encoded.replaced, c.replaced) << c.text.toStdString();
        if (c.maxBytes >= c.text.size() * 4) {
            EXPECT_EQ(encoded.bytes, CodePage::Encode(c.text, 65001)) << c.text.toStdString();
        }
    }
}

TEST(CodePage, DecodesAndReplacesInvalidBytes)
{
    EXPECT_EQ(CodePage::Decode(Hex("c4e3"), 936), QString::fromUtf8("你"));
    EXPECT_EQ(CodePage::Decode(Hex("c4e3"), 1252), QString::fromUtf8("Äã"));
    EXPECT_EQ(CodePage::Decode(Hex("a4a4a4e5"), 950), QString::fromUtf8("中文"));
    EXPECT_EQ(CodePage::Decode(Hex("41ff42"), 936), QString::fromUtf8("A\xEF\xBF\xBD"
                                                                      "B"));
    EXPECT_EQ(CodePage::Decode(Hex("41c4"), 936), QString::fromUtf8("A\xEF\xBF\xBD"));
}

TEST(CodePage, RecognisesWellFormedUtf8)
{
    EXPECT_TRUE(CodePage::IsValidUtf8(QByteArray("plain")));
    EXPECT_TRUE(CodePage::IsValidUtf8(QString::fromUtf8("苹果 😀").toUtf8()));
    EXPECT_FALSE(CodePage::IsValidUtf8(Hex("c4e3")));   // GBK
    EXPECT_FALSE(CodePage::IsValidUtf8(Hex("c0af")));   // overlong
    EXPECT_FALSE(CodePage::IsValidUtf8(Hex("eda080"))); // surrogate
    EXPECT_FALSE(CodePage::IsValidUtf8(Hex("e4b8")));   // cut short
}

} // namespace
