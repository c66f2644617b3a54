#include "PtyPair.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

CPtyPair::CPtyPair()
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    termios raw{};
    ::tcgetattr(m_slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slave, TCSANOW, &raw);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name);
}

CPtyPair::~CPtyPair()
{
    CloseMaster();
    if (m_slave >= 0)
        ::close(m_slave);
}

bool CPtyPair::Send(const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + sent, size_t(bytes.size() - sent));
        if (n > 0) {
            sent += n;
        } else if (n < 0 && errno == EAGAIN) {
            pollfd room{m_master, POLLOUT, 0};
            if (::poll(&room, 1, 5000) <= 0)
                return false;
        } else if (!(n < 0 && errno == EINTR)) {
            return false;
        }
    }
    return true;
}

QByteArray CPtyPair::Receive(int count, std::chrono::milliseconds timeout)
{
    QByteArray received;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (received.size() < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd data{m_master, POLLIN, 0};
        if (::poll(&data, 1, int(left.count())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0)
            received.append(buffer, n);
        else if (!(n < 0 && (errno == EAGAIN || errno == EINTR)))
            break;
    }
    return received;
}

void CPtyPair::CloseMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
