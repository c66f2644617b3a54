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
    EXPECT_EQ(received[1], (QStringList{QStringLiteral("1008"), QStringLiteral("1000.000"), QString(),
                                        QStringLiteral("Washers"), QString(), QStringLiteral("2.500000"),
                                        QStringLiteral("-1.00000")}));

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

} // namespace
