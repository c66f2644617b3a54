#include "serial/CSerialPort.h"

#include "app/StringTable.h"
#include "serial/CSerialException.h"
#include "serial/TcpTransport.h"

#include <QFile>

// termios2 and BOTHER come from the kernel's own header, which cannot share a translation unit with <termios.h>;
// this file therefore talks to the line discipline through ioctl only.
#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// The speed code for rates that have one; other rates (56000 among them) are set as a number with BOTHER.
tcflag_t SpeedCode(int baudRate)
{
    struct SSpeed
    {
        int rate;
        tcflag_t code;
    };
    static constexpr SSpeed kSpeeds[] = {
        {1200, B1200},   {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
        {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
    };
    for (const SSpeed& speed : kSpeeds) {
        if (speed.rate == baudRate)
            return speed.code;
    }
    return BOTHER;
}

void MakeRawLine(termios2& line, int baudRate)
{
    line.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    line.c_oflag &= ~tcflag_t(OPOST);
    line.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag &= ~tcflag_t(CSIZE | PARENB | CSTOPB | CRTSCTS | CBAUD | CIBAUD);
    // CLOCAL: the scale's cable may carry no carrier-detect line, and the line must work without it.
    line.c_cflag |= tcflag_t(CS8 | CREAD | CLOCAL) | SpeedCode(baudRate);
    // With the input speed field left at zero the driver uses the output speed for both directions.
    line.c_ispeed = speed_t(baudRate);
    line.c_ospeed = speed_t(baudRate);
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
}

// The device numbers of pseudo-terminals' program sides: Unix 98 ones (/dev/pts/N) and the old BSD ones.
bool IsPseudoTerminalDevice(int fd)
{
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode))
        return false;
    const unsigned kind = major(status.st_rdev);
    constexpr unsigned kUnix98First = 136;
    constexpr unsigned kUnix98Last = 143;
    constexpr unsigned kBsdSlave = 3;
    return (kind >= kUnix98First && kind <= kUnix98Last) || kind == kBsdSlave;
}

} // namespace

CSerialPort::~CSerialPort()
{
    Close();
}

bool CSerialPort::Open(const QString& devicePath, int baudRate)
{
    Close();
    m_lastOpenFailure = {};
    if (TcpTransport::IsTcpAddress(devicePath))
        return ConnectServer(devicePath);
    return OpenDevice(devicePath, baudRate);
}

bool CSerialPort::OpenDevice(const QString& devicePath, int baudRate)
{
    const QByteArray path = QFile::encodeName(devicePath);
    const int flags = O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    const int fd =
        m_environment.openDevice ? m_environment.openDevice(path.constData(), flags) : ::open(path.constData(), flags);
    if (fd < 0)
        return RefuseOpen(PortOpenFailure::Examine(devicePath, errno, m_environment));
    // A second open of the device, by this or another process, must fail. The lock catches users that bypass
    // TIOCEXCL (root does); TIOCEXCL catches programs that do not lock.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = (errno == EWOULDBLOCK) ? EBUSY : errno;
        ::close(fd);
        return RefuseOpen(PortOpenFailure::Examine(devicePath, error, m_environment));
    }
    // Programs that neither lock nor take the device exclusively (a terminal, a script, ModemManager probing it)
    // would read the scale's answers too.
    SPortOpenFailure held = PortOpenFailure::CheckNotHeldElsewhere(fd, devicePath, m_environment);
    if (held.IsFailure()) {
        ::close(fd);
        return RefuseOpen(std::move(held));
    }
    m_fd = fd;
    m_isSocket = false;
    m_devicePath = devicePath;
    m_baudRate = baudRate;
    m_pseudoTerminal = IsPseudoTerminalDevice(fd);
    if (::ioctl(m_fd, TIOCEXCL) != 0)
        Raise(errno, MessageString(StringId::SerialTakeExclusive));
    Configure(baudRate);
    AskForLowLatency();
    return true;
}

bool CSerialPort::ConnectServer(const QString& address)
{
    const TcpTransport::SConnection connection = TcpTransport::Connect(address);
    if (connection.fd < 0) {
        SPortOpenFailure failure;
        failure.device = address;
        failure.error = connection.error;
        failure.reason = connection.reason;
        return RefuseOpen(std::move(failure));
    }
    m_fd = connection.fd;
    m_isSocket = true;
    m_devicePath = address;
    m_baudRate = 0;
    return true;
}

bool CSerialPort::RefuseOpen(SPortOpenFailure failure)
{
    m_lastOpenFailure = std::move(failure);
    return false;
}

void CSerialPort::AskForLowLatency()
{
    m_lowLatencySet = false;
    serial_struct serial{};
    // Pseudo-terminals and some drivers refuse both calls; the line then works at its usual latency.
    if (::ioctl(m_fd, TIOCGSERIAL, &serial) != 0 || (serial.flags & ASYNC_LOW_LATENCY))
        return;
    serial.flags |= ASYNC_LOW_LATENCY;
    m_lowLatencySet = ::ioctl(m_fd, TIOCSSERIAL, &serial) == 0;
}

void CSerialPort::RestoreLatency()
{
    if (!m_lowLatencySet)
        return;
    m_lowLatencySet = false;
    serial_struct serial{};
    if (::ioctl(m_fd, TIOCGSERIAL, &serial) != 0)
        return;
    serial.flags &= ~int(ASYNC_LOW_LATENCY);
    ::ioctl(m_fd, TIOCSSERIAL, &serial);
}

void CSerialPort::Configure(int baudRate)
{
    if (baudRate <= 0)
        Raise(EINVAL, MessageString(StringId::SerialSetBaudRate).arg(baudRate));
    termios2 line{};
    if (::ioctl(m_fd, TCGETS2, &line) != 0)
        Raise(errno, MessageString(StringId::SerialReadLineSettings));
    MakeRawLine(line, baudRate);
    if (::ioctl(m_fd, TCSETS2, &line) != 0)
        Raise(errno, MessageString(StringId::SerialSetLine).arg(baudRate));
    // Nothing stale in either direction when a download starts.
    if (::ioctl(m_fd, TCFLSH, TCIOFLUSH) != 0)
        Raise(errno, MessageString(StringId::SerialFlushLine));
}

void CSerialPort::Raise(int error, const QString& operation)
{
    const QString devicePath = m_devicePath;
    ReleaseDevice();
    throw CSerialException(error, operation, devicePath);
}

void CSerialPort::Close()
{
    ReleaseDevice();
}

void CSerialPort::ReleaseDevice()
{
    if (m_fd < 0)
        return;
    RestoreLatency();
    if (!m_isSocket)
        ::ioctl(m_fd, TIOCNXCL);
    // Closing the descriptor also drops the lock.
    ::close(m_fd);
    m_fd = -1;
}

int CSerialPort::Write(const char* bytes, int count)
{
    if (m_fd < 0)
        throw CSerialException(EBADF, MessageString(StringId::SerialWriteClosedPort), m_devicePath);
    int written = 0;
    while (written < count) {
        // A server that dropped the connection must give an error, not the signal that ends the process.
        const ssize_t n = m_isSocket ? ::send(m_fd, bytes + written, size_t(count - written), MSG_NOSIGNAL)
                                     : ::write(m_fd, bytes + written, size_t(count - written));
        if (n > 0) {
            written += int(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            throw CSerialException(errno, MessageString(StringId::SerialWrite), m_devicePath);
        pollfd room{m_fd, POLLOUT, 0};
        const int ready = ::poll(&room, 1, int(m_writeStallLimit.count()));
        if (ready < 0 && errno != EINTR)
            throw CSerialException(errno, MessageString(StringId::SerialWaitToWrite), m_devicePath);
        if (ready == 0)
            throw CSerialException(ETIMEDOUT, MessageString(StringId::SerialWrite), m_devicePath);
        if (ready > 0 && !(room.revents & POLLOUT))
            throw CSerialException(EIO, MessageString(StringId::SerialWrite), m_devicePath);
    }
    return written;
}
