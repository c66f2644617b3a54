#include "download/ScaleLineFixture.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// 10,000 records in one download, with the receive thread and the session's timers running all along;
// it carries the label "soak".
TEST(DownloadSoak, TenThousandRecordsInOneDownload)
{
    constexpr int kRows = 10000;
    SScaleLineFixture f(EPluMode::Pricing, ELimitMode::Off);
    f.Fill(kRows);
    const int threadsBefore = ThreadCount();
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(f.Start(), CDownloadSession::EStart::Started);
    ASSERT_TRUE(f.WaitForEnd(kRows * 200));
    std::printf("%d records in %.1f s\n", kRows, double(timer.elapsed()) / 1000);
    EXPECT_EQ(f.label, QStringLiteral("Success"));
    EXPECT_EQ(int(f.scale.AcceptedRows().size()), kRows);
    EXPECT_TRUE(f.scale.Problems().isEmpty());
    EXPECT_FALSE(f.port.IsOpen());
    EXPECT_EQ(ThreadCount(), threadsBefore);
}

} // namespace
