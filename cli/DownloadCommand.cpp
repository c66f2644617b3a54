#include "cli/CliCommands.h"
#include "cli/CliTable.h"
#include "download/CComPortLine.h"
#include "download/CDownloadSession.h"
#include "serial/CComPort.h"
#include "serial/PortDiscovery.h"

#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include <cstring>
#include <memory>
#include <unistd.h>
#include <vector>

namespace Cli {
namespace {

const QStringList kBaudRates = {QStringLiteral("4800"),  QStringLiteral("9600"),  QStringLiteral("19200"),
                                QStringLiteral("38400"), QStringLiteral("56000"), QStringLiteral("57600"),
                                QStringLiteral("115200")};

// One port's download: its own connection and session over the shared table.
struct SPortDownload
{
    QString device;
    Portwire::CComPort port;
    std::unique_ptr<CComPortLine> line;
    std::unique_ptr<CDownloadSession> session;
    QString label;
    QString reason;
    int failedRow = -1;
    bool started = false;
    bool success = false;
};

// Progress on the terminal: a bar redrawn in place for one port on a terminal, plain lines otherwise.
class CProgressPrinter
{
public:
    explicit CProgressPrinter(int portCount)
        : m_bar(portCount == 1 && ::isatty(STDOUT_FILENO))
    {
    }

    void Show(const SPortDownload& download)
    {
        QTextStream out(stdout);
        const QString text = download.label.trimmed();
        if (!m_bar) {
            out << download.device << ": " << text << '\n';
            return;
        }
        const int percent = text.endsWith(QLatin1Char('%')) ? text.chopped(1).toInt() : (download.success ? 100 : -1);
        if (percent < 0) {
            out << "\r\033[K";
            return;
        }
        const int filled = percent * 40 / 100;
        out << "\r[" << QString(filled, QLatin1Char('#')) << QString(40 - filled, QLatin1Char(' ')) << "] "
            << QString::asprintf("%3d%%", percent);
        if (download.success)
            out << '\n';
    }

private:
    bool m_bar;
};

// A port given as a number from 'talvex ports', or as a device path.
QString ResolvePort(const QString& given, const PortDiscovery::PortList& ports)
{
    bool isNumber = false;
    const int number = given.toInt(&isNumber);
    if (isNumber)
        return PortDiscovery::DevicePathForPortNumber(ports, number);
    return given;
}

} // namespace

int RunDownload(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Loads the table of FILE into the scale on each port."));
    parser.addHelpOption();
    STableOptions options;
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("A device path, or a number from 'talvex ports' (repeatable: "
                                                       "the ports load in parallel)."),
                                        QStringLiteral("P"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QStringLiteral("Baud rate (default 9600)."),
                                        QStringLiteral("rate"), QStringLiteral("9600"));
    const QCommandLineOption timeoutOption(QStringLiteral("ack-timeout"),
                                           QStringLiteral("Milliseconds to wait for each answer (default 3000)."),
                                           QStringLiteral("ms"), QString::number(CDownloadSession::kAcknowledgementTimeoutMs));
    parser.addOptions({portOption, baudOption, options.mode, options.encoding, timeoutOption});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The table (.csv, .xls, .xlsx)."));
    parser.process(arguments);

    const QString command = QStringLiteral("download");
    const QStringList portsGiven = parser.values(portOption);
    const int baudIndex = int(kBaudRates.indexOf(parser.value(baudOption)));
    ChooseLanguageLikeTheWindow();
    const int mode = ModeFromOption(parser, options.mode);
    const int encoding = EncodingIndexFromOption(parser, options.encoding);
    bool timeoutOk = false;
    const int timeoutMs = parser.value(timeoutOption).toInt(&timeoutOk);
    if (parser.positionalArguments().size() != 1 || portsGiven.isEmpty() || baudIndex < 0 || mode < 0 ||
        encoding < 0 || !timeoutOk || timeoutMs <= 0) {
        PrintError(command, QStringLiteral("give FILE and --port; --baud takes %1").arg(kBaudRates.join(QStringLiteral(", "))));
        return kUsageError;
    }

    const PortDiscovery::PortList discovered = PortDiscovery::DiscoverSerialPorts({});
    std::vector<std::unique_ptr<SPortDownload>> downloads;
    for (const QString& given : portsGiven) {
        auto download = std::make_unique<SPortDownload>();
        download->device = ResolvePort(given, discovered);
        if (download->device.isEmpty()) {
            PrintError(command, QStringLiteral("there is no port %1 (see 'talvex ports')").arg(given));
            return kUsageError;
        }
        downloads.push_back(std::move(download));
    }

    CCommandTable table;
    table.EnterMode(mode);
    QString error;
    if (!table.Import(parser.positionalArguments().constFirst(), &error)) {
        PrintError(command, error);
        return kUsageError;
    }

    CProgressPrinter progress(int(downloads.size()));
    SDownloadRequest request;
    request.portIndex = 0;
    request.baudIndex = baudIndex;
    request.baudText = kBaudRates.at(baudIndex);
    request.encodingIndex = encoding;
    for (auto& download : downloads) {
        SPortDownload* d = download.get();
        d->port.SetPorts({{d->device, d->device}});
        d->line = std::make_unique<CComPortLine>(d->port);
        d->session = std::make_unique<CDownloadSession>(table.Table(), *d->line, table.Settings(), table.Prompt());
        d->session->SetAcknowledgementTimeoutMs(timeoutMs);
        QObject::connect(d->session.get(), &CDownloadSession::labelChanged, d->session.get(),
                         [d, &progress](const QString& text, const QString& toolTip) {
                             d->label = text;
                             d->reason = toolTip;
                             progress.Show(*d);
                         });
        QObject::connect(d->session.get(), &CDownloadSession::finished, d->session.get(),
                         [d](bool success) { d->success = success; });
        QObject::connect(d->session.get(), &CDownloadSession::failedAtRow, d->session.get(),
                         [d](int row) { d->failedRow = row; });
        const CDownloadSession::EStart start = d->session->Start(request);
        d->started = start == CDownloadSession::EStart::Started;
        if (start == CDownloadSession::EStart::PortNotOpened)
            d->reason = QStringLiteral("the port cannot be opened: %1")
                            .arg(QString::fromLocal8Bit(std::strerror(d->port.LastOpenError())));
        else if (start == CDownloadSession::EStart::NoData)
            d->reason = QStringLiteral("the table has no row to send");
        else if (!d->started && d->reason.isEmpty())
            d->reason = QStringLiteral("the download did not start");
    }

    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        for (const auto& download : downloads) {
            if (download->session->IsRunning())
                return;
        }
        loop.quit();
    });
    poll.start(10);
    loop.exec();

    QTextStream out(stdout);
    bool allSucceeded = true;
    for (const auto& download : downloads) {
        allSucceeded = allSucceeded && download->success;
        out << download->device << ": ";
        if (download->success)
            out << "Success\n";
        else
            out << "Fail! " << download->reason << '\n';
    }
    return allSucceeded ? kSuccess : kFailed;
}

} // namespace Cli
