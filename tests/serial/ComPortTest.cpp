#include "DeliveryLog.h"
#include "PtyPair.h"

#include "serial/CComPort.h"
#include "serial/CSerialException.h"

#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <sys/file.h>
#include <thread>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Portwire::CComPort;
using Portwire::IReceiver;

namespace {

constexpr int kBaud = 9600;

class ComPortTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_pty.IsValid()) << "no pseudo-terminal available"; }

    // Opens the port on the pty with the log attached.
    void OpenWithLog(CComPort& port, CDeliveryLog& log)
    {
        log.Attach(port);
        ASSERT_TRUE(port.Open(m_pty.SlavePath(), kBaud));
    }

    CPtyPair m_pty;
};

QByteArray EveryByteValue()
{
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes.append(char(value));
    return bytes;
}

// Sends the bytes one at a time with the pause between them. Returns whether every pause really made lay within
// [shortest, longest]: on a loaded machine a sleep can last much longer than asked.
bool SendSpaced(CPtyPair& pty, const QByteArray& bytes, std::chrono::milliseconds pause,
                std::chrono::milliseconds shortest, std::chrono::milliseconds longest)
{
    bool timingHeld = true;
    auto previous = Clock::now();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            std::this_thread::sleep_for(pause);
            const auto now = Clock::now();
            timingHeld = timingHeld && now - previous >= shortest && now - previous <= longest;
            previous = now;
        }
        if (!pty.Send(bytes.mid(i, 1)))
            return false;
    }
    return timingHeld;
}

// Whether a second connection can take the device, trying until the time is up.
bool DeviceBecomesFree(const QString& devicePath, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    do {
        CComPort other;
        if (other.Open(devicePath, kBaud))
            return true;
        std::this_thread::sleep_for(10ms);
    } while (Clock::now() < deadline);
    return false;
}

} // namespace

TEST_F(ComPortTest, ConfiguresTheLineForEveryBaudRate)
{
    for (const int baud : {4800, 9600, 19200, 38400, 56000, 57600, 115200}) {
        SCOPED_TRACE(baud);
        CComPort port;
        ASSERT_TRUE(port.Open(m_pty.SlavePath(), baud));
        SLineSettings line;
        ASSERT_TRUE(ReadLineSettings(m_pty.SlaveFd(), line));
        EXPECT_EQ(line.outputSpeed, unsigned(baud));
        EXPECT_EQ(line.inputSpeed, unsigned(baud));
        EXPECT_TRUE(line.eightDataBits);
        EXPECT_FALSE(line.parity);
        EXPECT_FALSE(line.twoStopBits);
        EXPECT_FALSE(line.hardwareFlowControl);
        EXPECT_FALSE(line.softwareFlowControl);
        EXPECT_FALSE(line.lineProcessing);
        EXPECT_FALSE(line.inputTranslation);
        EXPECT_FALSE(line.outputProcessing);
    }
}

TEST_F(ComPortTest, PassesEveryByteValueUnchangedBothWays)
{
    CComPort port;
    CDeliveryLog log;
    OpenWithLog(port, log);
    const QByteArray bytes = EveryByteValue();

    EXPECT_EQ(port.Write(bytes.constData(), int(bytes.size())), bytes.size());
    EXPECT_EQ(m_pty.Receive(int(bytes.size()), 5s), bytes);

    ASSERT_TRUE(m_pty.Send(bytes));
    ASSERT_TRUE(log.WaitForBytes(int(bytes.size())));
    EXPECT_EQ(log.AllBytes(), bytes);
    EXPECT_NE(log.CallbackThread(), std::this_thread::get_id());
    EXPECT_TRUE(m_pty.Receive(1, 100ms).isEmpty()) << "the line echoed received bytes";
}

TEST_F(ComPortTest, BytesTenMillisecondsApartArriveAsOneDelivery)
{
    CComPort port;
    CDeliveryLog log;
    OpenWithLog(port, log);
    bool grouped = false;
    for (int attempt = 0; attempt < 5 && !grouped; ++attempt) {
        log.Clear();
        const bool timingHeld = SendSpaced(m_pty, "SPOK\n", 10ms, 0ms, 20ms);
        ASSERT_TRUE(log.WaitForBytes(5));
        grouped = timingHeld && log.Deliveries() == QList<QByteArray>{"SPOK\n"};
    }
    EXPECT_TRUE(grouped) << "last attempt delivered " << log.Deliveries().size() << " parts";
}

TEST_F(ComPortTest, BytesFiftyMillisecondsApartArriveSeparately)
{
    CComPort port;
    CDeliveryLog log;
    OpenWithLog(port, log);
    bool separate = false;
    for (int attempt = 0; attempt < 5 && !separate; ++attempt) {
        log.Clear();
        const bool timingHeld = SendSpaced(m_pty, "abc", 50ms, 45ms, 1000ms);
        ASSERT_TRUE(log.WaitForBytes(3));
        separate = timingHeld && log.Deliveries() == QList<QByteArray>{"a", "b", "c"};
    }
    EXPECT_TRUE(separate) << "last attempt delivered " << log.Deliveries().size() << " parts";
}

TEST_F(ComPortTest, ALineIsHandedOverAtItsLineEndWithoutWaitingForTheQuietInterval)
{
    CComPort port;
    CDeliveryLog log;
    OpenWithLog(port, log);
    bool split = false;
    for (int attempt = 0; attempt < 5 && !split; ++attempt) {
        log.Clear();
        // Ten milliseconds apart: one burst, but the line before the pause ends with LF.
        ASSERT_TRUE(m_pty.Send("\x02SPOK\r\n"));
        std::this_thread::sleep_for(10ms);
        ASSERT_TRUE(m_pty.Send("ST"));
        ASSERT_TRUE(log.WaitForBytes(9));
        split = log.Deliveries() == QList<QByteArray>{"\x02SPOK\r\n", "ST"};
    }
    EXPECT_TRUE(split) << "last attempt delivered " << log.Deliveries().size() << " parts";
}

TEST_F(ComPortTest, LongBurstIsSplitAtTheBufferSize)
{
    CComPort port;
    CDeliveryLog log;
    OpenWithLog(port, log);
    QByteArray burst;
    for (int i = 0; i < 3000; ++i)
        burst.append(char('A' + i % 26));

    ASSERT_TRUE(m_pty.Send(burst));
    ASSERT_TRUE(log.WaitForBytes(3000));
    const QList<QByteArray> deliveries = log.Deliveries();
    ASSERT_EQ(deliveries.size(), 2);
    EXPECT_EQ(deliveries[0].size(), 2048);
    EXPECT_EQ(deliveries[1].size(), 952);
    EXPECT_EQ(log.AllBytes(), burst);
}

TEST_F(ComPortTest, CallbackRegisteredAfterOpenSeesOnlyLaterBytes)
{
    CComPort port;
    ASSERT_TRUE(port.Open(m_pty.SlavePath(), kBaud));
    ASSERT_TRUE(m_pty.Send("early"));
    // Time for the receive thread to read and drop the early bytes.
    std::this_thread::sleep_for(300ms);

    CDeliveryLog log;
    log.Attach(port);
    ASSERT_TRUE(m_pty.Send("late"));
    ASSERT_TRUE(log.WaitForBytes(4));
    EXPECT_EQ(log.AllBytes(), "late");
}

TEST_F(ComPortTest, UnregisteredCallbackIsNeverCalledAgain)
{
    CComPort port;
    ASSERT_TRUE(port.Open(m_pty.SlavePath(), kBaud));
    std::atomic<bool> sending{true};
    std::thread scale([&] {
        while (sending.load()) {
            m_pty.Send("0123456789");
            std::this_thread::sleep_for(1ms);
        }
    });

    // Registration races with deliveries; once it returns with no callback the log may go away.
    for (int round = 0; round < 20; ++round) {
        auto log = std::make_unique<CDeliveryLog>();
        port.SetReceiver(log.get());
        log->WaitForBytes(1, 1s);
        port.SetReceiver(nullptr);
        const int deliveries = int(log->Deliveries().size());
        std::this_thread::sleep_for(5ms);
        EXPECT_EQ(log->Deliveries().size(), deliveries);
    }
    sending.store(false);
    scale.join();
}

TEST_F(ComPortTest, SecondOpenOfTheSameDeviceFailsAndTheFirstKeepsWorking)
{
    CComPort first;
    CDeliveryLog log;
    OpenWithLog(first, log);

    CComPort second;
    EXPECT_FALSE(second.Open(m_pty.SlavePath(), kBaud));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.LastOpenError(), EBUSY);

    EXPECT_EQ(first.Write("PLU", 3), 3);
    EXPECT_EQ(m_pty.Receive(3, 5s), "PLU");
    ASSERT_TRUE(m_pty.Send("SPOK"));
    ASSERT_TRUE(log.WaitForBytes(4));
    EXPECT_EQ(log.AllBytes(), "SPOK");

    first.Close();
    EXPECT_TRUE(second.Open(m_pty.SlavePath(), kBaud));
}

TEST_F(ComPortTest, OpenOnAnOpenConnectionRefusesAndKeepsTheOpenOne)
{
    CPtyPair otherPty;
    ASSERT_TRUE(otherPty.IsValid());
    CComPort port;
    ASSERT_TRUE(port.Open(m_pty.SlavePath(), kBaud));

    EXPECT_FALSE(port.Open(otherPty.SlavePath(), kBaud));
    EXPECT_EQ(port.LastOpenError(), EALREADY);
    EXPECT_EQ(port.DevicePath(), m_pty.SlavePath());
    EXPECT_EQ(port.Write("x", 1), 1);
    EXPECT_EQ(m_pty.Receive(1, 5s), "x");
    EXPECT_TRUE(DeviceBecomesFree(otherPty.SlavePath(), 0ms)) << "the refused device was left held";
}

TEST_F(ComPortTest, MissingDeviceOrPortNumberReturnsFalseWithoutRaising)
{
    CComPort port;
    EXPECT_FALSE(port.Open(QStringLiteral("/dev/talvex-no-such-device"), kBaud));
    EXPECT_EQ(port.LastOpenError(), ENOENT);
    EXPECT_FALSE(port.Open(7, kBaud));
    EXPECT_EQ(port.LastOpenError(), ENOENT);
    EXPECT_FALSE(port.IsOpen());
    port.Close();
}

TEST_F(ComPortTest, PortNumberOpensItsEntryInThePortList)
{
    CPtyPair secondPty;
    ASSERT_TRUE(secondPty.IsValid());
    CComPort port;
    port.SetPorts({{QStringLiteral("first"), m_pty.SlavePath()}, {QStringLiteral("second"), secondPty.SlavePath()}});

    for (const int missing : {0, -1, 3})
        EXPECT_FALSE(port.Open(missing, kBaud)) << missing;
    ASSERT_TRUE(port.Open(2, kBaud));
    EXPECT_EQ(port.PortNumber(), 2);
    EXPECT_EQ(port.DevicePath(), secondPty.SlavePath());
    port.Write("2", 1);
    EXPECT_EQ(secondPty.Receive(1, 5s), "2");
}

TEST_F(ComPortTest, ConfigurationFailureRaisesAndReleasesTheDevice)
{
    QTemporaryFile notATerminal;
    ASSERT_TRUE(notATerminal.open());
    CComPort port;
    try {
        port.Open(notATerminal.fileName(), kBaud);
        FAIL() << "opening a plain file as a serial line did not raise";
    } catch (const CSerialException& error) {
        EXPECT_EQ(error.Error(), ENOTTY);
        EXPECT_FALSE(error.GetErrorMessage().isEmpty());
        EXPECT_TRUE(error.Description().contains(notATerminal.fileName()));
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(::flock(notATerminal.handle(), LOCK_EX | LOCK_NB), 0) << "the device is still locked";

    try {
        port.Open(m_pty.SlavePath(), 0);
        FAIL() << "baud rate 0 did not raise";
    } catch (const CSerialException& error) {
        EXPECT_EQ(error.Error(), EINVAL);
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.Open(m_pty.SlavePath(), kBaud));
}

TEST_F(ComPortTest, WriteOnAClosedConnectionRaises)
{
    CComPort port;
    EXPECT_THROW(port.Write("x", 1), CSerialException);
    ASSERT_TRUE(port.Open(m_pty.SlavePath(), kBaud));
    port.Close();
    EXPECT_THROW(port.Write("x", 1), CSerialException);
}

TEST_F(ComPortTest, CloseIsHarmlessWhenClosedAndReleasesTheDevice)
{
    CComPort port;
    port.Close();
    ASSERT_TRUE(port.Open(m_pty.SlavePath(), kBaud));
    port.Close();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(DeviceBecomesFree(m_pty.SlavePath(), 0ms));
    {
        CComPort scoped;
        ASSERT_TRUE(scoped.Open(m_pty.SlavePath(), kBaud));
    }
    EXPECT_TRUE(DeviceBecomesFree(m_pty.SlavePath(), 0ms)) << "the destructor did not close";
}

TEST_F(ComPortTest, CloseReturnsQuicklyWhileBytesStreamIn)
{
    CComPort port;
    CDeliveryLog log;
    OpenWithLog(port, log);
    std::atomic<bool> sending{true};
    std::thread scale([&] {
        while (sending.load()) {
            m_pty.Send(QByteArray(64, 'z'));
            std::this_thread::sleep_for(1ms);
        }
    });
    ASSERT_TRUE(log.WaitForBytes(1000));

    const auto started = Clock::now();
    port.Close();
    port.Close();
    const auto took = Clock::now() - started;
    const int deliveriesAtClose = int(log.Deliveries().size());
    std::this_thread::sleep_for(100ms);
    sending.store(false);
    scale.join();

    EXPECT_LT(took, 2s);
    EXPECT_EQ(log.Deliveries().size(), deliveriesAtClose) << "a callback came after Close";
}

TEST_F(ComPortTest, HangUpOfTheOtherSideEndsTheThreadAndReportsTheLoss)
{
    CComPort port;
    CDeliveryLog log;
    OpenWithLog(port, log);
    ASSERT_TRUE(m_pty.Send("SP"));
    ASSERT_TRUE(log.WaitForBytes(2));

    m_pty.CloseMaster();
    ASSERT_TRUE(log.WaitForLost());
    EXPECT_EQ(log.LostReports(), 1);
    EXPECT_TRUE(log.LostReportedLast());
    EXPECT_TRUE(port.IsOpen()) << "the owner closes; the thread only reports";
    EXPECT_THROW(port.Write("x", 1), CSerialException);

    const auto started = Clock::now();
    port.Close();
    EXPECT_LT(Clock::now() - started, 2s);
    EXPECT_EQ(log.LostReports(), 1);
}

TEST_F(ComPortTest, CallbackCanAnswerThroughTheConnection)
{
    struct SEcho : IReceiver
    {
        explicit SEcho(CComPort& port)
            : port(port)
        {
        }
        CComPort& port;
        void OnReceive(const char* bytes, int count) override { port.Write(bytes, count); }
        void OnConnectionLost() override {}
    };
    CComPort port;
    SEcho echo(port);
    port.SetReceiver(&echo);
    ASSERT_TRUE(port.Open(m_pty.SlavePath(), kBaud));

    ASSERT_TRUE(m_pty.Send("SPOK\r\n"));
    EXPECT_EQ(m_pty.Receive(6, 5s), "SPOK\r\n");
    port.Close(); // before the receiver goes
}

TEST_F(ComPortTest, FailingCallbackDoesNotEndTheReceiveThread)
{
    struct SThrowOnce : CDeliveryLog
    {
        std::atomic<bool> thrown{false};
        void OnReceive(const char* bytes, int count) override
        {
            if (!thrown.exchange(true))
                throw CSerialException(EIO, QStringLiteral("write"), QString());
            CDeliveryLog::OnReceive(bytes, count);
        }
    };
    CComPort port;
    SThrowOnce callback;
    port.SetReceiver(&callback);
    ASSERT_TRUE(port.Open(m_pty.SlavePath(), kBaud));

    ASSERT_TRUE(m_pty.Send("first"));
    // The second burst must come after the first was delivered, so that the two stay apart.
    const auto deadline = Clock::now() + 5s;
    while (!callback.thrown.load() && Clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(m_pty.Send("second"));
    ASSERT_TRUE(callback.WaitForBytes(6));
    EXPECT_EQ(callback.AllBytes(), "second");
    port.Close(); // before the receiver goes
}

TEST_F(ComPortTest, CloseFromInsideTheCallbackDoesNotDeadlock)
{
    struct SCloseOnReceive : IReceiver
    {
        explicit SCloseOnReceive(CComPort& port)
            : port(port)
        {
        }
        CComPort& port;
        std::atomic<int> calls{0};
        void OnReceive(const char*, int) override
        {
            ++calls;
            port.Close();
        }
        void OnConnectionLost() override {}
    };
    CComPort port;
    SCloseOnReceive callback(port);
    port.SetReceiver(&callback);
    ASSERT_TRUE(port.Open(m_pty.SlavePath(), kBaud));

    ASSERT_TRUE(m_pty.Send("SPOK"));
    const auto deadline = Clock::now() + 5s;
    while (callback.calls.load() == 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(callback.calls.load(), 1);
    EXPECT_TRUE(DeviceBecomesFree(m_pty.SlavePath(), 5s));
    EXPECT_FALSE(port.IsOpen());
    m_pty.Send("more");
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(callback.calls.load(), 1);
}

TEST_F(ComPortTest, CloseWaitsForTheDeliveryInProgressAndJoinsTheThread)
{
    // A receiver that takes its time: Close must neither cut it short nor leave the thread behind.
    struct SSlow : IReceiver
    {
        std::atomic<bool> entered{false};
        std::atomic<bool> returned{false};
        std::atomic<int> calls{0};
        void OnReceive(const char*, int) override
        {
            ++calls;
            entered.store(true);
            std::this_thread::sleep_for(200ms);
            returned.store(true);
        }
        void OnConnectionLost() override {}
    };
    SSlow slow;
    CComPort port;
    port.SetReceiver(&slow);
    ASSERT_TRUE(port.Open(m_pty.SlavePath(), kBaud));
    ASSERT_TRUE(m_pty.Send("SPOK"));
    const auto deadline = Clock::now() + 5s;
    while (!slow.entered.load() && Clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(slow.entered.load());

    port.Close();
    EXPECT_TRUE(slow.returned.load());
    EXPECT_FALSE(port.IsOpen());
    // Joined: the device is free at once, and nothing is delivered any more.
    CComPort other;
    EXPECT_TRUE(other.Open(m_pty.SlavePath(), kBaud));
    other.Close();
    m_pty.Send("more");
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(slow.calls.load(), 1);
}
