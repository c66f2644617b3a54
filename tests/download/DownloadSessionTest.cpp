#include "app/Language.h"
#include "download/CDownloadSession.h"
#include "download/CTransferLog.h"
#include "download/DownloadLabels.h"
#include "download/PluRecord.h"
#include "download/TextCodePage.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "support/FakeSerialLine.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QByteArray kAck = QByteArrayLiteral("\x02SPOK\r\n");

// A pricing table with the given (PLU No., Unit price) rows; the entry row follows them.
struct SDownloadFixture
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CGridModel grid;
    CPluTable table{grid, settings.Settings(), prompt};
    CFakeSerialLine line;
    CDownloadSession session{table, line, prompt};
    QString label;
    QString toolTip;
    int failedRow = -2;

    explicit SDownloadFixture(const std::vector<std::pair<const char*, const char*>>& rows, bool entryRow = false)
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
        if (entryRow)
            table.AppendNewRow();
        session.SetAcknowledgementTimeoutMs(200);
        QObject::connect(&session, &CDownloadSession::progress, &session,
                         [this](int done, int total) { label = DownloadLabels::Progress(done, total); });
        QObject::connect(&session, &CDownloadSession::finished, &session,
                         [this](bool success, int row, const QString& reason) {
                             label = DownloadLabels::Outcome(success);
                             toolTip = reason;
                             failedRow = row;
                         });
    }

    CDownloadSession::EStart Start(int firstRow = 0, int retries = 0)
    {
        SDownloadRequest request;
        request.devicePath = QStringLiteral("/dev/ttyUSB2");
        request.baudRate = 9600;
        request.textCodePage = 65001;
        request.firstRow = firstRow;
        request.retries = retries;
        return session.Start(request);
    }

    // Lets the queued hand-overs from the receive thread run.
    void Settle() { QCoreApplication::processEvents(); }

    bool WaitUntilClosed(int timeoutMs = 2000)
    {
        return QTest::qWaitFor([this] { return !line.IsOpen() && !session.IsRunning(); }, timeoutMs);
    }

    int WrittenPlu(int index) { return line.Written().at(index).mid(3, 4).toInt(); }
};

TEST(DownloadSession, NeedsMoreThanOneRow)
{
    for (int rows : {0, 1}) {
        std::vector<std::pair<const char*, const char*>> data;
        if (rows == 1)
            data.push_back({"1", "2"});
        SDownloadFixture f(data);
        EXPECT_EQ(f.Start(), CDownloadSession::EStart::NoData);
        EXPECT_EQ(f.line.openCalls, 0);
        ASSERT_EQ(f.prompt.MessageCount(), 1);
        EXPECT_EQ(f.prompt.messages.front().text, QStringLiteral("No data!"));
    }
}

TEST(DownloadSession, SendsOneRecordPerAcknowledgement)
{
    SDownloadFixture f({{"1", "2.5"}, {"2", "3.5"}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    EXPECT_EQ(f.line.lastDevice, QStringLiteral("/dev/ttyUSB2"));
    EXPECT_EQ(f.line.lastBaud, 9600);
    EXPECT_EQ(f.label, QStringLiteral(" 0%"));
    ASSERT_EQ(f.line.Written().size(), 1);
    EXPECT_EQ(f.WrittenPlu(0), 1);

    f.line.Deliver(kAck);
    f.Settle();
    ASSERT_EQ(f.line.Written().size(), 2);
    EXPECT_EQ(f.WrittenPlu(1), 2);
    EXPECT_EQ(f.label, QStringLiteral("50%"));

    f.line.Deliver(kAck);
    f.Settle();
    EXPECT_EQ(f.label, QStringLiteral("Success"));
    EXPECT_TRUE(f.WaitUntilClosed());
    EXPECT_EQ(f.line.closeCalls, 1);
    EXPECT_EQ(f.line.Written().size(), 2);
}

TEST(DownloadSession, PassesOverEmptyRows)
{
    SDownloadFixture f({{"1", "2"}, {"", ""}, {"3", "4"}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    f.line.Deliver(kAck);
    f.Settle();
    ASSERT_EQ(f.line.Written().size(), 2);
    EXPECT_EQ(f.WrittenPlu(1), 3);
    EXPECT_EQ(f.label, QStringLiteral("66%"));
}

TEST(DownloadSession, NothingToSendFailsAfterTheTimeOut)
{
    SDownloadFixture f({{"", "2"}, {"", "3"}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    EXPECT_TRUE(f.line.Written().isEmpty());
    EXPECT_EQ(f.label, QStringLiteral(" 0%"));
    EXPECT_TRUE(f.WaitUntilClosed());
    EXPECT_EQ(f.label, QStringLiteral("Fail!"));
    EXPECT_FALSE(f.toolTip.isEmpty());
}

TEST(DownloadSession, RejectedFirstRowEndsTheDownloadAtStart)
{
    SDownloadFixture f({{"2000", "2"}, {"2", "3"}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    EXPECT_TRUE(f.line.Written().isEmpty());
    EXPECT_EQ(f.label, QStringLiteral("Fail!"));
    EXPECT_EQ(f.failedRow, 0);
    EXPECT_TRUE(f.WaitUntilClosed());
}

TEST(DownloadSession, AnswerWithNothingInFlightIsDropped)
{
    SDownloadFixture f({{"", "2"}, {"", "3"}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    f.line.Deliver(kAck);
    f.Settle();
    EXPECT_EQ(f.label, QStringLiteral(" 0%"));
    EXPECT_TRUE(f.WaitUntilClosed());
    EXPECT_EQ(f.label, QStringLiteral("Fail!"));
}

// On a serial device the record takes its time on the line (79 bytes at 9600 baud: 82 ms), and so does the
// answer: an answer that comes sooner cannot be the scale's answer to it.
TEST(DownloadSession, OnASerialLineAnAnswerSoonerThanTheRecordCanCrossIsDropped)
{
    SDownloadFixture f({{"1", "2"}, {"2", "3"}});
    f.line.paced = true;
    f.session.SetAcknowledgementTimeoutMs(3000); // well past the wait below, on a slow machine too
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    f.line.Deliver(kAck);
    f.Settle();
    EXPECT_EQ(f.line.Written().size(), 1);
    EXPECT_EQ(f.label, QStringLiteral(" 0%"));

    QTest::qWait(100);
    f.line.Deliver(kAck);
    f.Settle();
    EXPECT_EQ(f.line.Written().size(), 2);
    EXPECT_EQ(f.label, QStringLiteral("50%"));
}

TEST(DownloadSession, RejectedRowEndsTheDownloadAtOnceAndIsNamed)
{
    SDownloadFixture f({{"1", "2"}, {"2000", "3"}, {"3", "4"}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    f.line.Deliver(kAck);
    f.Settle();
    EXPECT_EQ(f.line.Written().size(), 1);       // nothing goes out for the rejected row
    EXPECT_EQ(f.label, QStringLiteral("Fail!")); // without waiting for the time-out
    // A stray answer now finds nothing in flight and moves nothing on.
    f.line.Deliver(kAck);
    f.Settle();
    EXPECT_TRUE(f.WaitUntilClosed());
    EXPECT_EQ(f.line.Written().size(), 1);
    EXPECT_EQ(f.label, QStringLiteral("Fail!"));
    EXPECT_EQ(f.failedRow, 1);
    EXPECT_TRUE(f.toolTip.contains(QStringLiteral("Row 2"))) << f.toolTip.toStdString();
    EXPECT_TRUE(f.toolTip.contains(QStringLiteral("2000"))) << f.toolTip.toStdString();
}

struct SAnswerCase
{
    const char* name;
    std::vector<QByteArray> deliveries;
    int expectedRecords; // written after the deliveries
    const char* expectedLabel;
};

class DownloadAnswers : public ::testing::TestWithParam<SAnswerCase>
{
};

TEST_P(DownloadAnswers, AreJudgedByTheirFirstFourBytes)
{
    const SAnswerCase& c = GetParam();
    SDownloadFixture f({{"1", "2"}, {"2", "3"}, {"3", "4"}, {"4", "5"}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    for (const QByteArray& delivery : c.deliveries) {
        f.line.Deliver(delivery);
        f.Settle();
    }
    EXPECT_EQ(f.line.Written().size(), c.expectedRecords);
    EXPECT_EQ(f.label, QString::fromUtf8(c.expectedLabel));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DownloadAnswers,
    ::testing::Values(
        SAnswerCase{"WithStx", {QByteArrayLiteral("\x02SPOK\r\n")}, 2, "25%"},
        SAnswerCase{"WithoutStx", {QByteArrayLiteral("SPOK\r\n")}, 2, "25%"},
        SAnswerCase{"SplitAcrossDeliveries", {QByteArrayLiteral("SP"), QByteArrayLiteral("OK\r\n")}, 2, "25%"},
        SAnswerCase{"TwoInOneDeliveryCountOnce", {QByteArrayLiteral("\x02SPOK\r\n\x02SPOK\r\n")}, 2, "25%"},
        SAnswerCase{"NoiseBeforeStx", {QByteArrayLiteral("xyz\x02SPOK\r\n")}, 2, "25%"},
        SAnswerCase{"OtherLinesIgnored", {QByteArrayLiteral("HELLO\r\n")}, 1, " 0%"},
        SAnswerCase{"StatusLineBeforeTheAnswerInOneBurst", {QByteArrayLiteral("\x02ST,00\r\n\x02SPOK\r\n")}, 2, "25%"},
        SAnswerCase{"BlankLineBeforeTheAnswerInOneBurst", {QByteArrayLiteral("\r\nSPOK\r\n")}, 2, "25%"},
        SAnswerCase{"AnswerAfterAnAcknowledgementInOneBurstIsDropped",
                    {QByteArrayLiteral("\x02SPOK\r\n\x02SPNG\r\n")},
                    2,
                    "25%"},
        SAnswerCase{"Refusal", {QByteArrayLiteral("\x02SPNG\r\n")}, 1, "Fail!"},
        SAnswerCase{"ShortLineIsNotAnOldAcknowledgement",
                    {QByteArrayLiteral("SPOK\r\n"), QByteArrayLiteral("SP\n")},
                    2,
                    "Fail!"}),
    [](const auto& info) { return std::string(info.param.name); });

// The grid stays editable during a download: each record goes out as its row reads when the previous one is
// acknowledged, also when the session had built it beforehand. The edits bypass the grid's notifications.
struct SEditCase
{
    const char* name;
    std::vector<std::pair<const char*, const char*>> rows;
    void (*edit)(CGridModel&);
    int secondPlu; // PLU No. of the second record written; 0 when none is
    const char* label;
};

class DownloadRowEdits : public ::testing::TestWithParam<SEditCase>
{
};

TEST_P(DownloadRowEdits, GoOutAsTheRowReadsWhenItsTurnComes)
{
    const SEditCase& c = GetParam();
    SDownloadFixture f(c.rows);
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    ASSERT_EQ(f.line.Written().size(), 1);
    c.edit(f.grid);
    f.line.Deliver(kAck);
    f.Settle();
    EXPECT_EQ(f.label, QString::fromUtf8(c.label)) << f.toolTip.toStdString();
    if (c.secondPlu == 0) {
        EXPECT_EQ(f.line.Written().size(), 1);
        return;
    }
    ASSERT_EQ(f.line.Written().size(), 2);
    EXPECT_EQ(f.WrittenPlu(1), c.secondPlu);
    const int row = f.session.RowCursor();
    const SPluRecord now =
        BuildPluRecord(f.table.RowTexts(row), f.table.PluMode(), f.table.LimitMode(), 65001, DefaultRecordCodePage());
    EXPECT_EQ(f.line.Written().at(1), now.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DownloadRowEdits,
    ::testing::Values(
        SEditCase{"PriceChanged",
                  {{"1", "2"}, {"2", "3"}, {"3", "4"}},
                  [](CGridModel& g) { g.SetCellText(1, 2, QStringLiteral("7.25")); },
                  2,
                  "33%"},
        SEditCase{"NameTyped",
                  {{"1", "2"}, {"2", "3"}, {"3", "4"}},
                  [](CGridModel& g) { g.SetCellText(1, 4, QStringLiteral("Pears")); },
                  2,
                  "33%"},
        SEditCase{"RowEmptied",
                  {{"1", "2"}, {"2", "3"}, {"3", "4"}},
                  [](CGridModel& g) { g.SetCellText(1, 1, QString()); },
                  3,
                  "66%"},
        SEditCase{"EmptyRowFilled",
                  {{"1", "2"}, {"", ""}, {"3", "4"}},
                  [](CGridModel& g) {
                      g.SetCellText(1, 1, QStringLiteral("7"));
                      g.SetCellText(1, 2, QStringLiteral("8"));
                  },
                  7,
                  "33%"},
        SEditCase{"RowMadeUnsendable",
                  {{"1", "2"}, {"2", "3"}, {"3", "4"}},
                  [](CGridModel& g) { g.SetCellText(1, 1, QStringLiteral("2000")); },
                  0,
                  "Fail!"},
        SEditCase{"UnsendableRowMended",
                  {{"1", "2"}, {"2000", "3"}, {"3", "4"}},
                  [](CGridModel& g) { g.SetCellText(1, 1, QStringLiteral("5")); },
                  5,
                  "33%"},
        SEditCase{
            "RowsReordered", {{"1", "2"}, {"2", "3"}, {"3", "4"}}, [](CGridModel& g) { g.DeleteRow(1); }, 3, "33%"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadSession, ShowsZeroPercentAfterTheFirstOfTwoHundred)
{
    std::vector<std::pair<const char*, const char*>> rows(200, {"1", "1"});
    SDownloadFixture f(rows);
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    f.line.Deliver(kAck);
    f.Settle();
    EXPECT_EQ(f.label, QStringLiteral(" 0%"));
}

TEST(DownloadSession, LostDeviceFailsAtOnce)
{
    SDownloadFixture f({{"1", "2"}, {"2", "3"}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    QElapsedTimer timer;
    timer.start();
    f.line.LoseConnection();
    f.Settle();
    EXPECT_EQ(f.label, QStringLiteral("Fail!"));
    EXPECT_EQ(f.failedRow, 0);
    EXPECT_TRUE(f.WaitUntilClosed());
    EXPECT_LT(timer.elapsed(), 150); // well before the 200 ms time-out of this test
}

TEST(DownloadSession, SecondDownloadWhileRunningIsRefused)
{
    SDownloadFixture f({{"1", "2"}, {"2", "3"}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    EXPECT_EQ(f.Start(), CDownloadSession::EStart::AlreadyRunning);
    EXPECT_EQ(f.line.openCalls, 1);
    EXPECT_TRUE(f.line.IsOpen());
}

TEST(DownloadSession, PortThatDoesNotOpenChangesNothing)
{
    SDownloadFixture f({{"1", "2"}, {"2", "3"}});
    f.line.openSucceeds = false;
    EXPECT_EQ(f.Start(), CDownloadSession::EStart::PortNotOpened);
    EXPECT_TRUE(f.label.isEmpty());
    EXPECT_EQ(f.prompt.MessageCount(), 0);
}

TEST(DownloadSession, WriteErrorIsShownAndEndsTheDownload)
{
    SDownloadFixture f({{"1", "2"}, {"2", "3"}});
    f.line.writeSucceeds = false;
    EXPECT_EQ(f.Start(), CDownloadSession::EStart::Started);
    EXPECT_EQ(f.prompt.MessageCount(), 1);
    EXPECT_EQ(f.label, QStringLiteral("Fail!"));
    EXPECT_EQ(f.failedRow, 0);
    EXPECT_TRUE(f.WaitUntilClosed());
    // The next download can open the port again.
    f.line.writeSucceeds = true;
    EXPECT_EQ(f.Start(), CDownloadSession::EStart::Started);
}

TEST(DownloadSession, LateAnswerOfAnEarlierDownloadIsDropped)
{
    SDownloadFixture f({{"1", "2"}, {"2", "3"}, {"3", "4"}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    f.line.Deliver(QByteArrayLiteral("\x02SPNG\r\n"));
    f.Settle();
    ASSERT_TRUE(f.WaitUntilClosed());
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    EXPECT_EQ(f.label, QStringLiteral(" 0%"));
}

TEST(DownloadSession, RecordWithoutAnswerIsSentAgainAsOftenAsAllowed)
{
    struct
    {
        int retries;
        bool success;
    } cases[] = {{0, false}, {1, true}};
    for (const auto& c : cases) {
        SDownloadFixture f({{"1", "2"}, {"2", "3"}});
        ASSERT_EQ(f.Start(0, c.retries), CDownloadSession::EStart::Started);
        // The first record's answer is lost; the time-out comes.
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.line.Written().size() == 2 || !f.session.IsRunning(); }, 2000));
        if (!c.success) {
            EXPECT_EQ(f.label, QStringLiteral("Fail!"));
            EXPECT_EQ(f.line.Written().size(), 1);
            continue;
        }
        EXPECT_EQ(f.line.Written().at(1), f.line.Written().at(0)); // the same record again
        f.line.Deliver(kAck);
        f.Settle();
        f.line.Deliver(kAck);
        f.Settle();
        EXPECT_EQ(f.label, QStringLiteral("Success"));
        EXPECT_EQ(f.session.RetriesMade(), 1);
        EXPECT_EQ(f.session.RecordsSent(), 3);
        EXPECT_EQ(f.session.RecordsAcknowledged(), 2);
    }
}

TEST(DownloadSession, RefusalIsNeverSentAgain)
{
    SDownloadFixture f({{"1", "2"}, {"2", "3"}});
    ASSERT_EQ(f.Start(0, 3), CDownloadSession::EStart::Started);
    f.line.Deliver(QByteArrayLiteral("\x02SPNG\r\n"));
    f.Settle();
    EXPECT_EQ(f.label, QStringLiteral("Fail!"));
    EXPECT_TRUE(f.WaitUntilClosed());
    QTest::qWait(300); // past the time-out that a retry would wait for
    EXPECT_EQ(f.line.Written().size(), 1);
}

TEST(DownloadSession, ResumesAtTheGivenRow)
{
    SDownloadFixture f({{"1", "2"}, {"2", "3"}, {"3", "4"}, {"4", "5"}});
    ASSERT_EQ(f.Start(2), CDownloadSession::EStart::Started);
    EXPECT_EQ(f.label, QStringLiteral("50%"));
    ASSERT_EQ(f.line.Written().size(), 1);
    EXPECT_EQ(f.WrittenPlu(0), 3);
    f.line.Deliver(kAck);
    f.Settle();
    EXPECT_EQ(f.WrittenPlu(1), 4);
    f.line.Deliver(kAck);
    f.Settle();
    EXPECT_EQ(f.label, QStringLiteral("Success"));
    EXPECT_EQ(f.line.Written().size(), 2);
}

// Every way a download ends leaves one line in the log, which names the outcome, the row and the reason.
TEST(TransferLog, KeepsALineForEveryDownload)
{
    QTemporaryDir dir;
    const CTransferLog log(dir.filePath(QStringLiteral("state/Talvex/transfers.log")));
    const struct
    {
        const char* name;
        int retries;
        std::vector<QByteArray> answers; // delivered one after the other, with time for a retry between
        bool loseLine;
        const char* expected;
    } cases[] = {
        {"success", 0, {kAck, kAck}, false, "2 records sent, 2 acknowledged, 0 retries; Success, "},
        {"refusal", 0, {QByteArrayLiteral("\x02SPNG\r\n")}, false, "Fail! at row 1 (The scale refused row 1.)"},
        {"time-out", 0, {}, false, "Fail! at row 1 (No answer from the scale for row 1"},
        {"vanished device", 0, {}, true, "Fail! at row 1 (The device was disconnected"},
        {"retried record", 1, {}, false, "3 records sent, 2 acknowledged, 1 retries; Success"},
    };
    int lines = 0;
    for (const auto& c : cases) {
        SDownloadFixture f({{"1", "2"}, {"2", "3"}});
        f.session.SetTransferLog(&log);
        ASSERT_EQ(f.Start(0, c.retries), CDownloadSession::EStart::Started) << c.name;
        if (c.loseLine)
            f.line.LoseConnection();
        for (const QByteArray& answer : c.answers) {
            f.line.Deliver(answer);
            f.Settle();
        }
        if (c.retries > 0) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return f.line.Written().size() == 2; }, 2000)) << c.name;
            f.line.Deliver(kAck);
            f.Settle();
            f.line.Deliver(kAck);
            f.Settle();
        }
        ASSERT_TRUE(f.WaitUntilClosed()) << c.name;
        QFile file(log.Path());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.name;
        const QStringList written = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(written.size(), ++lines) << c.name;
        EXPECT_TRUE(written.last().contains(QString::fromUtf8(c.expected)))
            << c.name << ": " << written.last().toStdString();
        EXPECT_TRUE(written.last().contains(QStringLiteral("port /dev/ttyUSB2, 9600 baud, pricing"))) << c.name;
    }
}

TEST(TransferLog, StartsAfreshAtItsSizeLimitAndKeepsTheOldOne)
{
    QTemporaryDir dir;
    const CTransferLog log(dir.filePath(QStringLiteral("transfers.log")));
    {
        QFile full(log.Path());
        ASSERT_TRUE(full.open(QIODevice::WriteOnly));
        full.write(QByteArray(int(CTransferLog::kRotateBytes), 'x'));
    }
    STransferEntry entry;
    entry.success = true;
    ASSERT_TRUE(log.Append(entry));
    EXPECT_EQ(QFileInfo(log.Path() + QStringLiteral(".1")).size(), CTransferLog::kRotateBytes);
    EXPECT_LT(QFileInfo(log.Path()).size(), 200);
}

TEST(TextCodePageChoice, FollowsTheEncodingSelectorAndTheLanguage)
{
    const struct
    {
        int encoding;
        int language;
        int codePage;
    } cases[] = {{0, 2052, 936}, {0, 3076, 950}, {0, 1028, 950}, {0, 4100, 936},   {0, 1033, 65001},
                 {0, 7, 65001},  {1, 1033, 936}, {2, 2052, 950}, {3, 2052, 65001}, {-1, 1033, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TextCodePageForEncoding(c.encoding, c.language), c.codePage) << c.encoding << " " << c.language;
}

} // namespace
