#include "tools/CSimulatedScale.h"

#include "tools/ScaleRecordDecoder.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QByteArray kAcknowledgement = QByteArrayLiteral("\x02SPOK\r\n");
const QByteArray kRefusal = QByteArrayLiteral("\x02SPNG\r\n");
constexpr qint64 kStaleRecordMs = 1000; // a record that stops half-way is dropped after this pause
// A sleep ends this much early and the rest is waited out awake: a timer's wake-up comes tens of microseconds late,
// and a real line delivers its last byte on time.
constexpr std::chrono::microseconds kAwakeWait{100};

using Clock = std::chrono::steady_clock;

// A real scale is hardware: what the simulation spends being woken and scheduled is not the line's time, and would
// be counted against the program. Where the system allows it, the scale's thread runs ahead of ordinary threads and
// its timers are not rounded; elsewhere it goes on as it is.
void KeepTimeLikeALine()
{
    prctl(PR_SET_TIMERSLACK, 1UL);
    sched_param priority{};
    priority.sched_priority = sched_get_priority_min(SCHED_FIFO);
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
}

qint64 NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QString ErrnoText(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

speed_t SpeedFor(int baud)
{
    switch (baud) {
    case 4800: return B4800;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B9600;
    }
}

QString CsvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

CSimulatedScale::CSimulatedScale(SScaleOptions options)
    : m_options(std::move(options))
    , m_pluMode(m_options.pluMode)
    , m_limitMode(m_options.limitMode)
{
}

void CSimulatedScale::SetMode(EPluMode pluMode, ELimitMode limitMode)
{
    m_pluMode = pluMode;
    m_limitMode = limitMode;
}

void CSimulatedScale::SetOptions(const SScaleOptions& options)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_newOptions = options;
    m_hasNewOptions = true;
}

void CSimulatedScale::AdoptNewOptions()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_hasNewOptions)
        return;
    const QString csvPath = m_options.csvPath;
    const EPluMode pluMode = m_options.pluMode;
    const ELimitMode limitMode = m_options.limitMode;
    m_options = m_newOptions;
    m_options.csvPath = csvPath;
    m_options.pluMode = pluMode;
    m_options.limitMode = limitMode;
    m_hasNewOptions = false;
}

void CSimulatedScale::Vanish()
{
    ::close(m_masterFd);
    m_masterFd = -1;
    if (m_slaveHoldFd >= 0)
        ::close(m_slaveHoldFd);
    m_slaveHoldFd = -1;
}

CSimulatedScale::~CSimulatedScale()
{
    Stop();
}

bool CSimulatedScale::Start(QString* error)
{
    if (IsRunning())
        return true;
    m_masterFd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_masterFd < 0 || grantpt(m_masterFd) != 0 || unlockpt(m_masterFd) != 0) {
        if (error)
            *error = ErrnoText("cannot create a pseudo-terminal");
        CloseDevice();
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(ptsname(m_masterFd));
    // Holding the other side open keeps the line up while the program closes and reopens it,
    // and lets the scale set the line raw so that nothing is echoed or translated.
    m_slaveHoldFd = ::open(ptsname(m_masterFd), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveHoldFd >= 0) {
        termios settings{};
        if (tcgetattr(m_slaveHoldFd, &settings) == 0) {
            cfmakeraw(&settings);
            tcsetattr(m_slaveHoldFd, TCSANOW, &settings);
        }
    }
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_stop = false;
    m_disconnect = false;
    if (!m_options.csvPath.isEmpty())
        AppendCsv({}); // header
    m_thread = std::thread([this] { Run(); });
    return true;
}

bool CSimulatedScale::StartOnDevice(const QString& devicePath, int baud, QString* error)
{
    if (IsRunning())
        return true;
    m_masterFd = ::open(devicePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_masterFd < 0) {
        if (error)
            *error = ErrnoText("cannot open the device");
        return false;
    }
    termios settings{};
    if (tcgetattr(m_masterFd, &settings) == 0) {
        cfmakeraw(&settings);
        cfsetspeed(&settings, SpeedFor(baud));
        tcsetattr(m_masterFd, TCSANOW, &settings);
    }
    m_devicePath = devicePath;
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_stop = false;
    m_disconnect = false;
    if (!m_options.csvPath.isEmpty())
        AppendCsv({});
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CSimulatedScale::Stop()
{
    m_stop = true;
    if (m_wakeFd >= 0) {
        const quint64 one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
    }
    if (m_thread.joinable())
        m_thread.join();
    CloseDevice();
}

void CSimulatedScale::Disconnect()
{
    m_disconnect = true;
    if (m_wakeFd >= 0) {
        const quint64 one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
    }
}

void CSimulatedScale::CloseDevice()
{
    for (int* fd : {&m_masterFd, &m_slaveHoldFd, &m_wakeFd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void CSimulatedScale::Run()
{
    char buffer[4096];
    while (!m_stop) {
        pollfd fds[2] = {{m_masterFd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        const int timeout = m_pending.isEmpty() ? -1 : int(kStaleRecordMs);
        const int ready = ::poll(fds, 2, timeout);
        // The bytes are on the line from here on; nothing later of the scale's own wake-up counts.
        const Clock::time_point readyAt = Clock::now();
        if (ready < 0 && errno == EINTR)
            continue;
        if (m_stop)
            break;
        if (m_disconnect) {
            // The line goes dead: the program sees a hang-up and the scale takes nothing more.
            Vanish();
            return;
        }
        if (fds[1].revents & POLLIN) {
            quint64 value = 0;
            [[maybe_unused]] const ssize_t got = ::read(m_wakeFd, &value, sizeof value);
        }
        if (ready == 0 && !m_pending.isEmpty() && NowMs() - m_lastByteAt >= kStaleRecordMs) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_problems << QStringLiteral("incomplete record of %1 bytes dropped").arg(m_pending.size());
            m_pending.clear();
            continue;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t count = ::read(m_masterFd, buffer, sizeof buffer);
            if (count > 0)
                Feed(buffer, int(count), readyAt);
            else if (count < 0 && errno != EAGAIN && errno != EINTR && errno != EIO)
                break;
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Nobody holds the line open (a real device was unplugged): wait a little and retry.
            Pause(20000);
        }
    }
}

void CSimulatedScale::Feed(const char* bytes, int count, Clock::time_point readAt)
{
    AdoptNewOptions();
    if (m_options.paceBaud > 0 && !m_keepingTime) {
        KeepTimeLikeALine();
        m_keepingTime = true;
    }
    m_lastByteAt = NowMs();
    // The bytes queue behind those still crossing, then cross at the line's pace.
    const Clock::time_point chunkStart = std::max(readAt, m_inboundFreeAt);
    m_inboundFreeAt = chunkStart + LineTime(count);
    const int expected = ScaleRecord::ExpectedLength(PluMode(), LimitMode());
    for (int i = 0; i < count; ++i) {
        if (m_pending.isEmpty() && bytes[i] != '\x02')
            continue; // noise between records
        if (m_pending.isEmpty())
            m_recordReadAt = readAt;
        m_pending.append(bytes[i]);
        if (m_options.disconnectMidRecord > 0 && m_pending.size() == expected / 2 &&
            RecordsReceived() + 1 == m_options.disconnectMidRecord) {
            m_pending.clear();
            Vanish();
            m_stop = true;
            return;
        }
        if (m_pending.size() == expected) {
            const QByteArray record = m_pending;
            m_pending.clear();
            m_recordCrossedAt = chunkStart + LineTime(i + 1);
            HandleRecord(record);
            if (m_stop || m_masterFd < 0)
                return;
        }
    }
}

void CSimulatedScale::HandleRecord(const QByteArray& record)
{
    int number = 0;
    const EPluMode pluMode = PluMode();
    const ELimitMode limitMode = LimitMode();
    QString problem = ScaleRecord::CheckRecord(record, pluMode, limitMode);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        number = ++m_recordCount;
        if (m_answered) {
            m_turnaroundTotal += m_recordReadAt - m_lastAnswerAt;
            ++m_turnarounds;
            m_answered = false;
        }
        m_records.push_back(record);
        if (!problem.isEmpty())
            m_problems << QStringLiteral("record %1: %2").arg(number).arg(problem);
    }
    m_recordArrived.notify_all();

    if (number == m_options.disconnectAtRecord) {
        Vanish();
        m_stop = true;
        return;
    }
    const bool silent =
        number == m_options.silentRecord || (m_options.silentFrom > 0 && number >= m_options.silentFrom);
    if (silent)
        return;
    const bool refuse = !problem.isEmpty() || number == m_options.refuseRecord;
    if (!refuse) {
        const QStringList row =
            ScaleRecord::DecodeRecord(record, pluMode, limitMode, m_options.textCodePage, m_options.goodsIdCodePage);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_rows.push_back(row);
        }
        AppendCsv(row);
    }
    const auto replyDelay = std::chrono::milliseconds(m_options.replyDelayMs);
    if (m_options.replyDelayMs > 0 && !PauseUntil(m_recordCrossedAt + replyDelay))
        return;
    const QByteArray& reply = refuse ? kRefusal : kAcknowledgement;
    const bool twice = number == m_options.answerTwiceRecord;
    // Without a pause the two answers go out as one write, as a scale that repeats itself sends them.
    if (twice && m_options.secondAnswerGapMs <= 0) {
        Answer(reply + reply, true);
        return;
    }
    if (Answer(reply, true) && twice && Pause(qint64(m_options.secondAnswerGapMs) * 1000))
        Answer(reply, false);
}

bool CSimulatedScale::Answer(const QByteArray& reply, bool firstAnswer)
{
    if (!m_options.garbageBeforeReply.isEmpty() &&
        (!WaitForOutboundLine(int(m_options.garbageBeforeReply.size())) ||
         !WriteAll(m_options.garbageBeforeReply.constData(), int(m_options.garbageBeforeReply.size()))))
        return false;
    if (m_options.garbageGapMs > 0 && !Pause(qint64(m_options.garbageGapMs) * 1000))
        return false;
    if (!WaitForOutboundLine(int(reply.size())))
        return false;
    if (firstAnswer) {
        // Counted as it goes out, so that the program cannot have seen the answer before it is counted.
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_answeredCount;
    }
    if (m_options.splitReplyGapMs <= 0) {
        if (!WriteAll(reply.constData(), int(reply.size())))
            return false;
    } else {
        for (int i = 0; i < reply.size(); ++i) {
            if (i > 0 && !Pause(qint64(m_options.splitReplyGapMs) * 1000))
                return false;
            if (!WriteAll(reply.constData() + i, 1))
                return false;
        }
    }
    if (firstAnswer) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lastAnswerAt = std::chrono::steady_clock::now();
        m_answered = true;
    }
    return true;
}

bool CSimulatedScale::WaitForOutboundLine(int bytes)
{
    // The bytes start once the record has crossed and the line is free of what went before, and the program has
    // them when the last one has crossed too: on a pseudo-terminal they are written then, all at once.
    const Clock::time_point start = std::max({Clock::now(), m_recordCrossedAt, m_outboundFreeAt});
    const Clock::time_point crossed = start + LineTime(bytes);
    if (!PauseUntil(crossed))
        return false;
    m_outboundFreeAt = crossed;
    const Clock::duration late = Clock::now() - crossed;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_latenessTotal += late;
    ++m_latenessCount;
    return true;
}

bool CSimulatedScale::WriteAll(const char* bytes, int count)
{
    while (count > 0 && m_masterFd >= 0) {
        const ssize_t written = ::write(m_masterFd, bytes, size_t(count));
        if (written < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        bytes += written;
        count -= int(written);
    }
    return count == 0;
}

bool CSimulatedScale::Pause(qint64 microseconds)
{
    return PauseUntil(std::chrono::steady_clock::now() + std::chrono::microseconds(std::max<qint64>(microseconds, 0)));
}

bool CSimulatedScale::PauseUntil(std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    const Clock::time_point wakeAt = deadline - kAwakeWait;
    while (!m_stop && !m_disconnect) {
        const auto left = duration_cast<nanoseconds>(wakeAt - steady_clock::now()).count();
        if (left <= 0) {
            while (steady_clock::now() < deadline) {
            }
            return true;
        }
        // A wait to the microsecond that the wake-up descriptor cuts short when the scale stops.
        pollfd wake{m_wakeFd, POLLIN, 0};
        const timespec timeout{time_t(left / 1000000000), long(left % 1000000000)};
        ::ppoll(&wake, 1, &timeout, nullptr);
    }
    return false;
}

Clock::duration CSimulatedScale::LineTime(int bytes) const
{
    if (m_options.paceBaud <= 0)
        return Clock::duration::zero();
    // 10 bits a byte: start bit, 8 data bits, stop bit.
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(qint64(bytes) * 10 * 1000000000 / m_options.paceBaud));
}

void CSimulatedScale::AppendCsv(const QStringList& row)
{
    if (m_options.csvPath.isEmpty())
        return;
    QFile file(m_options.csvPath);
    const bool header = row.isEmpty();
    if (!file.open(header ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::Append))
        return;
    QStringList fields;
    if (header) {
        if (m_options.pluMode == EPluMode::Pricing)
            fields = QStringList{QStringLiteral("PLU No."),          QStringLiteral("Unit price"),
                                 QStringLiteral("Goods Id"),         QStringLiteral("Goods Name"),
                                 QStringLiteral("Specification"),    QStringLiteral("Remark"),
                                 QStringLiteral("Expiration(Days)"), QStringLiteral("Quantity pricing")};
        else
            fields = QStringList{QStringLiteral("PLU No."), QStringLiteral("Unit weight"), QStringLiteral("Goods Id"),
                                 QStringLiteral("Goods Name"), QStringLiteral("Specification")};
        if (m_options.pluMode == EPluMode::Counting && m_options.limitMode == ELimitMode::On)
            fields << QStringLiteral("Hi") << QStringLiteral("Lo");
    } else {
        for (const QString& field : row)
            fields << CsvField(field);
    }
    file.write((fields.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8());
}

int CSimulatedScale::RecordsReceived() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_recordCount;
}

double CSimulatedScale::MeanTurnaroundMs() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_turnarounds == 0)
        return 0;
    return std::chrono::duration<double, std::milli>(m_turnaroundTotal).count() / m_turnarounds;
}

double CSimulatedScale::MeanLatenessMs() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_latenessCount == 0)
        return 0;
    return std::chrono::duration<double, std::milli>(m_latenessTotal).count() / m_latenessCount;
}

int CSimulatedScale::RecordsAnswered() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_answeredCount;
}

std::vector<QStringList> CSimulatedScale::AcceptedRows() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_rows;
}

std::vector<QByteArray> CSimulatedScale::ReceivedRecords() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_records;
}

QStringList CSimulatedScale::Problems() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_problems;
}

void CSimulatedScale::ForgetReceived()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records = {};
    m_rows = {};
    m_problems.clear();
}

bool CSimulatedScale::WaitForRecords(int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_recordArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_recordCount >= count; });
}
