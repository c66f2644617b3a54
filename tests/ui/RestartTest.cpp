#include "app/IRelauncher.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "ui/CTalvexDlg.h"
#include "ui/CommandIds.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CFakeRelauncher final : public IRelauncher
{
public:
    bool Relaunch(const QString& program, const QStringList& arguments) override
    {
        ++calls;
        this->program = program;
        this->arguments = arguments;
        return succeed;
    }

    bool succeed = true;
    int calls = 0;
    QString program;
    QStringList arguments;
};

struct SRestartFixture
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CFakeRelauncher relauncher;
    QStringList arguments{QStringLiteral("--serial-device"), QStringLiteral("/dev/ttyX")};
    CTalvexDlg window{settings.Settings(), prompt, relauncher, arguments};

    SRestartFixture() { window.show(); }
};

TEST(Restart, LanguageCommandStoresRelaunchesAndCloses)
{
    SRestartFixture f;
    ASSERT_TRUE(f.window.OnCommand(CommandId::LanguageGerman));
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Language), 7);
    EXPECT_TRUE(f.window.IsRestartPending());
    EXPECT_TRUE(f.window.isVisible()); // the close request is posted, not carried out at once

    QCoreApplication::processEvents();
    EXPECT_EQ(f.relauncher.calls, 1);
    EXPECT_EQ(f.relauncher.program, QCoreApplication::applicationFilePath());
    EXPECT_EQ(f.relauncher.arguments, f.arguments);
    EXPECT_FALSE(f.window.isVisible());
    EXPECT_FALSE(f.window.IsRestartPending());
}

TEST(Restart, EnglishWhileEnglishStillRestarts)
{
    SRestartFixture f;
    f.settings.Settings().WriteInt(ESetting::Language, 1033);
    ASSERT_TRUE(f.window.OnCommand(CommandId::LanguageEnglish));
    QCoreApplication::processEvents();
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Language), 1033);
    EXPECT_EQ(f.relauncher.calls, 1);
}

TEST(Restart, FailedRelaunchKeepsTheWindowAndSaysSo)
{
    SRestartFixture f;
    f.relauncher.succeed = false;
    f.window.OnCommand(CommandId::LanguageFrench);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.relauncher.calls, 1);
    EXPECT_TRUE(f.window.isVisible());
    ASSERT_EQ(f.prompt.MessageCount(), 1);
    EXPECT_FALSE(f.prompt.messages.front().text.isEmpty());

    // A later close is an ordinary close: no second relaunch.
    f.window.close();
    EXPECT_EQ(f.relauncher.calls, 1);
    EXPECT_FALSE(f.window.isVisible());
}

TEST(Restart, PlainCloseDoesNotRelaunch)
{
    SRestartFixture f;
    f.window.close();
    EXPECT_EQ(f.relauncher.calls, 0);
    EXPECT_FALSE(f.window.isVisible());
}

} // namespace
