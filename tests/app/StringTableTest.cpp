#include "app/StringTable.h"
#include "app/Language.h"
#include "app/SystemErrorText.h"

#include <QHash>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

namespace {

struct SLookupCase
{
    const char* name;
    unsigned id;
    int lcid;
    const char* expected; // UTF-8
};

class StringLookup : public ::testing::TestWithParam<SLookupCase>
{
};

TEST_P(StringLookup, FindsTheLanguagesText)
{
    const SLookupCase& c = GetParam();
    EXPECT_EQ(LoadString(c.id, c.lcid), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, StringLookup,
                         ::testing::Values(SLookupCase{"EnglishUnitedStates", 124, 1033, "Unselected"},
                                           SLookupCase{"SwissGermanUsesGerman", 124, 2055, "Nicht ausgewählt"},
                                           SLookupCase{"HongKongTraditional", 102, 3076, "導入"},
                                           SLookupCase{"TaiwanUsesTraditional", 102, 1028, "導入"},
                                           SLookupCase{"MacaoUsesTraditional", 103, 5124, "匯出"},
                                           SLookupCase{"SingaporeUsesSimplified", 103, 4100, "导出"},
                                           SLookupCase{"MexicanSpanish", 129, 2058, "éxito"},
                                           SLookupCase{"JapaneseFallsBackToEnglish", 128, 1041, "No data!"},
                                           SLookupCase{"UnknownLocaleIsEnglish", 104, 0, "Download"},
                                           SLookupCase{"Id127IsEmpty", 127, 1033, ""},
                                           SLookupCase{"Id127IsEmptyInChinese", 127, 2052, ""},
                                           SLookupCase{"UnknownIdIsEmpty", 4000, 7, ""},
                                           SLookupCase{"LanguageStaysEnglishInGerman", 106, 1031, "Language"},
                                           SLookupCase{"LanguageStaysEnglishInSimplified", 106, 2052, "Language"},
                                           SLookupCase{"LanguageStaysEnglishInTraditional", 106, 3076, "Language"},
                                           SLookupCase{"LanguageInSpanish", 106, 10, "Idioma"},
                                           SLookupCase{"LanguageInFrench", 106, 1036, "Langue"},
                                           SLookupCase{"LanguageInItalian", 106, 16, "Lingua"},
                                           SLookupCase{"AmpersandKept", 101, 10, "Acerca de Talvex (& A) ..."}),
                         [](const auto& info) { return std::string(info.param.name); });

const int kLanguages[] = {9, 7, 10, 12, 16, 2052, 3076};

// "%2 of %1, %2" -> {"%1", "%2", "%2"}
QStringList Arguments(const QString& text)
{
    static const QRegularExpression argument(QStringLiteral("%[1-9]"));
    QStringList found;
    for (auto match = argument.globalMatch(text); match.hasNext();)
        found.append(match.next().captured());
    found.sort();
    return found;
}

// Every text the window shows is in the table: the labels, titles and questions (101 to 133), and the messages with
// their parts (from 140), the download's row states, Transfer dialog and resume question (from 300). Each has all seven
// languages, and each language takes the same arguments.
TEST(StringTable, EveryTextHasSevenTranslationsWithTheSameArguments)
{
    const QList<unsigned> ids = StringTableIds();
    ASSERT_GE(ids.size(), 150);
    for (unsigned id : ids) {
        EXPECT_TRUE((id >= 101 && id <= 133 && id != 127) || (id >= 140 && id <= 349)) << "id " << id;
        const QStringList english = Arguments(LoadString(id, 9));
        // Arguments are numbered from %1 without a gap, so that every part given reaches the text.
        QStringList distinct = english;
        distinct.removeDuplicates();
        for (int i = 0; i < distinct.size(); ++i)
            EXPECT_EQ(distinct[i], QStringLiteral("%%1").arg(i + 1)) << "id " << id;
        for (int lcid : kLanguages) {
            const QString text = LoadString(id, lcid);
            EXPECT_FALSE(text.trimmed().isEmpty()) << "id " << id << " lcid " << lcid;
            EXPECT_EQ(Arguments(text), english) << "id " << id << " lcid " << lcid << ": " << text.toStdString();
            EXPECT_EQ(text.count(QLatin1Char('\n')), LoadString(id, 9).count(QLatin1Char('\n'))) << "id " << id;
        }
    }
}

// Two IDs with one English text would be two homes for one message, and could drift apart in translation.
TEST(StringTable, NoTextIsThereTwice)
{
    QHash<QString, unsigned> seen;
    for (unsigned id : StringTableIds()) {
        const QString english = LoadString(id, 9);
        EXPECT_FALSE(seen.contains(english))
            << "ids " << seen.value(english) << " and " << id << ": " << english.toStdString();
        seen.insert(english, id);
    }
}

// A message that names a column names it with the column's own title in every language.
TEST(StringTable, MessagesNameColumnsByTheirTitles)
{
    const struct
    {
        unsigned message;
        unsigned title;
    } cases[] = {{StringId::DownloadNothingSendable, StringId::PluNo}};
    for (const auto& c : cases) {
        for (int lcid : kLanguages) {
            EXPECT_TRUE(LoadString(c.message, lcid).contains(LoadString(c.title, lcid), Qt::CaseInsensitive))
                << "lcid " << lcid << ": " << LoadString(c.message, lcid).toStdString();
        }
    }
}

TEST(StringTable, MessagesFollowTheirOwnLanguageWhenSetApart)
{
    Language::SetLanguageInForce(1031);
    EXPECT_EQ(MessageString(StringId::GridPaste), QStringLiteral("Einfügen"));
    EXPECT_EQ(MessageNumber(1048576), QStringLiteral("1.048.576"));
    EXPECT_FALSE(MessagesInEnglish());
    // The command line: German tables, English messages.
    Language::SetMessageLanguage(1033);
    EXPECT_EQ(LoadString(StringId::GridPaste), QStringLiteral("Einfügen"));
    EXPECT_EQ(MessageString(StringId::GridPaste), QStringLiteral("Paste"));
    EXPECT_EQ(MessageNumber(1048576), QStringLiteral("1,048,576"));
    EXPECT_TRUE(MessagesInEnglish());
    Language::SetMessageLanguage(0);
    Language::SetLanguageInForce(1033);
}

TEST(StringTable, SystemErrorsAreTranslatedAndKeepTheLibrarysWordsInEnglish)
{
    Language::SetLanguageInForce(1033);
    EXPECT_EQ(SystemErrorText(EACCES), QString::fromLocal8Bit(std::strerror(EACCES)));
    EXPECT_EQ(SystemErrorText(EPERM), QString::fromLocal8Bit(std::strerror(EPERM)));
    Language::SetLanguageInForce(7);
    EXPECT_EQ(SystemErrorText(EACCES), QStringLiteral("Zugriff verweigert"));
    EXPECT_EQ(SystemErrorText(ENOSPC), QStringLiteral("Kein Platz mehr auf dem Datenträger"));
    // An uncommon error keeps the library's text rather than none.
    EXPECT_EQ(SystemErrorText(EXDEV), QString::fromLocal8Bit(std::strerror(EXDEV)));
    Language::SetLanguageInForce(1033);
}

TEST(StringTable, TranslationFilesAreNamedAfterTheTableInUse)
{
    const struct
    {
        int lcid;
        const char* name;
    } cases[] = {{1033, "en"},    {2055, "de"},    {2058, "es"},    {3084, "fr"},    {16, "it"},
                 {2052, "zh_CN"}, {4100, "zh_CN"}, {3076, "zh_TW"}, {1028, "zh_TW"}, {1041, "en"}};
    for (const auto& c : cases)
        EXPECT_EQ(StringTableLanguageName(c.lcid), QString::fromLatin1(c.name)) << c.lcid;
}

TEST(StringTable, LooksUpInTheLanguageInForce)
{
    Language::SetLanguageInForce(2055);
    EXPECT_EQ(LoadString(StringId::New), QStringLiteral("Neu"));
    Language::SetLanguageInForce(1033);
    EXPECT_EQ(LoadString(StringId::New), QStringLiteral("New"));
}

} // namespace
