#include "serial/CReadComThread.h"

#include "app/StringTable.h"
#include "serial/CSerialException.h"
#include "serial/CSerialPort.h"
#include "serial/PromptWakeUps.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace Portwire {

// What the thread routine needs; shared so that a thread stopped from inside its receiver keeps it alive.
struct CReadComThread::SShared
{
    std::shared_ptr<CSerialPort> port;
    std::shared_ptr<const CReceiverSlot> receiver;
    int wakeFd = -1;
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};

    ~SShared()
    {
        if (wakeFd >= 0)
            ::close(wakeFd);
    }
};

namespace {

using Clock = std::chrono::steady_clock;

class CReceiveLoop
{
public:
    CReceiveLoop(int deviceFd, int wakeFd, const CReceiverSlot& receiver, const std::atomic<bool>& stop)
        : m_deviceFd(deviceFd)
        , m_wakeFd(wakeFd)
        , m_receiver(receiver)
        , m_stop(stop)
    {
    }

    void Run()
    {
        pollfd fds[2] = {{m_deviceFd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        for (;;) {
            if (m_stop.load())
                return;
            const int ready = ::poll(fds, 2, PollTimeoutMs());
            if (ready < 0 && errno == EINTR)
                continue;
            if (m_stop.load() || (ready > 0 && fds[1].revents != 0))
                return;
            if (ready < 0)
                return LoseConnection();
            if (ready == 0) {
                Deliver();
                continue;
            }
            if (fds[0].revents != 0 && !ReadAvailable(fds[0].revents))
                return LoseConnection();
        }
    }

private:
    // Until the burst's quiet interval ends, or without limit while nothing is gathered.
    int PollTimeoutMs() const
    {
        if (m_filled == 0)
            return -1;
        const auto remaining = m_lastByteTime + CReadComThread::kQuietInterval - Clock::now();
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
        return ms > 0 ? int(ms) : 0;
    }

    // Returns false when the device has gone away.
    bool ReadAvailable(short events)
    {
        if (events & POLLNVAL)
            return false;
        const ssize_t n = ::read(m_deviceFd, m_buffer + m_filled, size_t(CReadComThread::kBufferSize - m_filled));
        if (n > 0) {
            // Checked per read, so that a receiver registered later sees only bytes that arrive after it.
            if (m_receiver.HasReceiver()) {
                const char* received = m_buffer + m_filled;
                m_filled += int(n);
                m_lastByteTime = Clock::now();
                // A line is handed over as soon as it ends; the rest of its burst follows.
                if (m_filled == CReadComThread::kBufferSize || std::memchr(received, '\n', size_t(n)))
                    Deliver();
            }
            return true;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return !(events & (POLLHUP | POLLERR));
        return false;
    }

    void Deliver()
    {
        const int count = m_filled;
        m_filled = 0;
        if (count == 0 || m_stop.load())
            return;
        // A failure inside the receiver (a write to a vanished device, say) has no handler on this thread and
        // must not end the process; the owner notices through its own time-out.
        try {
            m_receiver.Deliver(m_buffer, count);
        } catch (...) {
        }
    }

    void LoseConnection()
    {
        Deliver();
        if (m_stop.load())
            return;
        try {
            m_receiver.ReportConnectionLost();
        } catch (...) {
        }
    }

    const int m_deviceFd;
    const int m_wakeFd;
    const CReceiverSlot& m_receiver;
    const std::atomic<bool>& m_stop;
    char m_buffer[CReadComThread::kBufferSize];
    int m_filled = 0; // bytes gathered and not yet delivered
    Clock::time_point m_lastByteTime;
};

} // namespace

CReadComThread::CReadComThread(std::shared_ptr<CSerialPort> port, std::shared_ptr<const CReceiverSlot> receiver)
    : m_shared(std::make_shared<SShared>())
{
    m_shared->port = std::move(port);
    m_shared->receiver = std::move(receiver);
}

CReadComThread::~CReadComThread()
{
    Stop();
}

void CReadComThread::Start()
{
    if (m_thread.joinable())
        return;
    const QString devicePath = m_shared->port->DevicePath();
    m_shared->wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_shared->wakeFd < 0)
        throw CSerialException(errno, MessageString(StringId::SerialCreateWakeUp), devicePath);
    try {
        m_thread = std::thread(&CReadComThread::Run, m_shared);
    } catch (const std::system_error& error) {
        throw CSerialException(error.code().value(), MessageString(StringId::SerialStartReceiveThread), devicePath);
    }
}

void CReadComThread::Run(const std::shared_ptr<SShared>& shared)
{
    const PromptWakeUps::CRequest promptWakeUps;
    CReceiveLoop loop(shared->port->Handle(), shared->wakeFd, *shared->receiver, shared->stop);
    loop.Run();
    shared->finished.store(true);
}

void CReadComThread::Stop()
{
    if (!m_thread.joinable())
        return;
    m_shared->stop.store(true);
    const std::uint64_t one = 1;
    // The counter cannot overflow with one increment per Stop, so the write cannot fail in a way that matters.
    [[maybe_unused]] const ssize_t written = ::write(m_shared->wakeFd, &one, sizeof one);
    if (m_thread.get_id() == std::this_thread::get_id()) {
        m_thread.detach();
        return;
    }
    m_thread.join();
}

bool CReadComThread::IsFinished() const
{
    return m_shared->finished.load();
}

} // namespace Portwire
