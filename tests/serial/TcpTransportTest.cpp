// A serial device server's raw TCP connection used as the scale's line, on the loopback address only.

#include "DeliveryLog.h"

#include "serial/CComPort.h"
#include "serial/CSerialException.h"
#include "serial/PortOpenFailure.h"
#include "serial/TcpTransport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using Portwire::CComPort;
using namespace std::chrono_literals;

namespace {

std::string Text(const QString& text)
{
    return text.toStdString();
}

// A device server on 127.0.0.1 with a port the system chose.
class CLoopbackServer
{
public:
    CLoopbackServer()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) == 0 && ::listen(m_listener, 1) == 0 &&
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~CLoopbackServer()
    {
        CloseClient();
        CloseListener();
    }

    QString Address() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(m_port); }
    bool IsValid() const { return m_port != 0; }
    bool Accept()
    {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 5000) != 1)
            return false;
        m_client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        return m_client >= 0;
    }
    bool Send(const QByteArray& bytes)
    {
        return ::write(m_client, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    QByteArray Receive(int count)
    {
        QByteArray received;
        while (received.size() < count) {
            pollfd waiting{m_client, POLLIN, 0};
            if (::poll(&waiting, 1, 5000) != 1)
                break;
            char buffer[256];
            const ssize_t n = ::read(m_client, buffer, sizeof buffer);
            if (n <= 0)
                break;
            received.append(buffer, int(n));
        }
        return received;
    }
    void CloseClient()
    {
        if (m_client >= 0)
            ::close(m_client);
        m_client = -1;
    }
    void CloseListener()
    {
        if (m_listener >= 0)
            ::close(m_listener);
        m_listener = -1;
    }

private:
    int m_listener = -1;
    int m_client = -1;
    quint16 m_port = 0;
};

TEST(TcpTransport, AddressesOfTheFormHostAndPort)
{
    const struct
    {
        const char* address;
        bool valid;
        const char* host;
        quint16 port;
    } cases[] = {
        {"tcp://127.0.0.1:4001", true, "127.0.0.1", 4001},
        {"TCP://scale-server.local:23", true, "scale-server.local", 23},
        {"tcp://[::1]:4001", true, "::1", 4001},
        {"tcp://127.0.0.1", false, "", 0},
        {"tcp://127.0.0.1:0", false, "", 0},
        {"tcp://127.0.0.1:70000", false, "", 0},
        {"tcp://:4001", false, "", 0},
        {"tcp://127.0.0.1:4001/ttyS0", false, "", 0},
        {"/dev/ttyUSB0", false, "", 0},
    };
    for (const auto& c : cases) {
        QString host;
        quint16 port = 0;
        EXPECT_EQ(TcpTransport::ParseAddress(QLatin1String(c.address), &host, &port), c.valid) << c.address;
        if (c.valid) {
            EXPECT_EQ(Text(host), c.host) << c.address;
            EXPECT_EQ(port, c.port) << c.address;
        }
    }
}

TEST(TcpTransport, RecordsGoOutAndAnswersComeInLikeOnASerialDevice)
{
    CLoopbackServer server;
    ASSERT_TRUE(server.IsValid());
    CComPort port;
    CDeliveryLog log;
    log.Attach(port);
    ASSERT_TRUE(port.Open(server.Address(), 9600)) << Text(PortOpenFailure::Message(port.LastOpenFailure()));
    ASSERT_TRUE(server.Accept());

    EXPECT_EQ(port.Write("\x02record\r\n", 9), 9);
    EXPECT_EQ(server.Receive(9), QByteArray("\x02record\r\n"));
    ASSERT_TRUE(server.Send("\x02SPOK\r\n"));
    ASSERT_TRUE(log.WaitForBytes(7));
    EXPECT_EQ(log.AllBytes(), QByteArray("\x02SPOK\r\n"));
    EXPECT_EQ(log.LostReports(), 0);
    port.Close();
}

TEST(TcpTransport, ADroppedConnectionIsReportedAndAWriteFailsWithoutEndingTheProcess)
{
    CLoopbackServer server;
    ASSERT_TRUE(server.IsValid());
    CComPort port;
    CDeliveryLog log;
    log.Attach(port);
    ASSERT_TRUE(port.Open(server.Address(), 9600));
    ASSERT_TRUE(server.Accept());

    server.CloseClient();
    EXPECT_TRUE(log.WaitForLost());
    // The first write after the drop may still be taken by the system; a later one must fail with an error.
    bool raised = false;
    for (int attempt = 0; attempt < 50 && !raised; ++attempt) {
        try {
            port.Write("\x02record\r\n", 9);
            std::this_thread::sleep_for(10ms);
        } catch (const CSerialException& exception) {
            raised = true;
            EXPECT_TRUE(exception.Error() == EPIPE || exception.Error() == ECONNRESET) << exception.what();
        }
    }
    EXPECT_TRUE(raised);
    port.Close();
}

TEST(TcpTransport, AClosedPortIsRefusedWithTheClearMessage)
{
    QString address;
    {
        CLoopbackServer server;
        ASSERT_TRUE(server.IsValid());
        address = server.Address();
    }
    CComPort port;
    EXPECT_FALSE(port.Open(address, 9600));
    EXPECT_EQ(port.LastOpenError(), ECONNREFUSED);
    EXPECT_EQ(Text(PortOpenFailure::Message(port.LastOpenFailure())),
              Text(QStringLiteral("Cannot connect to %1: the connection was refused. Check that the device server is "
                                  "on and that the port number is right.")
                       .arg(address)));
}

} // namespace
