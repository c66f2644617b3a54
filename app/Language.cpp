#include "app/Language.h"

#include <QLocale>
#include <QStringList>
#include <QtGlobal>

#include <atomic>

namespace Language {
namespace {

struct SLocaleLcid
{
    const char* name;
    int lcid;
};

// Locales the program can name. The first entry of a language is what its name without a region
// means ("zh" is Simplified Chinese, "es" Spain's Spanish).
constexpr SLocaleLcid kLocales[] = {
    {"zh_CN", 2052},  {"zh_TW", 1028},  {"zh_HK", 3076},  {"zh_SG", 4100},  {"zh_MO", 5124},  {"de_DE", 1031},
    {"de_CH", 2055},  {"de_AT", 3079},  {"de_LU", 4103},  {"de_LI", 5127},  {"fr_FR", 1036},  {"fr_BE", 2060},
    {"fr_CA", 3084},  {"fr_CH", 4108},  {"fr_LU", 5132},  {"fr_MC", 6156},  {"it_IT", 1040},  {"it_CH", 2064},
    {"es_ES", 3082},  {"es_MX", 2058},  {"es_GT", 4106},  {"es_CR", 5130},  {"es_PA", 6154},  {"es_DO", 7178},
    {"es_VE", 8202},  {"es_CO", 9226},  {"es_PE", 10250}, {"es_AR", 11274}, {"es_EC", 12298}, {"es_CL", 13322},
    {"es_UY", 14346}, {"es_PY", 15370}, {"es_BO", 16394}, {"es_SV", 17418}, {"es_HN", 18442}, {"es_NI", 19466},
    {"es_PR", 20490}, {"es_US", 21514}, {"en_US", 1033},  {"en_GB", 2057},  {"en_AU", 3081},  {"en_CA", 4105},
    {"en_NZ", 5129},  {"en_IE", 6153},  {"en_ZA", 7177},  {"en_JM", 8201},  {"en_BZ", 10249}, {"en_TT", 11273},
    {"en_ZW", 12297}, {"en_PH", 13321}, {"en_IN", 16393}, {"en_MY", 17417}, {"en_SG", 18441}, {"ja_JP", 1041},
    {"ko_KR", 1042},  {"ru_RU", 1049},  {"pt_BR", 1046},  {"pt_PT", 2070},  {"nl_NL", 1043},  {"nl_BE", 2067},
    {"pl_PL", 1045},  {"sv_SE", 1053},  {"da_DK", 1030},  {"nb_NO", 1044},  {"fi_FI", 1035},  {"tr_TR", 1055},
    {"cs_CZ", 1029},  {"hu_HU", 1038},  {"el_GR", 1032},  {"uk_UA", 1058},  {"ar_SA", 1025},  {"he_IL", 1037},
    {"th_TH", 1054},  {"vi_VN", 1066},  {"id_ID", 1057},  {"ms_MY", 1086},
};

// The languages without a region (neutral LCIDs) that a stored value may name.
constexpr int kNeutralLanguages[] = {4, 7, 9, 10, 12, 16, 17, 18, 19, 21, 22, 25};

constexpr int kAutomaticChoice[] = {
    1028, 2052, 3076,  4100,  5124,  1031,  2055,  3079,  4103,  5127,  12,    1036,  2060,  3084,
    4108, 5132, 6156,  16,    1040,  2064,  10,    1034,  2058,  3082,  4106,  5130,  6154,  7178,
    8202, 9226, 10250, 11274, 12298, 13322, 14346, 15370, 16394, 17418, 18442, 19466, 20490, 21514,
};

std::atomic<int> g_languageInForce{0};
std::atomic<int> g_messageLanguage{0};

template <typename Array>
bool Contains(const Array& values, int value)
{
    for (int v : values) {
        if (v == value)
            return true;
    }
    return false;
}

} // namespace

bool IsSupportedForAutomaticChoice(int lcid)
{
    return Contains(kAutomaticChoice, lcid);
}

bool IsKnownLcid(int lcid)
{
    if (lcid <= 0)
        return false;
    if (Contains(kNeutralLanguages, lcid) || lcid == 1034)
        return true;
    for (const SLocaleLcid& entry : kLocales) {
        if (entry.lcid == lcid)
            return true;
    }
    return false;
}

int ChooseLanguage(int storedLanguage, int systemLcid)
{
    if (storedLanguage == 0)
        return IsSupportedForAutomaticChoice(systemLcid) ? systemLcid : kEnglishUnitedStates;
    // An unknown value is refused and leaves the user's own language in force.
    return IsKnownLcid(storedLanguage) ? storedLanguage : systemLcid;
}

int LcidFromLocaleName(const QString& localeName)
{
    QString name = localeName;
    const qsizetype cut = name.indexOf(QLatin1Char('.'));
    if (cut >= 0)
        name.truncate(cut);
    const qsizetype at = name.indexOf(QLatin1Char('@'));
    if (at >= 0)
        name.truncate(at);
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    QStringList parts = name.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return 0;
    // A script ("zh_Hant_TW") says no more than the region does, and instead of it when there is none.
    QString script;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts[i].size() == 4) {
            script = parts.takeAt(i).toLower();
            break;
        }
    }
    const QString language = parts.constFirst().toLower();
    if (parts.size() > 1) {
        const QString withRegion = language + QLatin1Char('_') + parts[1].toUpper();
        for (const SLocaleLcid& entry : kLocales) {
            if (withRegion == QLatin1String(entry.name))
                return entry.lcid;
        }
    }
    if (language == QLatin1String("zh") && script == QLatin1String("hant"))
        return 1028;
    // A region the table does not know, or none: the language's first locale.
    const QString prefix = language + QLatin1Char('_');
    for (const SLocaleLcid& entry : kLocales) {
        if (QLatin1String(entry.name).startsWith(prefix))
            return entry.lcid;
    }
    return 0;
}

QString SystemLocaleName()
{
    // LANGUAGE lists the languages in the order the user prefers them.
    const QString preferred = qEnvironmentVariable("LANGUAGE").section(QLatin1Char(':'), 0, 0);
    if (!preferred.isEmpty())
        return preferred;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return QLocale::system().name();
}

int SystemLcid()
{
    return LcidFromLocaleName(SystemLocaleName());
}

int AnsiCodePage(int lcid)
{
    switch (lcid) {
    case 2052:
    case 4100:
    case 4: return 936;
    case 1028:
    case 3076:
    case 5124: return 950;
    default: return 1252;
    }
}

void SetLanguageInForce(int lcid)
{
    g_languageInForce.store(lcid);
}

int LanguageInForce()
{
    return g_languageInForce.load();
}

void SetMessageLanguage(int lcid)
{
    g_messageLanguage.store(lcid);
}

int MessageLanguage()
{
    const int set = g_messageLanguage.load();
    return set != 0 ? set : LanguageInForce();
}

QLocale MessageLocale()
{
    const int lcid = MessageLanguage();
    // A neutral LCID (7) or an unlisted region takes its language's first listed locale (de_DE).
    const SLocaleLcid* sameLanguage = nullptr;
    for (const SLocaleLcid& entry : kLocales) {
        if (entry.lcid == lcid)
            return QLocale(QLatin1String(entry.name));
        if (!sameLanguage && (entry.lcid & 0x3FF) == (lcid & 0x3FF))
            sameLanguage = &entry;
    }
    return QLocale(QLatin1String(sameLanguage && lcid > 0 ? sameLanguage->name : "en_US"));
}

} // namespace Language
