#pragma once

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QTemporaryDir>

#include <memory>

namespace Cli {

// Answers the table's questions on the terminal: messages go to standard error, questions are
// answered OK (the commands never discard anything the user typed).
class CConsolePrompt final : public IPrompt
{
public:
    void Beep(int, int) override {}
    void ShowMessage(const QString& caption, const QString& text, EIcon icon) override;
    bool AskOkCancel(const QString& caption, const QString& text, EIcon icon) override;
};

// A PLU table for a command: its own settings in a temporary folder, so that running a command
// never changes what the window remembers.
class CCommandTable
{
public:
    CCommandTable();

    // Enters the layout: pricing (0) or counting (1); limits follow the file on import.
    void EnterMode(int pluMode);
    // Imports the file as the window's Import does; false with the reason on failure.
    bool Import(const QString& path, QString* error);

    CGridModel& Grid() { return m_grid; }
    CPluTable& Table() { return m_table; }
    CSettings& Settings() { return m_settings; }
    IPrompt& Prompt() { return m_prompt; }

private:
    QTemporaryDir m_dir;
    CSettings m_settings;
    CConsolePrompt m_prompt;
    CGridModel m_grid;
    CPluTable m_table;
};

// Options shared by the commands that read a table.
struct STableOptions
{
    QCommandLineOption mode{QStringLiteral("mode"),
                            QStringLiteral("Table layout: pricing or counting (default: the stored layout)."),
                            QStringLiteral("layout")};
    QCommandLineOption encoding{QStringLiteral("encoding"),
                                QStringLiteral("Code page of the records' texts: default, GBK, BIG5 or UTF-8."),
                                QStringLiteral("name"), QStringLiteral("default")};
};

// The layout the --mode option asks for, the stored one when it is not given; -1 for a bad value.
int ModeFromOption(const QCommandLineParser& parser, const QCommandLineOption& option);
// The encoding selector's entry for --encoding; -1 for a bad value.
int EncodingIndexFromOption(const QCommandLineParser& parser, const QCommandLineOption& option);

// Names the bad value on standard error; false when the layout or the encoding is -1.
bool CheckTableOptions(const QString& command, int mode, int encodingIndex);

// Sets the interface language as the window would (it decides titles and the default code page).
void ChooseLanguageLikeTheWindow();

// Writes "talvex <command>: <message>" on standard error, the message's lines joined into one.
void PrintError(const QString& command, const QString& message);

// Parses a command's arguments. False when the command should end at once, with *exitCode set: after
// printing the help text (success), or after naming an unknown option or a missing value (usage error).
bool ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments, const QString& command,
                      int* exitCode);

} // namespace Cli
