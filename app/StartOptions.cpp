#include "app/StartOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <algorithm>

namespace {

const QString kDemo = QStringLiteral("demo");
const QString kSerialDevice = QStringLiteral("serial-device");

} // namespace

void DeclareStartOptions(QCommandLineParser& parser)
{
    parser.addOption(QCommandLineOption(
        kDemo,
        QStringLiteral("Offer a simulated scale as the last port, so that Download can be tried without hardware.")));
    parser.addOption(QCommandLineOption(
        kSerialDevice,
        QStringLiteral("Offer this device, or a tcp://HOST:PORT device server, in the port selector too (repeatable)."),
        QStringLiteral("path")));
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A table to import at start (.csv, .xls, .xlsx)."),
                                 QStringLiteral("[file]"));
}

SStartOptions ReadStartOptions(const QCommandLineParser& parser)
{
    SStartOptions options;
    options.demo = parser.isSet(kDemo);
    options.serialDevices = parser.values(kSerialDevice);
    if (!parser.positionalArguments().isEmpty())
        options.fileToImport = parser.positionalArguments().constFirst();
    return options;
}

QStringList RestartArguments(const SStartOptions& options)
{
    QStringList arguments;
    if (options.demo)
        arguments << QStringLiteral("--") + kDemo;
    // One argument each, so that a path that starts with a dash stays a path.
    for (const QString& device : options.serialDevices)
        arguments << QStringLiteral("--%1=%2").arg(kSerialDevice, device);
    return arguments;
}

QString MissingDisplayReason(const QStringList& arguments, const QStringList& environment)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    const auto isSet = [&environment](QLatin1String name) {
        const QString prefix = name + QLatin1Char('=');
        return std::any_of(environment.begin(), environment.end(), [&prefix](const QString& entry) {
            return entry.startsWith(prefix) && entry.size() > prefix.size();
        });
    };
    const bool platformChosen = isSet(QLatin1String("QT_QPA_PLATFORM")) ||
                                arguments.contains(QLatin1String("-platform")) ||
                                arguments.contains(QLatin1String("--platform"));
    if (platformChosen || isSet(QLatin1String("DISPLAY")) || isSet(QLatin1String("WAYLAND_DISPLAY")))
        return QString();
    return QStringLiteral("no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is set. "
                          "The commands run without one (talvex --help).");
#else
    Q_UNUSED(arguments);
    Q_UNUSED(environment);
    return QString();
#endif
}
