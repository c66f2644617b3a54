#include "cli/CliCommands.h"
#include "cli/CliTable.h"
#include "download/CComPortLine.h"
#include "download/CDownloadSession.h"
#include "download/LineChoices.h"
#include "serial/CComPort.h"
#include "serial/PortDiscovery.h"

#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include <algorithm>

#include <cstring>
#include <memory>
#include <unistd.h>
#include <vector>

namespace Cli {
namespace {

// One port's download: its own connection and session over the shared table.
struct SPortDownload
{
    QString device;
    Portwire::CComPort port;
    std::unique_ptr<CComPortLine> line;
    std::unique_ptr<CDownloadSession> session;
    int percent = -1; // the last share shown; -1 before the first
    QString reason; // why it failed; the session's texts name the row
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

    // The session's label: a percentage while the download runs, the outcome at its end.
    void OnLabel(SPortDownload& download, const QString& label)
    {
        const QString text = label.trimmed();
        if (!text.endsWith(QLatin1Char('%')))
            return;
        const int percent = text.chopped(1).toInt();
        if (percent == download.percent)
            return;
        download.percent = percent;
        if (m_bar)
            DrawBars();
        else
            QTextStream(stdout) << download.device << ": " << percent << "%\n";
    }

    void OnFinished(SPortDownload& download)
    {
        if (download.success && download.percent != 100) {
            download.percent = 100;
            if (m_bar)
                DrawBars();
            else
                QTextStream(stdout) << download.device << ": 100%\n";
        }
    }

    // Ends the redrawn line before the summary.
    void Close()
    {
        if (m_drawn)
            QTextStream(stdout) << '\n';
        m_drawn = false;
    }

private:
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
    const QString command = QStringLiteral("download");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Loads the table of FILE into the scale on each port."));
    STableOptions options;
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("A device path, or a number from 'talvex ports' (repeatable: "
                                                       "the ports load in parallel)."),
                                        QStringLiteral("P"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QStringLiteral("Baud rate (default 9600)."),
                                        QStringLiteral("rate"), QStringLiteral("9600"));
    const QCommandLineOption timeoutOption(
        QStringLiteral("ack-timeout"), QStringLiteral("Milliseconds to wait for each answer (default 3000)."),
        QStringLiteral("ms"), QString::number(CDownloadSession::kAcknowledgementTimeoutMs));
    parser.addOptions({portOption, baudOption, options.mode, options.encoding, timeoutOption});
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
    CCommandTable table;
    int encoding = -1;
    if (!OpenTableFromArguments(command, parser, options, parser.positionalArguments().constFirst(), table, &encoding))
        return kUsageError;

    const PortDiscovery::PortList discovered = PortDiscovery::DiscoverSerialPorts({});
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
        downloads.push_back(std::move(download));
    }


    CProgressPrinter progress(downloads);
    SDownloadRequest request;
    request.portIndex = 0;
    request.baudIndex = baudIndex;
    request.baudText = baudRates.at(baudIndex);
    request.encodingIndex = encoding;
    for (auto& download : downloads) {
        SPortDownload* d = download.get();
        d->port.SetPorts({{d->device, d->device}});
        d->line = std::make_unique<CComPortLine>(d->port);
        d->session = std::make_unique<CDownloadSession>(table.Table(), *d->line, table.Settings(), table.Prompt());
        d->session->SetAcknowledgementTimeoutMs(timeoutMs);
        QObject::connect(d->session.get(), &CDownloadSession::labelChanged, d->session.get(),
                         [d, &progress](const QString& text, const QString& toolTip) {
                             if (!toolTip.isEmpty())
                                 d->reason = toolTip;
                             progress.OnLabel(*d, text);
                         });
        QObject::connect(d->session.get(), &CDownloadSession::finished, d->session.get(),
                         [d, &progress](bool success) {
                             d->success = success;
                             progress.OnFinished(*d);
                         });
        const CDownloadSession::EStart start = d->session->Start(request);
        if (start == CDownloadSession::EStart::PortNotOpened)
            d->reason = QStringLiteral("The port cannot be opened: %1")
                            .arg(QString::fromLocal8Bit(std::strerror(d->port.LastOpenError())));
        else if (start == CDownloadSession::EStart::NoData)
            d->reason = QStringLiteral("The table has no row to send.");
        else if (start != CDownloadSession::EStart::Started && d->reason.isEmpty())
            d->reason = QStringLiteral("The download did not start.");
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
