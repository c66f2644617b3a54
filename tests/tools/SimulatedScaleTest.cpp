#include "tools/CSimulatedScale.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The counting record of PLU 5, 0.25, A5, "Bolts M6", "steel", without limits.
const QByteArray kCountingRecord = QByteArray::fromHex("025350303030352020302e3235303041"
                                                       "3500000000000000000000426f6c7473"
                                                       "204d3600000000000000000000000000"
                                                       "0000000000000000000000737465656c"
                                                       "00000000000000000000000d0a");

// The program's side of the line, opened the way a serial port is.
class CLine
{
public:
    explicit CLine(const QString& path)
        : m_fd(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY))
    {
        termios settings{};
        if (m_fd >= 0 && tcgetattr(m_fd, &settings) == 0) {
            cfmakeraw(&settings);
            tcsetattr(m_fd, TCSANOW, &settings);
        }
    }
    ~CLine()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool IsOpen() const { return m_fd >= 0; }
    void Send(const QByteArray& bytes)
    {
        ASSERT_EQ(::write(m_fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    }

    // Reads until LF or the time-out; what came.
    QByteArray ReadLine(int timeoutMs = 3000)
    {
        QByteArray line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!line.endsWith('\n')) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                    .count();
            if (left <= 0)
                break;
            pollfd fd{m_fd, POLLIN, 0};
            if (::poll(&fd, 1, int(left)) <= 0)
                break;
            if (fd.revents & (POLLHUP | POLLERR))
                break;
            char byte = 0;
            if (::read(m_fd, &byte, 1) != 1)
                break;
            line.append(byte);
        }
        return line;
    }

private:
    int m_fd;
};

TEST(SimulatedScale, AcknowledgesAWellFormedRecordAndKeepsItsRow)
{
    QTemporaryDir dir;
    SScaleOptions options;
    options.csvPath = dir.filePath(QStringLiteral("scale.csv"));
    CSimulatedScale scale(options);
    ASSERT_TRUE(scale.Start());
    CLine line(scale.DevicePath());
    ASSERT_TRUE(line.IsOpen());

    line.Send(QByteArrayLiteral("noise") + kCountingRecord);
    EXPECT_EQ(line.ReadLine(), QByteArrayLiteral("\x02SPOK\r\n"));
    ASSERT_EQ(scale.AcceptedRows().size(), 1u);
    EXPECT_EQ(scale.AcceptedRows().front(),
              (QStringList{QStringLiteral("5"), QStringLiteral("0.2500"), QStringLiteral("A5"),
                           QStringLiteral("Bolts M6"), QStringLiteral("steel")}));
    scale.Stop();
    QFile csv(options.csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), QByteArrayLiteral("PLU No.,Unit weight,Goods Id,Goods Name,Specification\r\n"
                                               "5,0.2500,A5,Bolts M6,steel\r\n"));
}

TEST(SimulatedScale, RefusesMalformedAndChosenRecords)
{
    SScaleOptions options;
    options.refuseRecord = 2;
    CSimulatedScale scale(options);
    ASSERT_TRUE(scale.Start());
    CLine line(scale.DevicePath());

    QByteArray broken = kCountingRecord;
    broken[76] = 'X'; // no LF at the end
    line.Send(broken);
    EXPECT_EQ(line.ReadLine(), QByteArrayLiteral("\x02SPNG\r\n"));
    line.Send(kCountingRecord);
    EXPECT_EQ(line.ReadLine(), QByteArrayLiteral("\x02SPNG\r\n"));
    line.Send(kCountingRecord);
    EXPECT_EQ(line.ReadLine(), QByteArrayLiteral("\x02SPOK\r\n"));
    EXPECT_EQ(scale.RecordsReceived(), 3);
    EXPECT_EQ(scale.AcceptedRows().size(), 1u);
    EXPECT_EQ(scale.Problems().size(), 1);
}

TEST(SimulatedScale, StaysSilentWhenTold)
{
    SScaleOptions options;
    options.silentRecord = 1;
    CSimulatedScale scale(options);
    ASSERT_TRUE(scale.Start());
    CLine line(scale.DevicePath());
    line.Send(kCountingRecord);
    EXPECT_TRUE(scale.WaitForRecords(1, 3000));
    EXPECT_EQ(line.ReadLine(300), QByteArray());
    line.Send(kCountingRecord);
    EXPECT_EQ(line.ReadLine(), QByteArrayLiteral("\x02SPOK\r\n"));
}

TEST(SimulatedScale, VanishingHangsUpTheLine)
{
    SScaleOptions options;
    options.disconnectAtRecord = 1;
    CSimulatedScale scale(options);
    ASSERT_TRUE(scale.Start());
    CLine line(scale.DevicePath());
    line.Send(kCountingRecord);
    EXPECT_TRUE(scale.WaitForRecords(1, 3000));
    EXPECT_EQ(line.ReadLine(3000), QByteArray()); // hang-up, no answer
}

// At 9600 baud a byte takes 10 bits of 1/9600 s. The answer comes once the record and then the answer itself
// could have crossed the line, and not a great deal later; a record that follows at once crosses after the first.
TEST(SimulatedScale, PacedAnswersComeWhenTheLineWouldHaveCarriedThem)
{
    using namespace std::chrono;
    const auto lineTime = [](qsizetype bytes) { return microseconds(bytes * 10 * 1000000 / 9600); };
    const QByteArray answer = QByteArrayLiteral("\x02SPOK\r\n");
    constexpr milliseconds kSlack{20}; // for a busy machine; counting the record twice would be 80 ms
    SScaleOptions options;
    options.paceBaud = 9600;
    CSimulatedScale scale(options);
    ASSERT_TRUE(scale.Start());
    CLine line(scale.DevicePath());
    const auto sent = steady_clock::now();
    line.Send(kCountingRecord + kCountingRecord);
    EXPECT_EQ(line.ReadLine(), answer);
    const auto first = steady_clock::now() - sent;
    EXPECT_EQ(line.ReadLine(), answer);
    const auto second = steady_clock::now() - sent;

    const auto firstDue = lineTime(kCountingRecord.size()) + lineTime(answer.size());
    EXPECT_GE(first, firstDue);
    EXPECT_LT(first, firstDue + kSlack);
    const auto secondDue = 2 * lineTime(kCountingRecord.size()) + lineTime(answer.size());
    EXPECT_GE(second, secondDue);
    EXPECT_LT(second, secondDue + kSlack);
}

TEST(SimulatedScale, StopsPromptlyWhileIdleOrPacing)
{
    SScaleOptions options;
    options.paceBaud = 300; // a record would take over two seconds
    CSimulatedScale scale(options);
    ASSERT_TRUE(scale.Start());
    CLine line(scale.DevicePath());
    line.Send(kCountingRecord);
    ASSERT_TRUE(scale.WaitForRecords(1, 3000));
    const auto before = std::chrono::steady_clock::now();
    scale.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
}

} // namespace
