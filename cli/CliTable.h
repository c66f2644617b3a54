#pragma once

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QTemporaryDir>

#include <memory>
#include <optional>

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

    // Enters the layout; limits follow the file on import.
    void EnterMode(EPluMode mode);
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

// The layout the --mode option asks for, the stored one when it is not given; none for a bad value.
std::optional<EPluMode> ModeFromOption(const QCommandLineParser& parser, const QCommandLineOption& option);
// The encoding selector's entry for --encoding; -1 for a bad value.
int EncodingIndexFromOption(const QCommandLineParser& parser, const QCommandLineOption& option);

// Sets the interface language as the window would (it decides titles and the default code page).
void ChooseLanguageLikeTheWindow();

// The start of every command that reads a table: the language as the window would choose it, the
// layout of --mode, the encoding of --encoding when encodingIndex is given, then FILE imported as the
// window's Import does. False after naming the bad option or the unreadable file on standard error.
bool OpenTableFromArguments(const QString& command, const QCommandLineParser& parser, const STableOptions& options,
                            const QString& path, CCommandTable& table, int* encodingIndex = nullptr);

// Writes "talvex <command>: <message>" on standard error, the message's lines joined into one.
void PrintError(const QString& command, const QString& message);

// Parses a command's arguments. False when the command should end at once, with *exitCode set: after
// printing the help text (success), or after naming an unknown option or a missing value (usage error).
bool ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments, const QString& command, int* exitCode);

} // namespace Cli
