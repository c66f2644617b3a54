#include "app/Language.h"
#include "download/CDownloadSession.h"
#include "download/TextCodePage.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "support/FakeSerialLine.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
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
    CDownloadSession session{table, line, settings.Settings(), prompt};
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
        QObject::connect(&session, &CDownloadSession::labelChanged, &session,
                         [this](const QString& text, const QString& tip) {
                             label = text;
                             toolTip = tip;
                         });
        QObject::connect(&session, &CDownloadSession::failedAtRow, &session, [this](int row) { failedRow = row; });
    }

    CDownloadSession::EStart Start(int encoding = 0)
    {
        SDownloadRequest request;
        request.portIndex = 2;
        request.baudIndex = 1;
        request.baudText = QStringLiteral("9600");
        request.encodingIndex = encoding;
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
    EXPECT_EQ(f.line.lastPort, 3);
    EXPECT_EQ(f.line.lastBaud, 9600);
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Port), 2);
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Bps), 1);
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

TEST(DownloadSession, RejectedRowStopsTheDownloadAndIsNamed)
{
    SDownloadFixture f({{"1", "2"}, {"2000", "3"}, {"3", "4"}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    f.line.Deliver(kAck);
    f.Settle();
    EXPECT_EQ(f.line.Written().size(), 1); // nothing goes out for the rejected row
    EXPECT_TRUE(f.WaitUntilClosed());
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
        SAnswerCase{"Refusal", {QByteArrayLiteral("\x02SPNG\r\n")}, 1, "Fail!"},
        SAnswerCase{"ShortLineIsNotAnOldAcknowledgement",
                    {QByteArrayLiteral("SPOK\r\n"), QByteArrayLiteral("SP\n")},
                    2,
                    "Fail!"}),
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
    EXPECT_FALSE(f.settings.Settings().Contains(ESetting::Port));
    EXPECT_EQ(f.prompt.MessageCount(), 0);
}

TEST(DownloadSession, WriteErrorIsShownAndEndsTheDownload)
{
    SDownloadFixture f({{"1", "2"}, {"2", "3"}});
    f.line.writeSucceeds = false;
    EXPECT_EQ(f.Start(), CDownloadSession::EStart::SerialError);
    EXPECT_EQ(f.prompt.MessageCount(), 1);
    EXPECT_EQ(f.label, QStringLiteral("Fail!"));
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

TEST(TextCodePageChoice, FollowsTheEncodingSelectorAndTheLanguage)
{
    const struct
    {
        int encoding;
        int language;
        int codePage;
    } cases[] = {{0, 2052, 936}, {0, 3076, 950}, {0, 1028, 950}, {0, 4100, 936}, {0, 1033, 65001},
                 {0, 7, 65001},  {1, 1033, 936}, {2, 2052, 950}, {3, 2052, 65001}, {-1, 1033, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TextCodePageForEncoding(c.encoding, c.language), c.codePage) << c.encoding << " " << c.language;
}

} // namespace
