#include "app/IRelauncher.h"
#include "app/StartOptions.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "ui/CTalvexDlg.h"
#include "ui/CommandIds.h"

#include <QCommandLineParser>
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

TEST(Restart, PassesOnThePortsOfferedButNeverTheFile)
{
    struct SCase
    {
        const char* name;
        QStringList commandLine;
        QStringList restart;
    };
    const SCase cases[] = {
        {"Nothing", {}, {}},
        {"FileOnly", {QStringLiteral("table.csv")}, {}},
        {"DemoDevicesAndFile",
         {QStringLiteral("--serial-device"), QStringLiteral("/dev/ttyX"), QStringLiteral("--demo"),
          QStringLiteral("--serial-device=-odd"), QStringLiteral("table.xlsx")},
         {QStringLiteral("--demo"), QStringLiteral("--serial-device=/dev/ttyX"),
          QStringLiteral("--serial-device=-odd")}},
    };
    for (const SCase& c : cases) {
        QCommandLineParser parser;
        DeclareStartOptions(parser);
        ASSERT_TRUE(parser.parse(QStringList{QStringLiteral("talvex")} + c.commandLine)) << c.name;
        const QStringList restart = RestartArguments(ReadStartOptions(parser));
        EXPECT_EQ(restart, c.restart) << c.name;

        // The new process reads them back as the same ports, with no file to import.
        QCommandLineParser again;
        DeclareStartOptions(again);
        ASSERT_TRUE(again.parse(QStringList{QStringLiteral("talvex")} + restart)) << c.name;
        const SStartOptions reread = ReadStartOptions(again);
        EXPECT_EQ(reread.serialDevices, ReadStartOptions(parser).serialDevices) << c.name;
        EXPECT_EQ(reread.demo, ReadStartOptions(parser).demo) << c.name;
        EXPECT_TRUE(reread.fileToImport.isEmpty()) << c.name;

        CTempSettings settings;
        CScriptedPrompt prompt;
        CFakeRelauncher relauncher;
        CTalvexDlg window(settings.Settings(), prompt, relauncher, restart);
        window.show();
        window.OnCommand(CommandId::LanguageItalian);
        QCoreApplication::processEvents();
        EXPECT_EQ(relauncher.calls, 1) << c.name;
        EXPECT_EQ(relauncher.arguments, c.restart) << c.name;
    }
}

TEST(Restart, PlainCloseDoesNotRelaunch)
{
    SRestartFixture f;
    f.window.close();
    EXPECT_EQ(f.relauncher.calls, 0);
    EXPECT_FALSE(f.window.isVisible());
}

} // namespace
