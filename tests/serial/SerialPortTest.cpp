#include "PtyPair.h"

#include "serial/CSerialException.h"
#include "serial/CSerialPort.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace std::chrono_literals;

TEST(SerialPort, WriteThatCannotProceedRaisesInsteadOfHanging)
{
    CPtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty.SlavePath(), 9600));
    port.SetWriteStallLimit(200ms);
    // Nobody reads the other side, so the queue fills and stays full.
    const QByteArray block(64 * 1024, 'x');
    try {
        for (int i = 0; i < 64; ++i)
            port.Write(block.constData(), int(block.size()));
        FAIL() << "4 MiB were queued on a line nobody reads";
    } catch (const CSerialException& error) {
        EXPECT_EQ(error.Error(), ETIMEDOUT);
    }
}

TEST(SerialPort, WriteAfterHangUpRaises)
{
    CPtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty.SlavePath(), 9600));
    pty.CloseMaster();
    try {
        port.Write("x", 1);
        FAIL() << "a write to a hung-up line succeeded";
    } catch (const CSerialException& error) {
        EXPECT_EQ(error.Error(), EIO);
        EXPECT_EQ(error.DevicePath(), pty.SlavePath());
    }
}
