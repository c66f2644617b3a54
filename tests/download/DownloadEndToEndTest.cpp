#include "download/ScaleLineFixture.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

using SEndToEnd = SScaleLineFixture;

TEST(DownloadEndToEnd, TheScaleReceivesTheTablesRows)
{
    SEndToEnd f(EPluMode::Counting, ELimitMode::On);
    const std::vector<QStringList> rows = {
        {QStringLiteral("5"), QStringLiteral("0.25"), QStringLiteral("A5"), QString::fromUtf8("螺丝 M6"),
         QStringLiteral("steel"), QStringLiteral("1.2"), QString()},
        {QStringLiteral("1008"), QStringLiteral("1000"), QString(), QStringLiteral("Washers"), QString(),
         QStringLiteral("2.5"), QStringLiteral("-1")},
    };
    f.Type(rows);
    ASSERT_EQ(f.grid.RowCount(), 3);
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    ASSERT_TRUE(f.WaitForEnd());
    EXPECT_EQ(f.label, QStringLiteral("Success"));
    EXPECT_TRUE(f.scale.Problems().isEmpty()) << f.scale.Problems().join(QLatin1Char('\n')).toStdString();
    const std::vector<QStringList> received = f.scale.AcceptedRows();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], (QStringList{QStringLiteral("5"), QStringLiteral("0.2500"), QStringLiteral("A5"),
                                        QString::fromUtf8("螺丝 M6"), QStringLiteral("steel"),
                                        QStringLiteral("1.200000"), QStringLiteral("0.000000")}));
    EXPECT_EQ(received[1],
              (QStringList{QStringLiteral("1008"), QStringLiteral("1000.000"), QString(), QStringLiteral("Washers"),
                           QString(), QStringLiteral("2.500000"), QStringLiteral("-1.00000")}));

    // The port is free again: a second download works.
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    ASSERT_TRUE(f.WaitForEnd());
    EXPECT_EQ(f.label, QStringLiteral("Success"));
    EXPECT_EQ(f.scale.AcceptedRows().size(), 4u);
}

TEST(DownloadEndToEnd, RefusalAndSilenceEndInFail)
{
    for (const bool refuse : {true, false}) {
        SScaleOptions options;
        (refuse ? options.refuseRecord : options.silentRecord) = 2;
        SEndToEnd f(EPluMode::Pricing, ELimitMode::Off, options);
        f.session.SetAcknowledgementTimeoutMs(300);
        f.Type({{QStringLiteral("1"), QStringLiteral("2")}, {QStringLiteral("2"), QStringLiteral("3")}});
        ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
        ASSERT_TRUE(f.WaitForEnd());
        EXPECT_EQ(f.label, QStringLiteral("Fail!"));
        EXPECT_EQ(f.failedRow, 1) << refuse;
        EXPECT_EQ(f.scale.RecordsReceived(), 2);
    }
}

TEST(DownloadEndToEnd, PullingTheLineAwayFailsAtOnce)
{
    SScaleOptions options;
    options.disconnectAtRecord = 2;
    SEndToEnd f(EPluMode::Pricing, ELimitMode::Off, options);
    f.Type({{QStringLiteral("1"), QStringLiteral("2")},
            {QStringLiteral("2"), QStringLiteral("3")},
            {QStringLiteral("3"), QStringLiteral("4")}});
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    ASSERT_TRUE(f.WaitForEnd());
    EXPECT_EQ(f.label, QStringLiteral("Fail!"));
    EXPECT_EQ(f.failedRow, 1);
    EXPECT_TRUE(f.toolTip.contains(QStringLiteral("disconnected"))) << f.toolTip.toStdString();
    // The real time-out is 3 s; the hang-up is noticed long before it.
    EXPECT_LT(timer.elapsed(), 2000);
}

// A scale that answers record 1 a second time, 100 ms later, while row 2 cannot be sent: the stray answer must not
// carry the download past row 2, and the rejected row ends it at once.
TEST(DownloadEndToEnd, StrayAnswerDoesNotCarryTheDownloadPastARejectedRow)
{
    SScaleOptions options;
    options.answerTwiceRecord = 1;
    options.secondAnswerGapMs = 100;
    SEndToEnd f(EPluMode::Pricing, ELimitMode::Off, options);
    f.Type({{QStringLiteral("1"), QStringLiteral("2")},
            {QStringLiteral("2000"), QStringLiteral("3")},
            {QStringLiteral("3"), QStringLiteral("4")}});
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    ASSERT_TRUE(f.WaitForEnd());
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(f.label, QStringLiteral("Fail!"));
    EXPECT_EQ(f.failedRow, 1);
    EXPECT_TRUE(f.toolTip.contains(QStringLiteral("2000"))) << f.toolTip.toStdString();
    QTest::qWait(300); // the second answer has gone out meanwhile
    EXPECT_EQ(f.scale.RecordsReceived(), 1);
}

// Through a line that behaves as a serial device at 9600 baud: the second answer to record 1 comes 2 ms after the
// first, while record 2 is still crossing the line, and must not release row 3.
TEST(DownloadEndToEnd, OnASerialLineAnEchoedAnswerDoesNotReleaseTheNextRow)
{
    SScaleOptions options;
    options.paceBaud = 9600;
    options.answerTwiceRecord = 1;
    options.secondAnswerGapMs = 2;
    SEndToEnd f(EPluMode::Pricing, ELimitMode::Off, options);
    f.rig.line.TreatAsSerialDevice(true);
    f.Type({{QStringLiteral("1"), QStringLiteral("2")},
            {QStringLiteral("2"), QStringLiteral("3")},
            {QStringLiteral("3"), QStringLiteral("4")}});
    ASSERT_EQ(f.Start(9600), CDownloadSession::EStart::Started);
    ASSERT_TRUE(f.WaitForEnd());
    EXPECT_EQ(f.label, QStringLiteral("Success"));
    EXPECT_EQ(f.rig.answeredAtEnd, 3); // row 3 counted only once the scale had answered it
    EXPECT_EQ(f.scale.AcceptedRows().size(), 3u);
}

// How the scale's answers may arrive, each against a three-row table that must end in "Success" only once the
// scale has answered every record.
struct SBurstCase
{
    const char* name;
    void (*setUp)(SScaleOptions&);
};

class DownloadAnswerBursts : public ::testing::TestWithParam<SBurstCase>
{
};

TEST_P(DownloadAnswerBursts, CountOncePerRecord)
{
    SScaleOptions options;
    options.paceBaud = 115200;
    GetParam().setUp(options);
    SEndToEnd f(EPluMode::Pricing, ELimitMode::Off, options);
    f.Type({{QStringLiteral("1"), QStringLiteral("2")},
            {QStringLiteral("2"), QStringLiteral("3")},
            {QStringLiteral("3"), QStringLiteral("4")}});
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    ASSERT_TRUE(f.WaitForEnd());
    EXPECT_EQ(f.label, QStringLiteral("Success")) << f.toolTip.toStdString();
    EXPECT_EQ(f.rig.answeredAtEnd, 3);
    EXPECT_EQ(f.scale.AcceptedRows().size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Scale, DownloadAnswerBursts,
    ::testing::Values(
        SBurstCase{"StatusLineJustBeforeEachAnswer",
                   [](SScaleOptions& o) { o.garbageBeforeReply = QByteArrayLiteral("\x02ST,GS,+0.000kg\r\n"); }},
        SBurstCase{"BlankLineJustBeforeEachAnswer",
                   [](SScaleOptions& o) { o.garbageBeforeReply = QByteArrayLiteral("\r\n"); }},
        SBurstCase{"TwoAcknowledgementsInOneBurst",
                   [](SScaleOptions& o) {
                       o.answerTwiceRecord = 1;
                       o.secondAnswerGapMs = 0;
                   }},
        SBurstCase{"AnswerBytesEightyMillisecondsApart", [](SScaleOptions& o) { o.splitReplyGapMs = 80; }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
