#include "serial/TcpTransport.h"

#include "app/StringTable.h"

#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace TcpTransport {

namespace {

// Waits for a non-blocking connect to end; returns 0 or the errno.
int FinishConnect(int fd, std::chrono::milliseconds timeout)
{
    pollfd connecting{fd, POLLOUT, 0};
    int ready = 0;
    do {
        ready = ::poll(&connecting, 1, int(timeout.count()));
    } while (ready < 0 && errno == EINTR);
    if (ready < 0)
        return errno;
    if (ready == 0)
        return ETIMEDOUT;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}

int ConnectOne(const addrinfo& address, std::chrono::milliseconds timeout, int* error)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    int result = 0;
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0)
        result = (errno == EINPROGRESS) ? FinishConnect(fd, timeout) : errno;
    if (result != 0) {
        ::close(fd);
        *error = result;
        return -1;
    }
    // A record is small and the scale waits for it whole: no coalescing delay.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

} // namespace

bool IsTcpAddress(const QString& device)
{
    return device.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive);
}

bool ParseAddress(const QString& device, QString* host, quint16* port)
{
    if (!IsTcpAddress(device))
        return false;
    const QUrl url(device, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || url.port() <= 0 || !url.path().isEmpty() || url.hasQuery() ||
        url.hasFragment() || !url.userInfo().isEmpty())
        return false;
    if (host)
        *host = url.host();
    if (port)
        *port = quint16(url.port());
    return true;
}

SConnection Connect(const QString& device, std::chrono::milliseconds timeout)
{
    SConnection connection;
    QString host;
    quint16 port = 0;
    if (!ParseAddress(device, &host, &port)) {
        connection.error = EINVAL;
        connection.reason = MessageString(StringId::AddressNotTcp);
        return connection;
    }
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* addresses = nullptr;
    const int resolved =
        ::getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &addresses);
    if (resolved != 0) {
        connection.error = (resolved == EAI_SYSTEM) ? errno : EHOSTUNREACH;
        connection.reason =
            MessageString(StringId::HostNotResolved).arg(host, QString::fromLocal8Bit(::gai_strerror(resolved)));
        return connection;
    }
    connection.error = EHOSTUNREACH;
    for (const addrinfo* address = addresses; address; address = address->ai_next) {
        connection.fd = ConnectOne(*address, timeout, &connection.error);
        if (connection.fd >= 0) {
            connection.error = 0;
            break;
        }
    }
    ::freeaddrinfo(addresses);
    return connection;
}

} // namespace TcpTransport
