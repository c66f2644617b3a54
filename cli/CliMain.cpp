#include "cli/CliCommands.h"

#include "app/Language.h"

#include <QCoreApplication>
#include <QTextStream>

namespace Cli {
namespace {

const QStringList kCommands = {QStringLiteral("records"), QStringLiteral("download"), QStringLiteral("convert"),
                               QStringLiteral("ports"), QStringLiteral("help")};

int PrintHelp()
{
    QTextStream(stdout)
        << "Talvex prepares the PLU table of weighing scales and loads it over a serial line.\n\n"
           "Usage: talvex [--demo] [--serial-device PATH ...] [FILE]\n"
           "                                     open the window (with FILE imported); --demo offers a\n"
           "                                     simulated scale as the last port, --serial-device adds a port\n"
           "                                     (a device path or a tcp://HOST:PORT device server)\n"
           "       talvex records FILE [--mode pricing|counting] [--encoding default|GBK|BIG5|UTF-8]\n"
           "                                     show what each row of FILE would send to a scale\n"
           "       talvex download FILE --port P [--port P2 ...] [--baud 9600] [--mode ...] [--encoding ...]\n"
           "                                     load FILE into the scale on each port (in parallel)\n"
           "       talvex convert IN OUT [--mode ...]\n"
           "                                     import IN and write OUT (.csv, .xls or .xlsx)\n"
           "       talvex ports                  list the serial ports as the window offers them\n"
           "Run 'talvex COMMAND --help' for a command's options.\n";
    return kSuccess;
}

} // namespace

bool IsCommand(const QString& firstArgument)
{
    return kCommands.contains(firstArgument);
}

bool IsHelpOrVersion(const QString& firstArgument)
{
    return firstArgument == QLatin1String("--help") || firstArgument == QLatin1String("-h") ||
           firstArgument == QLatin1String("--version") || firstArgument == QLatin1String("-v");
}

int Run(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("talvex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TALVEX_VERSION));
    // Scripts read what the commands print; the tables and code pages still follow the user's language.
    Language::SetMessageLanguage(Language::kEnglishUnitedStates);
    QStringList arguments = QCoreApplication::arguments();
    const QString command = arguments.value(1);
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        QTextStream(stdout) << "talvex " << QCoreApplication::applicationVersion() << '\n';
        return kSuccess;
    }
    // Each command parses "talvex <command> ..." as its own program name and options.
    arguments.removeAt(1);
    arguments[0] = QStringLiteral("talvex ") + command;
    if (command == QLatin1String("records"))
        return RunRecords(arguments);
    if (command == QLatin1String("download"))
        return RunDownload(arguments);
    if (command == QLatin1String("convert"))
        return RunConvert(arguments);
    if (command == QLatin1String("ports"))
        return RunPorts(arguments);
    return PrintHelp();
}

} // namespace Cli
