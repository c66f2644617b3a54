// What a download leaves behind: each row's state, the technician's trace, the transfer log's entry, and the
// window's transfer settings.

#include "app/CSettings.h"
#include "app/Language.h"
#include "download/CDownloadSession.h"
#include "download/CLineTrace.h"
#include "download/CTracedLine.h"
#include "download/CTransferLog.h"
#include "download/TransferSettings.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "support/FakeSerialLine.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const QByteArray kAck = QByteArrayLiteral("\x02SPOK\r\n");
const QByteArray kRefusal = QByteArrayLiteral("\x02SPNG\r\n");

// A pricing table of the given (PLU No., Unit price) rows, downloaded over a fake line (or a traced one).
struct SSessionFixture
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CGridModel grid;
    CPluTable table{grid, settings.Settings(), prompt};
    CFakeSerialLine line;
    std::string states; // each reported row as "row:state", state A, R, N or S
    std::string start;  // "first/count" of the last start

    explicit SSessionFixture(const std::vector<std::pair<const char*, const char*>>& rows)
    {
        Language::SetLanguageInForce(1033);
        settings.Settings().WriteInt(ESetting::PluMode, PluLayout::SettingOf(EPluMode::Pricing));
        table.EnterStoredMode();
        grid.ClearRows();
        for (const auto& [plu, price] : rows) {
            const int row = grid.RowCount();
            grid.InsertRow(row, QString::number(row + 1));
            grid.SetCellText(row, 1, QString::fromUtf8(plu));
            grid.SetCellText(row, 2, QString::fromUtf8(price));
        }
    }

    void Follow(CDownloadSession& session)
    {
        session.SetAcknowledgementTimeoutMs(150);
        QObject::connect(&session, &CDownloadSession::started, &session,
                         [this](int first, int count) { start = std::to_string(first) + "/" + std::to_string(count); });
        QObject::connect(&session, &CDownloadSession::rowTransferred, &session, [this](int row, ETransferState state) {
            const char letter = state == ETransferState::Acknowledged ? 'A'
                                : state == ETransferState::Refused    ? 'R'
                                : state == ETransferState::NoAnswer   ? 'N'
                                                                      : 'S';
            states += (states.empty() ? "" : " ") + std::to_string(row) + ":" + letter;
        });
    }

    static SDownloadRequest Request(int firstRow = 0)
    {
        SDownloadRequest request;
        request.devicePath = QStringLiteral("/dev/ttyUSB2");
        request.baudRate = 9600;
        request.textCodePage = 65001;
        request.firstRow = firstRow;
        return request;
    }

    bool WaitUntilEnded(CDownloadSession& session)
    {
        return QTest::qWaitFor([&] { return !session.IsRunning(); }, 3000);
    }
};

TEST(TransferRecord, TheSessionReportsWhatBecameOfEachRow)
{
    enum EAfterAnswers
    {
        kNothing,
        kLoseLine,
        kFailWrites, // after the first answer
    };
    const struct
    {
        const char* name;
        std::vector<std::pair<const char*, const char*>> rows;
        std::vector<QByteArray> answers; // one for each record, taken before the next comes, as on a real line
        EAfterAnswers then;
        int firstRow;
        const char* expected;
    } cases[] = {
        {"all acknowledged", {{"1", "2"}, {"", ""}, {"3", "4"}}, {kAck, kAck}, kNothing, 0, "0:A 2:A"},
        {"refused", {{"1", "2"}, {"2", "3"}}, {kAck, kRefusal}, kNothing, 0, "0:A 1:R"},
        {"no answer", {{"1", "2"}, {"2", "3"}}, {}, kNothing, 0, "0:N"},
        {"device gone", {{"1", "2"}, {"2", "3"}}, {}, kLoseLine, 0, "0:N"},
        {"rejected row", {{"1", "2"}, {"2000", "3"}}, {kAck}, kNothing, 0, "0:A 1:S"},
        {"write failure", {{"1", "2"}, {"2", "3"}}, {kAck}, kFailWrites, 0, "0:A 1:S"},
        {"resumed", {{"1", "2"}, {"2", "3"}, {"3", "4"}}, {kAck, kAck}, kNothing, 1, "1:A 2:A"},
    };
    for (const auto& c : cases) {
        SSessionFixture f(c.rows);
        CDownloadSession session(f.table, f.line, f.prompt);
        f.Follow(session);
        ASSERT_EQ(session.Start(SSessionFixture::Request(c.firstRow)), CDownloadSession::EStart::Started) << c.name;
        EXPECT_EQ(f.start, std::to_string(c.firstRow) + "/" + std::to_string(c.rows.size())) << c.name;
        for (std::size_t i = 0; i < c.answers.size(); ++i) {
            if (c.then == kFailWrites && i == 0)
                f.line.writeSucceeds = false;
            f.line.Deliver(c.answers[i]);
            QCoreApplication::processEvents();
        }
        if (c.then == kLoseLine)
            f.line.LoseConnection();
        ASSERT_TRUE(f.WaitUntilEnded(session)) << c.name;
        EXPECT_EQ(f.states, c.expected) << c.name;
    }
}

// The trace's lines: "<ms> <port> > <hex>" and so on; the milliseconds are checked to run on, and dropped.
QStringList TraceLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression line(QStringLiteral("^ *(\\d+\\.\\d{3}) (.*)$"));
    QStringList lines;
    double last = 0;
    for (const QString& text : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (text.startsWith(QLatin1Char('#')))
            continue;
        const QRegularExpressionMatch match = line.match(text);
        EXPECT_TRUE(match.hasMatch()) << text.toStdString();
        const double milliseconds = match.captured(1).toDouble();
        EXPECT_GE(milliseconds, last) << text.toStdString();
        last = milliseconds;
        lines << match.captured(2);
    }
    return lines;
}

TEST(TransferRecord, TheTraceHoldsEveryRecordAndAnswerInHex)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    SSessionFixture f({{"1", "2"}, {"2", "3"}});
    CLineTrace trace;
    QString error;
    ASSERT_TRUE(trace.Open(path, &error)) << error.toStdString();
    CTracedLine traced(f.line, trace);
    {
        CDownloadSession session(f.table, traced, f.prompt);
        f.Follow(session);
        ASSERT_EQ(session.Start(SSessionFixture::Request()), CDownloadSession::EStart::Started);
        // The answer comes in two pieces; the trace keeps each as it came.
        f.line.Deliver(QByteArrayLiteral("\x02SP"));
        f.line.Deliver(QByteArrayLiteral("OK\r\n"));
        QCoreApplication::processEvents();
        f.line.Deliver(kAck);
        QCoreApplication::processEvents();
        ASSERT_TRUE(f.WaitUntilEnded(session));
    }
    const QList<QByteArray> records = f.line.Written();
    ASSERT_EQ(records.size(), 2);
    const QString port = QStringLiteral("/dev/ttyUSB2 ");
    EXPECT_EQ(TraceLines(path), (QStringList{
                                    port + QStringLiteral("- opened at 9600 baud"),
                                    port + QStringLiteral("> ") + CLineTrace::Hex(records[0]),
                                    port + QStringLiteral("< 02 53 50"),
                                    port + QStringLiteral("< 4f 4b 0d 0a"),
                                    port + QStringLiteral("> ") + CLineTrace::Hex(records[1]),
                                    port + QStringLiteral("< 02 53 50 4f 4b 0d 0a"),
                                    port + QStringLiteral("- closed"),
                                }));
    EXPECT_EQ(CLineTrace::Hex(QByteArrayLiteral("\x02S\xff")), QStringLiteral("02 53 ff"));

    CLineTrace nowhere;
    EXPECT_FALSE(nowhere.Open(dir.filePath(QStringLiteral("missing/trace.txt")), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(TransferRecord, TheLogNamesThePortByItsStableNameAndWhereItWas)
{
    QTemporaryDir dir;
    const CTransferLog log(dir.filePath(QStringLiteral("state/Talvex/transfers.log")));
    SSessionFixture f({{"1", "2"}, {"2", "3"}});
    CDownloadSession session(f.table, f.line, f.prompt);
    session.SetTransferLog(&log);
    f.Follow(session);
    SDownloadRequest request = SSessionFixture::Request();
    request.portName = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    ASSERT_EQ(session.Start(request), CDownloadSession::EStart::Started);
    f.line.Deliver(kAck);
    QCoreApplication::processEvents();
    f.line.Deliver(kAck);
    QCoreApplication::processEvents();
    ASSERT_TRUE(f.WaitUntilEnded(session));
    QFile file(log.Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains(
        " port /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 (/dev/ttyUSB2), 9600 baud, pricing"));

    // Without a stable name, the device path stands alone.
    STransferEntry entry;
    entry.device = QStringLiteral("tcp://10.0.0.7:4001");
    EXPECT_TRUE(CTransferLog::Format(entry).contains(QStringLiteral(" port tcp://10.0.0.7:4001, ")));

    // A "%" in a name is written as it is, not filled in with a later value.
    entry.device = QStringLiteral("/dev/tty%4%10");
    entry.baudRate = 19200;
    EXPECT_TRUE(CTransferLog::Format(entry).contains(QStringLiteral(" port /dev/tty%4%10, 19200 baud, ")))
        << CTransferLog::Format(entry).toStdString();
}

TEST(TransferRecord, TheLogIsCreatedEmptyToBeShownBeforeAnyDownload)
{
    QTemporaryDir dir;
    const CTransferLog log(dir.filePath(QStringLiteral("state/Talvex/transfers.log")));
    ASSERT_TRUE(log.EnsureExists());
    EXPECT_EQ(QFileInfo(log.Path()).size(), 0);
    STransferEntry entry;
    ASSERT_TRUE(log.Append(entry));
    const qint64 size = QFileInfo(log.Path()).size();
    EXPECT_TRUE(log.EnsureExists());
    EXPECT_EQ(QFileInfo(log.Path()).size(), size); // what it holds stays

    // A folder that cannot be made: a file stands in its place.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(CTransferLog(dir.filePath(QStringLiteral("blocked/Talvex/transfers.log"))).EnsureExists());
}

TEST(TransferRecord, TransferSettingsDefaultToTheScalesOwnAndStayInRange)
{
    CTempSettings store;
    CSettings& settings = store.Settings();
    const STransferSettings defaults = ReadTransferSettings(settings);
    EXPECT_EQ(defaults.retries, 0);
    EXPECT_EQ(defaults.ackTimeoutMs, CDownloadSession::kAcknowledgementTimeoutMs);

    const struct
    {
        int storedRetries;
        int storedTimeout;
        int retries;
        int timeout;
    } cases[] = {
        {2, 1500, 2, 1500},
        {-1, 0, 0, STransferSettings::kMinTimeoutMs},
        {1000, 10000000, STransferSettings::kMaxRetries, STransferSettings::kMaxTimeoutMs},
    };
    for (const auto& c : cases) {
        settings.WriteInt(ESetting::Retries, c.storedRetries);
        settings.WriteInt(ESetting::AckTimeout, c.storedTimeout);
        const STransferSettings read = ReadTransferSettings(settings);
        EXPECT_EQ(read.retries, c.retries) << c.storedRetries;
        EXPECT_EQ(read.ackTimeoutMs, c.timeout) << c.storedTimeout;
    }
    WriteTransferSettings(settings, {3, 800});
    EXPECT_TRUE(store.FileText().contains(QStringLiteral("RETRIES=3"))) << store.FileText().toStdString();
    EXPECT_TRUE(store.FileText().contains(QStringLiteral("ACKTIMEOUT=800")));
}

} // namespace
