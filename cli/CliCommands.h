#pragma once

#include <QString>
#include <QStringList>

// The command-line tool: the same binary as the window, run without a display.
namespace Cli {

// Exit codes of every command.
constexpr int kSuccess = 0;
constexpr int kFailed = 1;     // a download failed
constexpr int kUsageError = 2; // wrong arguments, or a file that cannot be read or written

// Whether the first argument names a command ("records", "download", "convert", "ports", "help").
bool IsCommand(const QString& firstArgument);
// Whether it asks for the help or version text ("--help", "-h", "--version", "-v").
bool IsHelpOrVersion(const QString& firstArgument);

// Runs the command named by argv[1]; returns the exit code.
int Run(int argc, char** argv);

int RunRecords(const QStringList& arguments);
int RunDownload(const QStringList& arguments);
int RunConvert(const QStringList& arguments);
int RunPorts(const QStringList& arguments);

} // namespace Cli
