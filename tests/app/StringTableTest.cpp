#include "app/StringTable.h"
#include "app/Language.h"

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

TEST(StringTable, EveryIdHasTextInEveryLanguage)
{
    const int languages[] = {9, 7, 10, 12, 16, 2052, 3076};
    for (unsigned id = 101; id <= 133; ++id) {
        if (id == 127)
            continue;
        for (int lcid : languages)
            EXPECT_FALSE(LoadString(id, lcid).isEmpty()) << "id " << id << " lcid " << lcid;
    }
}

// The download's texts (row states, the Transfer dialog, the resume question, the log's messages), and their
// placeholders, in every language.
TEST(StringTable, TransferTextsInEveryLanguage)
{
    const int languages[] = {9, 7, 10, 12, 16, 2052, 3076};
    for (unsigned id = StringId::TransferAcknowledged; id <= StringId::TransferLogNotOpened; ++id) {
        const bool placeholder = LoadString(id, 9).contains(QStringLiteral("%1"));
        for (int lcid : languages) {
            EXPECT_FALSE(LoadString(id, lcid).isEmpty()) << "id " << id << " lcid " << lcid;
            EXPECT_EQ(LoadString(id, lcid).contains(QStringLiteral("%1")), placeholder)
                << "id " << id << " lcid " << lcid;
        }
    }
}

TEST(StringTable, LooksUpInTheLanguageInForce)
{
    Language::SetLanguageInForce(2055);
    EXPECT_EQ(LoadString(StringId::New), QStringLiteral("Neu"));
    Language::SetLanguageInForce(1033);
    EXPECT_EQ(LoadString(StringId::New), QStringLiteral("New"));
}

} // namespace
