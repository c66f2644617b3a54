// talvex download against simulated scales (talvex-scale processes on pseudo-terminals).

#include "CliRunner.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

// Written as the scale prints its fields, so that the rows it keeps read back byte for byte.
const QByteArray kCountingTable = "PLU No.,Unit weight,Goods Id,Goods Name,Specification\r\n"
                                  "5,0.2500,A5,Bolts M6,steel\r\n"
                                  "6,1.5000,A6,\"Nuts, M6\",zinc\r\n"
                                  "1008,12.5000,,\xc3\x9c"
                                  "ber \xe4\xb8\xad\xe6\x96\x87,\r\n";

std::string Text(const QString& text)
{
    return text.toStdString();
}

// A simulated counting scale that writes the rows it accepted to its own CSV file.
struct SScale
{
    QString csv;
    std::unique_ptr<CScaleProcess> process;

    SScale(const CCliRunner& cli, const QString& name, const QStringList& misbehaviour = {})
        : csv(cli.Path(name + QStringLiteral(".csv")))
        , process(std::make_unique<CScaleProcess>(QStringList{QStringLiteral("--csv"), csv} + misbehaviour,
                                                  cli.Environment()))
    {
    }
    const QString& Device() const { return process->Device(); }
};

// A serial device server on the loopback address: the first connection it takes is joined to a device (the
// simulated scale's line), byte for byte in both directions.
class CTcpRelay
{
public:
    explicit CTcpRelay(const QString& device)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(m_listener, 1) != 0 ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_address = QStringLiteral("tcp://127.0.0.1:%1").arg(ntohs(address.sin_port));
        m_wake = ::eventfd(0, EFD_CLOEXEC);
        if (!device.isEmpty())
            m_thread = std::thread([this, device] { Relay(device); });
    }
    ~CTcpRelay()
    {
        Stop();
        ::close(m_listener);
        if (m_wake >= 0)
            ::close(m_wake);
    }
    const QString& Address() const { return m_address; }
    void Stop()
    {
        if (!m_thread.joinable())
            return;
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
        m_thread.join();
    }

private:
    void Relay(const QString& device)
    {
        pollfd accepting[2] = {{m_listener, POLLIN, 0}, {m_wake, POLLIN, 0}};
        if (::poll(accepting, 2, 30000) <= 0 || accepting[1].revents)
            return;
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        const int line = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios raw = {};
        if (client >= 0 && line >= 0 && ::tcgetattr(line, &raw) == 0) {
            ::cfmakeraw(&raw);
            ::tcsetattr(line, TCSANOW, &raw);
            pollfd fds[3] = {{client, POLLIN, 0}, {line, POLLIN, 0}, {m_wake, POLLIN, 0}};
            while (::poll(fds, 3, -1) > 0 && !fds[2].revents) {
                if ((fds[0].revents && !Forward(client, line)) || (fds[1].revents && !Forward(line, client)))
                    break;
            }
        }
        if (line >= 0)
            ::close(line);
        if (client >= 0)
            ::close(client);
    }

    static bool Forward(int from, int to)
    {
        char buffer[512];
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        return n > 0 && ::write(to, buffer, size_t(n)) == n;
    }

    int m_listener = -1;
    int m_wake = -1;
    QString m_address;
    std::thread m_thread;
};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(CliDownload, LoadsTheScaleAndShowsProgressLineByLine)
{
    CCliRunner cli;
    const QString table = cli.WriteFile(QStringLiteral("table.csv"), kCountingTable);
    SScale scale(cli, QStringLiteral("scale"));
    ASSERT_FALSE(scale.Device().isEmpty());

    const SCliRun run = cli.Run({QStringLiteral("download"), table, QStringLiteral("--port"), scale.Device(),
                                 QStringLiteral("--mode"), QStringLiteral("counting")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << Text(run.out) << Text(run.err);
    // Three rows and the entry row, a quarter each; the entry row is passed over, so the third answer ends the
    // download. Not on a terminal, so one plain line per step.
    EXPECT_EQ(Text(run.out),
              Text(QStringLiteral("%1: 0%\n%1: 25%\n%1: 50%\n%1: 100%\n%1: Success\n").arg(scale.Device())));
    const QString problems = scale.process->Stop();
    EXPECT_EQ(ReadAll(scale.csv).toStdString(), kCountingTable.toStdString());
    EXPECT_FALSE(problems.contains(QLatin1String("talvex-scale:"))) << Text(problems);
}

TEST(CliDownload, DrawsABarOnATerminal)
{
    CCliRunner cli;
    const QString table = cli.WriteFile(QStringLiteral("table.csv"), kCountingTable);
    SScale scale(cli, QStringLiteral("scale"));
    ASSERT_FALSE(scale.Device().isEmpty());

    const SCliRun run = cli.RunOnTerminal({QStringLiteral("download"), table, QStringLiteral("--port"), scale.Device(),
                                           QStringLiteral("--mode"), QStringLiteral("counting")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << Text(run.out) << Text(run.err);
    // Redrawn in place: each state starts at the line's beginning and clears what was there.
    const QString clear = QStringLiteral("\r\x1b[K");
    EXPECT_TRUE(run.out.contains(clear + QLatin1Char('[') + QString(10, QLatin1Char('#')) +
                                 QString(30, QLatin1Char(' ')) + QStringLiteral("]  25%")))
        << Text(run.out);
    EXPECT_TRUE(run.out.contains(clear + QLatin1Char('[') + QString(40, QLatin1Char('#')) + QStringLiteral("] 100%")))
        << Text(run.out);
    EXPECT_TRUE(run.out.endsWith(scale.Device() + QStringLiteral(": Success\r\n"))) << Text(run.out);
}

TEST(CliDownload, AFailedDownloadExitsWithOneAndNamesTheRow)
{
    const struct
    {
        const char* name;
        QStringList scaleOptions;
        QByteArray table;
        QString reason;
        int rowsKept; // by the scale, before the failure
    } cases[] = {
        {"refused by the scale",
         {QStringLiteral("--refuse"), QStringLiteral("2")},
         kCountingTable,
         QStringLiteral("Fail! The scale refused row 2."),
         1},
        {"no answer",
         {QStringLiteral("--silent"), QStringLiteral("3")},
         kCountingTable,
         QStringLiteral("Fail! No answer from the scale for row 3 within 0.5 s."),
         2},
        {"rejected row",
         {},
         "PLU No.,Unit weight,Goods Id,Goods Name,Specification\r\n5,0.25,A5,Bolts,steel\r\n2000,1,,,\r\n",
         QStringLiteral("Fail! Row 2 rejected: PLU No. 2000 is above 1008"),
         1},
    };
    for (const auto& c : cases) {
        CCliRunner cli;
        const QString table = cli.WriteFile(QStringLiteral("table.csv"), c.table);
        SScale scale(cli, QStringLiteral("scale"), c.scaleOptions);
        ASSERT_FALSE(scale.Device().isEmpty()) << c.name;

        const SCliRun run = cli.Run({QStringLiteral("download"), table, QStringLiteral("--port"), scale.Device(),
                                     QStringLiteral("--mode"), QStringLiteral("counting"),
                                     QStringLiteral("--ack-timeout"), QStringLiteral("500")});
        ASSERT_TRUE(run.finished) << c.name;
        EXPECT_EQ(run.exitCode, 1) << c.name << ": " << Text(run.out) << Text(run.err);
        EXPECT_TRUE(run.out.endsWith(scale.Device() + QStringLiteral(": ") + c.reason + QLatin1Char('\n')))
            << c.name << ": " << Text(run.out);
        scale.process->Stop();
        EXPECT_EQ(ReadAll(scale.csv).count('\n'), 1 + c.rowsKept) << c.name;
    }
}

TEST(CliDownload, RetriesALostAnswerAndResumesAtAGivenRow)
{
    CCliRunner cli;
    const QString table = cli.WriteFile(QStringLiteral("table.csv"), kCountingTable);
    const QStringList counting = {QStringLiteral("--mode"), QStringLiteral("counting"), QStringLiteral("--ack-timeout"),
                                  QStringLiteral("500")};

    SScale silentOnce(cli, QStringLiteral("silent"), {QStringLiteral("--silent"), QStringLiteral("2")});
    ASSERT_FALSE(silentOnce.Device().isEmpty());
    const SCliRun retried = cli.Run(QStringList{QStringLiteral("download"), table, QStringLiteral("--port"),
                                                silentOnce.Device(), QStringLiteral("--retries"), QStringLiteral("1")} +
                                    counting);
    ASSERT_TRUE(retried.finished);
    EXPECT_EQ(retried.exitCode, 0) << Text(retried.out) << Text(retried.err);
    silentOnce.process->Stop();
    EXPECT_EQ(ReadAll(silentOnce.csv).toStdString(), kCountingTable.toStdString());

    SScale resumed(cli, QStringLiteral("resumed"));
    ASSERT_FALSE(resumed.Device().isEmpty());
    const SCliRun run = cli.Run(QStringList{QStringLiteral("download"), table, QStringLiteral("--port"),
                                            resumed.Device(), QStringLiteral("--from-row"), QStringLiteral("3")} +
                                counting);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << Text(run.out) << Text(run.err);
    EXPECT_TRUE(run.out.endsWith(resumed.Device() + QStringLiteral(": Success\n"))) << Text(run.out);
    resumed.process->Stop();
    const QList<QByteArray> lines = ReadAll(resumed.csv).split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[1].startsWith("1008,")) << lines[1].toStdString();
    EXPECT_EQ(ReadAll(resumed.csv).count('\n'), 2);
}

TEST(CliDownload, APortThatCannotBeOpenedFailsWithTheWindowsMessage)
{
    CCliRunner cli;
    const QString table = cli.WriteFile(QStringLiteral("table.csv"), kCountingTable);
    QString closedServer;
    {
        CTcpRelay relay{QString()};
        closedServer = relay.Address();
    }
    const struct
    {
        QString port;
        QString message;
    } cases[] = {
        {cli.Path(QStringLiteral("no-such-device")),
         QStringLiteral("Cannot open %1: the device is no longer there. Plug it in again, then choose its port.")
             .arg(cli.Path(QStringLiteral("no-such-device")))},
        {closedServer, QStringLiteral("Cannot connect to %1: the connection was refused. Check that the device server "
                                      "is on and that the port number is right.")
                           .arg(closedServer)},
    };
    for (const auto& c : cases) {
        const SCliRun run = cli.Run({QStringLiteral("download"), table, QStringLiteral("--port"), c.port});
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(Text(run.out), Text(c.port + QStringLiteral(": Fail! ") + c.message + QLatin1Char('\n')));
    }
}

TEST(CliDownload, ASerialDeviceServerOverTcpLoadsTheScale)
{
    CCliRunner cli;
    const QString table = cli.WriteFile(QStringLiteral("table.csv"), kCountingTable);
    SScale scale(cli, QStringLiteral("scale"));
    ASSERT_FALSE(scale.Device().isEmpty());
    CTcpRelay server(scale.Device());
    ASSERT_FALSE(server.Address().isEmpty());

    const SCliRun run = cli.Run({QStringLiteral("download"), table, QStringLiteral("--port"), server.Address(),
                                 QStringLiteral("--mode"), QStringLiteral("counting")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << Text(run.out) << Text(run.err);
    EXPECT_TRUE(run.out.endsWith(server.Address() + QStringLiteral(": Success\n"))) << Text(run.out);
    server.Stop();
    scale.process->Stop();
    EXPECT_EQ(ReadAll(scale.csv).toStdString(), kCountingTable.toStdString());
}

TEST(CliDownload, ADroppedDeviceServerConnectionFailsAsAnUnpluggedDevice)
{
    CCliRunner cli;
    const QString table = cli.WriteFile(QStringLiteral("table.csv"), kCountingTable);
    SScale scale(cli, QStringLiteral("scale"), {QStringLiteral("--vanish-at"), QStringLiteral("2")});
    ASSERT_FALSE(scale.Device().isEmpty());
    CTcpRelay server(scale.Device());

    const SCliRun run = cli.Run({QStringLiteral("download"), table, QStringLiteral("--port"), server.Address(),
                                 QStringLiteral("--mode"), QStringLiteral("counting")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.endsWith(server.Address() +
                                 QStringLiteral(": Fail! The device was disconnected while row 2 was being sent.\n")))
        << Text(run.out);
}

TEST(CliDownload, TwoScalesLoadInParallel)
{
    CCliRunner cli;
    const QString table = cli.WriteFile(QStringLiteral("table.csv"), kCountingTable);
    SScale first(cli, QStringLiteral("first"));
    // The second answers slowly: the first must not wait for it.
    SScale second(cli, QStringLiteral("second"), {QStringLiteral("--delay"), QStringLiteral("300")});
    ASSERT_FALSE(first.Device().isEmpty());
    ASSERT_FALSE(second.Device().isEmpty());

    const SCliRun run =
        cli.Run({QStringLiteral("download"), table, QStringLiteral("--port"), first.Device(), QStringLiteral("--port"),
                 second.Device(), QStringLiteral("--mode"), QStringLiteral("counting")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << Text(run.out) << Text(run.err);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    // One summary line per port, in the order given, after the progress of both.
    EXPECT_EQ(Text(lines[lines.size() - 2]), Text(first.Device() + QStringLiteral(": Success")));
    EXPECT_EQ(Text(lines.last()), Text(second.Device() + QStringLiteral(": Success")));
    // Both were under way together: the second had started before the first was done.
    EXPECT_LT(lines.indexOf(second.Device() + QStringLiteral(": 0%")),
              lines.indexOf(first.Device() + QStringLiteral(": 100%")))
        << Text(run.out);
    first.process->Stop();
    second.process->Stop();
    EXPECT_EQ(ReadAll(first.csv).toStdString(), kCountingTable.toStdString());
    EXPECT_EQ(ReadAll(second.csv).toStdString(), kCountingTable.toStdString());
}

TEST(CliDownload, OneFailedPortOfTwoFailsTheRunButNotTheOtherPort)
{
    CCliRunner cli;
    const QString table = cli.WriteFile(QStringLiteral("table.csv"), kCountingTable);
    SScale refusing(cli, QStringLiteral("refusing"), {QStringLiteral("--refuse"), QStringLiteral("1")});
    SScale good(cli, QStringLiteral("good"));
    ASSERT_FALSE(refusing.Device().isEmpty());
    ASSERT_FALSE(good.Device().isEmpty());

    const SCliRun run =
        cli.Run({QStringLiteral("download"), table, QStringLiteral("--port"), refusing.Device(),
                 QStringLiteral("--port"), good.Device(), QStringLiteral("--mode"), QStringLiteral("counting")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1) << Text(run.out) << Text(run.err);
    EXPECT_TRUE(run.out.endsWith(refusing.Device() + QStringLiteral(": Fail! The scale refused row 1.\n") +
                                 good.Device() + QStringLiteral(": Success\n")))
        << Text(run.out);
    good.process->Stop();
    EXPECT_EQ(ReadAll(good.csv).toStdString(), kCountingTable.toStdString());
}

// The trace holds, for each port, every record as 'talvex records' shows it and every answer, with times.
TEST(CliDownload, TheTraceHoldsEveryRecordsBytes)
{
    CCliRunner cli;
    const QString table = cli.WriteFile(QStringLiteral("table.csv"), kCountingTable);
    const QString tracePath = cli.Path(QStringLiteral("trace.txt"));
    SScale scale(cli, QStringLiteral("scale"), {QStringLiteral("--silent"), QStringLiteral("2")});
    ASSERT_FALSE(scale.Device().isEmpty());

    const SCliRun records =
        cli.Run({QStringLiteral("records"), table, QStringLiteral("--mode"), QStringLiteral("counting")});
    ASSERT_EQ(records.exitCode, 0) << Text(records.err);
    QStringList expected;
    for (const QString& line : records.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.value(1) == QLatin1String("sendable"))
            expected << fields.value(2);
    }
    ASSERT_EQ(expected.size(), 3);
    // The second record goes unanswered once and is sent again.
    expected.insert(1, expected.at(1));

    const SCliRun run =
        cli.Run({QStringLiteral("download"), table, QStringLiteral("--port"), scale.Device(), QStringLiteral("--mode"),
                 QStringLiteral("counting"), QStringLiteral("--retries"), QStringLiteral("1"),
                 QStringLiteral("--ack-timeout"), QStringLiteral("500"), QStringLiteral("--trace"), tracePath});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << Text(run.out) << Text(run.err);

    const QStringList trace = QString::fromUtf8(ReadAll(tracePath)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    static const QRegularExpression traced(QStringLiteral("^ *\\d+\\.\\d{3} (\\S+) ([<>-]) (.*)$"));
    QStringList sent;
    int answers = 0;
    for (const QString& line : trace) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QRegularExpressionMatch match = traced.match(line);
        ASSERT_TRUE(match.hasMatch()) << Text(line);
        EXPECT_EQ(Text(match.captured(1)), Text(scale.Device()));
        if (match.captured(2) == QLatin1String(">"))
            sent << match.captured(3).remove(QLatin1Char(' '));
        else if (match.captured(2) == QLatin1String("<"))
            answers += match.captured(3).contains(QLatin1String("53 50 4f 4b")) ? 1 : 0;
    }
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(answers, 3);

    const SCliRun unwritable = cli.Run({QStringLiteral("download"), table, QStringLiteral("--port"), scale.Device(),
                                        QStringLiteral("--trace"), cli.Path(QStringLiteral("missing/trace.txt"))});
    EXPECT_EQ(unwritable.exitCode, 2);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("cannot write the trace"))) << Text(unwritable.err);
}

} // namespace
