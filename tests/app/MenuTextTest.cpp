#include "app/MenuText.h"
#include "app/StringTable.h"

#include <gtest/gtest.h>

namespace {

struct SMenuTextCase
{
    const char* text;
    const char* menuItem;
    const char* plain;
};

TEST(MenuText, KeyboardLetterAndPlainText)
{
    const SMenuTextCase cases[] = {
        {"About Talvex(&A)...", "About Talvex(&A)...", "About Talvex"},
        {"Acerca de Talvex (& A) ...", "Acerca de Talvex (&A) ...", "Acerca de Talvex"},
        {"À propos de Talvex (& A) ...", "À propos de Talvex (&A) ...", "À propos de Talvex"},
        {"关于 Talvex(&A)...", "关于 Talvex(&A)...", "关于 Talvex"},
        {"&File", "&File", "File"},
        {"R&&D", "R&&D", "R&D"},
        {"Trailing &", "Trailing &", "Trailing"},
        {"", "", ""},
    };
    for (const SMenuTextCase& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(MenuItemText(text), QString::fromUtf8(c.menuItem)) << c.text;
        EXPECT_EQ(TextWithoutMnemonic(text), QString::fromUtf8(c.plain)) << c.text;
    }
}

TEST(MenuText, AboutTitleInEveryLanguageHasNoMarker)
{
    for (const int lcid : {9, 7, 10, 12, 16, 2052, 3076}) {
        const QString title = TextWithoutMnemonic(LoadString(StringId::AboutMenu, lcid));
        EXPECT_FALSE(title.isEmpty()) << lcid;
        EXPECT_FALSE(title.contains(QLatin1Char('&'))) << lcid;
        EXPECT_FALSE(title.contains(QLatin1Char('('))) << lcid;
        EXPECT_TRUE(title.endsWith(QLatin1String("Talvex"))) << lcid << " " << title.toStdString();
    }
}

} // namespace
