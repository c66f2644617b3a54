#include "app/Language.h"
#include "cli/CliCommands.h"
#include "cli/CliTable.h"
#include "download/CComPortLine.h"
#include "download/CDownloadSession.h"
#include "download/CLineTrace.h"
#include "download/CTracedLine.h"
#include "download/CTransferLog.h"
#include "download/LineChoices.h"
#include "download/TextCodePage.h"
#include "serial/CComPort.h"
#include "serial/PortDiscovery.h"
#include "serial/PortOpenFailure.h"
#include "serial/PortSelection.h"
#include "serial/StablePortName.h"

#include <QEventLoop>
#include <QTextStream>

#include <algorithm>

#include <memory>
#include <unistd.h>
#include <vector>

namespace Cli {
namespace {

// One port's download: its own connection and session over the shared table.
struct SPortDownload
{
    QString device;
    QString portName; // the device's stable name, for the transfer log
    Portwire::CComPort port;
    std::unique_ptr<CComPortLine> line;
    std::unique_ptr<CTracedLine> tracedLine; // with --trace: the line the session uses
    std::unique_ptr<CDownloadSession> session;
    int percent = -1; // the last share shown; -1 before the first
    QString reason;   // why it failed; the session's texts name the row
    bool success = false;
};

// Progress on the terminal: on a terminal one line redrawn in place, with a bar and the percentage for
// each port; otherwise a plain line each time a port's percentage changes. The outcome is not shown
// here: the summary after the download names it, with the reason.
class CProgressPrinter
{
public:
    explicit CProgressPrinter(const std::vector<std::unique_ptr<SPortDownload>>& downloads)
        : m_downloads(downloads)
        , m_bar(::isatty(STDOUT_FILENO) != 0)
    {
    }

    void OnProgress(SPortDownload& download, int done, int total)
    {
        Show(download, total > 0 ? done * 100 / total : 0);
    }

    void OnFinished(SPortDownload& download)
    {
        if (download.success)
            Show(download, 100);
    }

    // Ends the redrawn line before the summary.
    void Close()
    {
        if (m_drawn)
            QTextStream(stdout) << '\n';
        m_drawn = false;
    }

private:
    void Show(SPortDownload& download, int percent)
    {
        if (percent == download.percent)
            return;
        download.percent = percent;
        if (m_bar)
            DrawBars();
        else
            QTextStream(stdout) << download.device << ": " << percent << "%\n";
    }

    void DrawBars()
    {
        const bool single = m_downloads.size() == 1;
        const int width = single ? 40 : std::max(10, 40 / int(m_downloads.size()));
        QStringList parts;
        for (const auto& download : m_downloads) {
            const int percent = std::max(0, download->percent);
            const int filled = percent * width / 100;
            QString part = single ? QString() : download->device + QLatin1Char(' ');
            part += QLatin1Char('[') + QString(filled, QLatin1Char('#')) + QString(width - filled, QLatin1Char(' ')) +
                    QStringLiteral("] ") + QString::number(percent).rightJustified(3) + QLatin1Char('%');
            parts << part;
        }
        QTextStream(stdout) << "\r\033[K" << parts.join(QStringLiteral("  "));
        m_drawn = true;
    }

    const std::vector<std::unique_ptr<SPortDownload>>& m_downloads;
    bool m_bar;
    bool m_drawn = false;
};

// A port given as a number or a stable name from 'talvex ports', as a device path, or as a tcp:// address.
QString ResolvePort(const QString& given, const PortDiscovery::PortList& ports)
{
    bool isNumber = false;
    const int number = given.toInt(&isNumber);
    if (isNumber)
        return PortDiscovery::DevicePathForPortNumber(ports, number);
    const int listed = PortSelection::IndexOfName(ports, given);
    return listed >= 0 ? ports.at(listed).devicePath : given;
}

// The name that finds the device again, as the window remembers it: the listed port's, else the device's by-id link.
QString StableNameOfDevice(const QString& device, const PortDiscovery::PortList& ports)
{
    for (const PortDiscovery::SPortEntry& entry : ports) {
        if (entry.devicePath == device)
            return PortDiscovery::StableNameOf(entry);
    }
    return StablePortName::ForDevice(device, QStringLiteral("/dev/serial/by-id"));
}

} // namespace

int RunDownload(const QStringList& arguments)
{
    const QString command = QStringLiteral("download");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Loads the table of FILE into the scale on each port."));
    STableOptions options;
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("A device path, a number or stable name from 'talvex ports', "
                                                       "or tcp://HOST:PORT for a serial device server (repeatable: "
                                                       "the ports load in parallel)."),
                                        QStringLiteral("P"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QStringLiteral("Baud rate (default 9600)."),
                                        QStringLiteral("rate"), QStringLiteral("9600"));
    const QCommandLineOption timeoutOption(
        QStringLiteral("ack-timeout"), QStringLiteral("Milliseconds to wait for each answer (default 3000)."),
        QStringLiteral("ms"), QString::number(CDownloadSession::kAcknowledgementTimeoutMs));
    const QCommandLineOption fromRowOption(
        QStringLiteral("from-row"),
        QStringLiteral("Start at this row (1 is the first), as after a download that failed there."),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption retriesOption(
        QStringLiteral("retries"),
        QStringLiteral("Send a record that gets no answer again, up to N times (default 0); a refusal is never "
                       "sent again."),
        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption traceOption(
        QStringLiteral("trace"),
        QStringLiteral("Write every record sent and every answer received to FILE, in hex, with the milliseconds "
                       "since the start (for a technician)."),
        QStringLiteral("FILE"));
    parser.addOptions({portOption, baudOption, options.mode, options.encoding, timeoutOption, fromRowOption,
                       retriesOption, traceOption});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The table (.csv, .xls, .xlsx, .ods)."));
    int exitCode = kSuccess;
    if (!ParseCommandLine(parser, arguments, command, &exitCode))
        return exitCode;

    const QStringList portsGiven = parser.values(portOption);
    if (parser.positionalArguments().size() != 1 || portsGiven.isEmpty()) {
        PrintError(command, QStringLiteral("give one FILE and at least one --port"));
        return kUsageError;
    }
    const QStringList baudRates = LineChoices::BaudRates();
    const int baudIndex = int(baudRates.indexOf(parser.value(baudOption)));
    if (baudIndex < 0) {
        PrintError(command, QStringLiteral("--baud takes %1").arg(baudRates.join(QStringLiteral(", "))));
        return kUsageError;
    }
    bool timeoutOk = false;
    const int timeoutMs = parser.value(timeoutOption).toInt(&timeoutOk);
    if (!timeoutOk || timeoutMs <= 0) {
        PrintError(command, QStringLiteral("--ack-timeout takes a number of milliseconds above 0"));
        return kUsageError;
    }
    bool fromRowOk = false;
    const int fromRow = parser.value(fromRowOption).toInt(&fromRowOk);
    if (!fromRowOk || fromRow < 1) {
        PrintError(command, QStringLiteral("--from-row takes a row number from 1 on"));
        return kUsageError;
    }
    bool retriesOk = false;
    const int retries = parser.value(retriesOption).toInt(&retriesOk);
    if (!retriesOk || retries < 0) {
        PrintError(command, QStringLiteral("--retries takes a number from 0 on"));
        return kUsageError;
    }
    CCommandTable table;
    int encoding = -1;
    if (!OpenTableFromArguments(command, parser, options, parser.positionalArguments().constFirst(), table, &encoding))
        return kUsageError;

    const PortDiscovery::PortList discovered = PortDiscovery::DiscoverSerialPorts({});
    // Declared before the downloads: their lines write to it until they are closed.
    CLineTrace trace;
    std::vector<std::unique_ptr<SPortDownload>> downloads;
    for (const QString& given : portsGiven) {
        auto download = std::make_unique<SPortDownload>();
        download->device = ResolvePort(given, discovered);
        if (download->device.isEmpty()) {
            PrintError(command, QStringLiteral("there is no port %1 (see 'talvex ports')").arg(given));
            return kUsageError;
        }
        for (const auto& earlier : downloads) {
            // Two sessions on one device would take each other's answers.
            if (earlier->device == download->device) {
                PrintError(command, QStringLiteral("%1 is given twice").arg(download->device));
                return kUsageError;
            }
        }
        download->portName = StableNameOfDevice(download->device, discovered);
        downloads.push_back(std::move(download));
    }

    const bool tracing = parser.isSet(traceOption);
    if (tracing) {
        QString error;
        if (!trace.Open(parser.value(traceOption), &error)) {
            PrintError(command, QStringLiteral("cannot write the trace %1: %2").arg(parser.value(traceOption), error));
            return kUsageError;
        }
    }

    const CTransferLog transferLog;
    CProgressPrinter progress(downloads);
    QEventLoop loop;
    int running = 0;
    SDownloadRequest request;
    request.baudRate = baudRates.at(baudIndex).toInt();
    request.textCodePage = TextCodePageForEncoding(encoding, Language::LanguageInForce());
    request.firstRow = fromRow - 1;
    request.retries = retries;
    for (auto& download : downloads) {
        SPortDownload* d = download.get();
        d->line = std::make_unique<CComPortLine>(d->port);
        ISerialLine* line = d->line.get();
        if (tracing) {
            d->tracedLine = std::make_unique<CTracedLine>(*d->line, trace);
            line = d->tracedLine.get();
        }
        d->session = std::make_unique<CDownloadSession>(table.Table(), *line, table.Prompt());
        d->session->SetAcknowledgementTimeoutMs(timeoutMs);
        d->session->SetTransferLog(&transferLog);
        QObject::connect(d->session.get(), &CDownloadSession::progress, d->session.get(),
                         [d, &progress](int done, int total) { progress.OnProgress(*d, done, total); });
        QObject::connect(d->session.get(), &CDownloadSession::finished, d->session.get(),
                         [d, &progress, &running, &loop](bool success, int, const QString& reason) {
                             d->success = success;
                             d->reason = reason;
                             progress.OnFinished(*d);
                             if (--running == 0)
                                 loop.quit();
                         });
        request.devicePath = d->device;
        request.portName = d->portName;
        ++running;
        const CDownloadSession::EStart start = d->session->Start(request);
        if (start == CDownloadSession::EStart::Started)
            continue;
        --running;
        if (start == CDownloadSession::EStart::PortNotOpened)
            d->reason = PortOpenFailure::Message(d->port.LastOpenFailure());
        else if (start == CDownloadSession::EStart::NoData)
            d->reason = QStringLiteral("The table has no row to send.");
        else if (d->reason.isEmpty())
            d->reason = QStringLiteral("The download did not start.");
    }
    // A download may have ended inside Start (its first record could not be written).
    if (running > 0)
        loop.exec();

    progress.Close();
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
