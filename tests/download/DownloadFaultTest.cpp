#include "download/ScaleLineFixture.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

// A scale that misbehaves in one way, and what the download must then show.
struct SFaultCase
{
    std::string name;
    SScaleOptions faults;
    int rows;         // complete rows in the table
    bool realTimeout; // the scale's own 3 s limit, for answers that come close to it
    bool success;
    int failedRow;          // when not successful
    const char* toolTipHas; // when not successful
};

void PrintTo(const SFaultCase& c, std::ostream* out)
{
    *out << c.name;
}

// Noise without a line end: it lands in the answer's line buffer and is thrown away by the STX.
const QByteArray kNoise = QByteArrayLiteral("\xff\x00\x15 SPNG \x7f\r noise noise noise noise noise");

std::vector<SFaultCase> FaultCases()
{
    std::vector<SFaultCase> cases;
    const auto add = [&cases](std::string name, auto setUp, int rows, bool realTimeout, bool success, int failedRow,
                              const char* toolTipHas) {
        SScaleOptions faults;
        setUp(faults);
        cases.push_back({std::move(name), faults, rows, realTimeout, success, failedRow, toolTipHas});
    };
    add(
        "NoiseBeforeEachAnswer", [](SScaleOptions& o) { o.garbageBeforeReply = kNoise; }, 4, false, true, -1, "");
    // A line of its own that does not start with "SP" is passed over; the pause keeps it a delivery of its own.
    add(
        "ForeignLinesBetweenAnswers",
        [](SScaleOptions& o) {
            o.garbageBeforeReply = QByteArrayLiteral("\x02NAK 17\r\n");
            o.garbageGapMs = 300;
        },
        3, false, true, -1, "");
    add(
        "AnswerSplitByteByByte", [](SScaleOptions& o) { o.splitReplyGapMs = 20; }, 3, false, true, -1, "");
    add(
        "AnswerJustInTime", [](SScaleOptions& o) { o.replyDelayMs = 2900; }, 1, true, true, -1, "");
    add(
        "AnswerTooLate", [](SScaleOptions& o) { o.replyDelayMs = 3100; }, 1, true, false, 0,
        "No answer from the scale for row 1 within 3 s");
    add(
        "ScaleStopsAnswering", [](SScaleOptions& o) { o.silentFrom = 3; }, 4, true, false, 2,
        "No answer from the scale for row 3");
    add(
        "RefusalAtTheLastRow", [](SScaleOptions& o) { o.refuseRecord = 5; }, 5, false, false, 4,
        "The scale refused row 5");
    add(
        "DeviceVanishesMidRecord", [](SScaleOptions& o) { o.disconnectMidRecord = 2; }, 3, false, false, 1,
        "disconnected while row 2");
    return cases;
}

class DownloadFault : public ::testing::TestWithParam<SFaultCase>
{
};

TEST_P(DownloadFault, EndsAsPromisedAndLeavesTheLineReady)
{
    const SFaultCase& c = GetParam();
    SScaleLineFixture f(EPluMode::Pricing, ELimitMode::Off, c.faults);
    if (!c.realTimeout)
        f.session.SetAcknowledgementTimeoutMs(1500);
    f.Fill(c.rows);
    const int threadsBefore = ThreadCount();

    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    ASSERT_TRUE(f.WaitForEnd(20000));
    EXPECT_EQ(f.label, c.success ? QStringLiteral("Success") : QStringLiteral("Fail!"));
    EXPECT_EQ(f.failedRow, c.success ? -1 : c.failedRow);
    if (!c.success) {
        EXPECT_TRUE(f.toolTip.contains(QString::fromUtf8(c.toolTipHas))) << f.toolTip.toStdString();
    }
    EXPECT_FALSE(f.port.IsOpen());
    EXPECT_TRUE(f.scale.Problems().isEmpty()) << f.scale.Problems().join(QLatin1Char('\n')).toStdString();
    if (c.success) {
        EXPECT_EQ(int(f.scale.AcceptedRows().size()), c.rows);
    }

    // The receive thread is gone with the port; a scale that vanished took its own thread along.
    const bool vanished = c.faults.disconnectMidRecord > 0;
    if (vanished)
        f.scale.Stop();
    EXPECT_EQ(ThreadCount(), threadsBefore - (vanished ? 1 : 0));

    // A late answer still on its way is sent before the next download opens the line, which drops it.
    QTest::qWait(400);
    const size_t acceptedBefore = f.scale.AcceptedRows().size();
    if (vanished)
        f.ReplaceScale(SScaleOptions());
    else
        f.scale.SetOptions(SScaleOptions());
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    ASSERT_TRUE(f.WaitForEnd(20000));
    EXPECT_EQ(f.label, QStringLiteral("Success"));
    EXPECT_EQ(f.scale.AcceptedRows().size(), acceptedBefore + size_t(c.rows));
    EXPECT_FALSE(f.port.IsOpen());
    EXPECT_EQ(ThreadCount(), threadsBefore);
}

INSTANTIATE_TEST_SUITE_P(Scale, DownloadFault, ::testing::ValuesIn(FaultCases()),
                         [](const ::testing::TestParamInfo<SFaultCase>& info) { return info.param.name; });

// A whole table of 1,008 rows, the most the scale holds: the label counts up to 99% and ends in
// "Success", and every row arrives once, in order.
TEST(DownloadFault, AFullTableArrivesWhole)
{
    constexpr int kRows = 1008;
    SScaleLineFixture f(EPluMode::Counting, ELimitMode::Off);
    f.Fill(kRows);
    const int threadsBefore = ThreadCount();
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    ASSERT_TRUE(f.WaitForEnd(kRows * 200));
    EXPECT_EQ(f.label, QStringLiteral("Success"));
    const std::vector<QStringList> rows = f.scale.AcceptedRows();
    ASSERT_EQ(int(rows.size()), kRows);
    for (int row = 0; row < kRows; ++row)
        ASSERT_EQ(rows[size_t(row)].value(0), QString::number(row + 1)) << row;
    const QStringList& labels = f.rig.labels;
    ASSERT_GE(labels.size(), 3);
    EXPECT_EQ(labels.front(), QStringLiteral(" 0%"));
    EXPECT_EQ(labels[labels.size() - 2], QStringLiteral("99%"));
    EXPECT_FALSE(f.port.IsOpen());
    EXPECT_EQ(ThreadCount(), threadsBefore);
}

} // namespace
