#include "app/Language.h"
#include "app/LanguageCommands.h"

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct SChoiceCase
{
    const char* name;
    int stored;
    int system;
    int expected;
};

class LanguageChoice : public ::testing::TestWithParam<SChoiceCase>
{
};

TEST_P(LanguageChoice, GivesTheLanguageInForce)
{
    const SChoiceCase& c = GetParam();
    EXPECT_EQ(Language::ChooseLanguage(c.stored, c.system), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LanguageChoice,
                         ::testing::Values(SChoiceCase{"AutomaticKeepsSwissGerman", 0, 2055, 2055},
                                           SChoiceCase{"AutomaticFallsBackFromJapanese", 0, 1041, 1033},
                                           SChoiceCase{"AutomaticFallsBackFromEnglish", 0, 1033, 1033},
                                           SChoiceCase{"AutomaticFallsBackFromUnknownLocale", 0, 0, 1033},
                                           SChoiceCase{"AutomaticKeepsMacaoChinese", 0, 5124, 5124},
                                           SChoiceCase{"StoredSpanishForcesSpanish", 10, 2055, 10},
                                           SChoiceCase{"StoredSimplifiedChinese", 2052, 1033, 2052},
                                           SChoiceCase{"FirstRunKeepsTheUsersLanguage", -1, 1036, 1036},
                                           SChoiceCase{"UnknownValueIsRefused", 99999, 3082, 3082}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LanguageLocale, MapsLocaleNamesToLcids)
{
    EXPECT_EQ(Language::LcidFromLocaleName(QStringLiteral("de_CH.UTF-8")), 2055);
    EXPECT_EQ(Language::LcidFromLocaleName(QStringLiteral("zh-TW")), 1028);
    EXPECT_EQ(Language::LcidFromLocaleName(QStringLiteral("es_AR@euro")), 11274);
    EXPECT_EQ(Language::LcidFromLocaleName(QStringLiteral("en_US")), 1033);
    EXPECT_EQ(Language::LcidFromLocaleName(QStringLiteral("C")), 0);
    EXPECT_EQ(Language::LcidFromLocaleName(QStringLiteral("C.UTF-8")), 0);
    EXPECT_EQ(Language::LcidFromLocaleName(QStringLiteral("xx_YY")), 0);
}

TEST(LanguageLocale, ANameWithoutARegionMeansTheLanguagesMainLocale)
{
    const struct
    {
        const char* name;
        int lcid;
    } cases[] = {
        {"de", 1031},         {"de.UTF-8", 1031},   {"fr", 1036},          {"it", 1040},
        {"es", 3082},         {"en", 1033},         {"zh", 2052},          {"zh.GB18030", 2052},
        {"zh_TW", 1028},      {"zh_HK", 3076},      {"zh_Hant", 1028},     {"zh_Hans", 2052},
        {"zh_Hant_HK", 3076}, {"zh-Hans-SG", 4100}, {"de_BE.UTF-8", 1031}, // a region not listed keeps the language
        {"ES_mx", 2058},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Language::LcidFromLocaleName(QString::fromLatin1(c.name)), c.lcid) << c.name;
}

// Sets the locale variables for one test and puts the old values back.
class CLocaleEnvironment
{
public:
    CLocaleEnvironment()
    {
        for (const char* name : kNames)
            m_saved.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    }
    ~CLocaleEnvironment()
    {
        for (const SSaved& saved : m_saved) {
            if (saved.wasSet)
                qputenv(saved.name, saved.value);
            else
                qunsetenv(saved.name);
        }
    }
    void Set(const char* language, const char* lcAll, const char* lcMessages, const char* lang)
    {
        const char* values[] = {language, lcAll, lcMessages, lang};
        for (int i = 0; i < 4; ++i) {
            if (values[i])
                qputenv(kNames[i], values[i]);
            else
                qunsetenv(kNames[i]);
        }
    }

    static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

private:
    struct SSaved
    {
        const char* name;
        QByteArray value;
        bool wasSet;
    };
    std::vector<SSaved> m_saved;
};

TEST(LanguageLocale, SystemLanguageComesFromLanguageThenLcAllLcMessagesAndLang)
{
    const struct
    {
        const char* language;
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        int lcid;
    } cases[] = {
        {"de", nullptr, nullptr, "en_US.UTF-8", 1031},
        {"fr_CA:de:en", "it_IT.UTF-8", nullptr, nullptr, 3084}, // the first entry of LANGUAGE
        {"", "it_IT.UTF-8", "de_DE.UTF-8", "en_US.UTF-8", 1040},
        {nullptr, nullptr, "es_AR.UTF-8", "de_DE.UTF-8", 11274},
        {nullptr, nullptr, nullptr, "de.UTF-8", 1031},
        {nullptr, nullptr, nullptr, "zh_TW.UTF-8", 1028},
        {nullptr, "C", nullptr, "de_DE.UTF-8", 0},
    };
    CLocaleEnvironment environment;
    for (const auto& c : cases) {
        environment.Set(c.language, c.lcAll, c.lcMessages, c.lang);
        EXPECT_EQ(Language::SystemLcid(), c.lcid) << (c.language ? c.language : "-") << " " << (c.lang ? c.lang : "-");
    }
}

TEST(LanguageLocale, EveryAutomaticChoiceLocaleHasAName)
{
    // The automatic choice can only keep a system locale that maps to an LCID.
    const int supported[] = {1028, 2052,  3076,  4100,  5124,  1031,  2055,  3079,  4103,  5127,  1036,  2060,  3084,
                             4108, 5132,  6156,  1040,  2064,  1034,  2058,  3082,  4106,  5130,  6154,  7178,  8202,
                             9226, 10250, 11274, 12298, 13322, 14346, 15370, 16394, 17418, 18442, 19466, 20490, 21514};
    for (int lcid : supported) {
        EXPECT_TRUE(Language::IsSupportedForAutomaticChoice(lcid)) << lcid;
        EXPECT_TRUE(Language::IsKnownLcid(lcid)) << lcid;
    }
    EXPECT_FALSE(Language::IsSupportedForAutomaticChoice(1033));
}

TEST(LanguageCodePage, FollowsTheScriptOfTheLanguage)
{
    EXPECT_EQ(Language::AnsiCodePage(2052), 936);
    EXPECT_EQ(Language::AnsiCodePage(4100), 936);
    EXPECT_EQ(Language::AnsiCodePage(3076), 950);
    EXPECT_EQ(Language::AnsiCodePage(1028), 950);
    EXPECT_EQ(Language::AnsiCodePage(1031), 1252);
    EXPECT_EQ(Language::AnsiCodePage(0), 1252);
}

TEST(LanguageCommandsTable, StoresTheCommandsLcid)
{
    const std::pair<int, int> cases[] = {{20010, 2052}, {20011, 3076}, {20012, 1033}, {20013, 10},
                                         {20014, 16},   {20015, 12},   {20016, 7},    {20017, 0}};
    for (const auto& [command, lcid] : cases)
        EXPECT_EQ(LanguageCommands::LcidForCommand(command), lcid) << command;
}

} // namespace
