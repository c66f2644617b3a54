#include "cli/CliCommands.h"

#include "cli/CliTable.h"
#include "serial/PortDiscovery.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace Cli {

// Lists the ports as the window's port selector offers them: the number that --port takes, the
// selector's text, the device, and the stable name that finds the same adapter whatever its device is
// called next time (--port takes it too).
int RunPorts(const QStringList& arguments)
{
    const QString command = QStringLiteral("ports");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lists the serial ports as the window offers them."));
    const QCommandLineOption device(QStringLiteral("serial-device"),
                                    QStringLiteral("Offer this device (or tcp://HOST:PORT device server) too "
                                                   "(repeatable)."),
                                    QStringLiteral("path"));
    parser.addOption(device);
    int exitCode = kSuccess;
    if (!ParseCommandLine(parser, arguments, command, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty()) {
        PrintError(command, QStringLiteral("takes no FILE"));
        return kUsageError;
    }

    const PortDiscovery::PortList ports = PortDiscovery::DiscoverSerialPorts(parser.values(device));
    QTextStream out(stdout);
    for (int i = 0; i < ports.size(); ++i)
        out << i + 1 << '\t' << ports[i].label << '\t' << ports[i].devicePath << '\t'
            << PortDiscovery::StableNameOf(ports[i]) << '\n';
    if (ports.isEmpty())
        PrintError(command, QStringLiteral("no serial port found"));
    return kSuccess;
}

} // namespace Cli
