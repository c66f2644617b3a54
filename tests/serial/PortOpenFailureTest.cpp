// Why a port does not open, as the user is told: programs holding the device, lock files, permissions, drivers.

#include "PtyPair.h"

#include "serial/CComPort.h"
#include "serial/PortOpenFailure.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using Portwire::CComPort;

namespace {

constexpr int kBaud = 9600;

std::string Text(const QString& text)
{
    return text.toStdString();
}

// A program other than the test that holds the device open, as a terminal program would.
class CHoldingProcess
{
public:
    explicit CHoldingProcess(const QString& devicePath)
    {
        m_process.setStandardInputFile(devicePath);
        m_process.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        m_process.waitForStarted();
    }
    ~CHoldingProcess()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    qint64 Pid() const { return m_process.processId(); }
    void End()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
};

// A process table of the test's own: <root>/<pid>/comm and <root>/<pid>/fd/<n> links.
class CFakeProc
{
public:
    QString Root() const { return m_dir.path(); }
    void AddProcess(qint64 pid, const QString& name, const QStringList& openFiles = {})
    {
        const QString folder = m_dir.filePath(QString::number(pid));
        QDir().mkpath(folder + QStringLiteral("/fd"));
        QFile comm(folder + QStringLiteral("/comm"));
        if (comm.open(QIODevice::WriteOnly))
            comm.write(name.toUtf8() + '\n');
        for (int i = 0; i < openFiles.size(); ++i)
            QFile::link(openFiles[i], folder + QStringLiteral("/fd/%1").arg(i + 3));
    }

private:
    QTemporaryDir m_dir;
};

class PortOpenFailureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_pty.IsValid()) << "no pseudo-terminal available";
        m_environment.lockDirectories = {m_locks.path()};
    }

    CPtyPair m_pty;
    QTemporaryDir m_locks;
    SSerialEnvironment m_environment;
};

TEST_F(PortOpenFailureTest, AnotherProgramHoldingTheDeviceMakesItBusyNamingTheProgram)
{
    CHoldingProcess holder(m_pty.SlavePath());
    ASSERT_GT(holder.Pid(), 0);
    CComPort port;

    // The program at a pseudo-terminal's other end normally holds it: not refused by default.
    port.SetEnvironment(m_environment);
    ASSERT_TRUE(port.Open(m_pty.SlavePath(), kBaud));
    port.Close();

    // As a real serial device, it is refused, and the message names the holder.
    m_environment.pseudoTerminalsExempt = false;
    port.SetEnvironment(m_environment);
    EXPECT_FALSE(port.Open(m_pty.SlavePath(), kBaud));
    EXPECT_EQ(port.LastOpenError(), EBUSY);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(Text(PortOpenFailure::Message(port.LastOpenFailure())),
              Text(QStringLiteral("Cannot open %1: it is in use by sleep (process %2). Close that program, then "
                                  "try again.")
                       .arg(m_pty.SlavePath())
                       .arg(holder.Pid())));

    // This process's own descriptors (the test's side of the line) never count; once the holder is gone it opens.
    holder.End();
    EXPECT_TRUE(port.Open(m_pty.SlavePath(), kBaud)) << Text(PortOpenFailure::Message(port.LastOpenFailure()));
}

TEST_F(PortOpenFailureTest, ModemManagerHoldingTheDeviceGetsItsHint)
{
    CFakeProc proc;
    proc.AddProcess(4242, QStringLiteral("ModemManager"), {QStringLiteral("/dev/null"), m_pty.SlavePath()});
    proc.AddProcess(4243, QStringLiteral("bash"), {QStringLiteral("/dev/null")});
    m_environment.procRoot = proc.Root();
    m_environment.pseudoTerminalsExempt = false;
    CComPort port;
    port.SetEnvironment(m_environment);

    EXPECT_FALSE(port.Open(m_pty.SlavePath(), kBaud));
    const QString message = PortOpenFailure::Message(port.LastOpenFailure());
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("Cannot open %1: it is in use by ModemManager (process 4242).").arg(m_pty.SlavePath())))
        << Text(message);
    EXPECT_TRUE(message.contains(QLatin1String("ENV{ID_MM_DEVICE_IGNORE}=\"1\""))) << Text(message);
    EXPECT_FALSE(message.contains(QLatin1String("bash"))) << Text(message);
}

TEST_F(PortOpenFailureTest, PermissionDeniedNamesTheDevicesGroup)
{
    struct stat info = {};
    ASSERT_EQ(::stat(QFile::encodeName(m_pty.SlavePath()).constData(), &info), 0);
    const group* owner = ::getgrgid(info.st_gid);
    ASSERT_NE(owner, nullptr);
    const QString groupName = QString::fromLocal8Bit(owner->gr_name);
    m_environment.openDevice = [](const char*, int) {
        errno = EACCES;
        return -1;
    };
    CComPort port;
    port.SetEnvironment(m_environment);

    EXPECT_FALSE(port.Open(m_pty.SlavePath(), kBaud));
    EXPECT_EQ(port.LastOpenError(), EACCES);
    EXPECT_EQ(Text(PortOpenFailure::Message(port.LastOpenFailure())),
              Text(QStringLiteral("Cannot open %1: permission denied. The device belongs to the group \"%2\": add "
                                  "your user to it (sudo usermod -aG %2 $USER), then log out and in again.")
                       .arg(m_pty.SlavePath(), groupName)));
}

TEST_F(PortOpenFailureTest, LiveLockFilesAreHonouredAndStaleOnesIgnored)
{
    CHoldingProcess lockOwner(QStringLiteral("/dev/null"));
    const qint64 live = lockOwner.Pid();
    ASSERT_GT(live, 0);
    const int binaryLive = int(live);
    const struct
    {
        const char* name;
        QByteArray content;
        bool refused;
    } cases[] = {
        {"live process, text form", QByteArray::number(live).rightJustified(10) + '\n', true},
        {"live process, binary form", QByteArray(reinterpret_cast<const char*>(&binaryLive), sizeof binaryLive), true},
        {"process that is gone", QByteArray("  99999999\n"), false},
        {"this process", QByteArray::number(qint64(::getpid())) + '\n', false},
        {"not a process id", QByteArray("locked\n"), false},
        {"empty", QByteArray(), false},
    };
    const QString lockFile = m_locks.filePath(QStringLiteral("LCK..") +
                                              m_pty.SlavePath().mid(5).replace(QLatin1Char('/'), QLatin1Char('_')));
    for (const auto& c : cases) {
        QFile lock(lockFile);
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(c.content);
        lock.close();
        CComPort port;
        port.SetEnvironment(m_environment);

        EXPECT_EQ(port.Open(m_pty.SlavePath(), kBaud), !c.refused) << c.name;
        if (c.refused) {
            EXPECT_EQ(Text(PortOpenFailure::Message(port.LastOpenFailure())),
                      Text(QStringLiteral("Cannot open %1: it is locked by sleep (process %2) (lock file %3). Close "
                                          "that program, then try again.")
                               .arg(m_pty.SlavePath())
                               .arg(live)
                               .arg(lockFile)))
                << c.name;
        }
    }
}

TEST(PortOpenFailure, MessagesSayWhatToDo)
{
    CFakeProc withBrltty;
    withBrltty.AddProcess(700, QStringLiteral("brltty"));
    CFakeProc without;
    without.AddProcess(701, QStringLiteral("bash"));
    const QString gone = QStringLiteral("the device is no longer there. Plug it in again, then choose its port.");
    const QString brltty = QStringLiteral("brltty, the braille display driver, is running");
    const struct
    {
        const char* name;
        QString device;
        int error;
        QString procRoot;
        QString starts;
        bool brlttyHint;
    } cases[] = {
        {"gone", QStringLiteral("/dev/ttyS0-gone"), ENOENT, without.Root(),
         QStringLiteral("Cannot open /dev/ttyS0-gone: ") + gone, false},
        {"USB adapter gone while brltty runs", QStringLiteral("/dev/ttyUSB7"), ENOENT, withBrltty.Root(),
         QStringLiteral("Cannot open /dev/ttyUSB7: ") + gone, true},
        {"USB adapter gone, no brltty", QStringLiteral("/dev/ttyACM3"), ENOENT, without.Root(),
         QStringLiteral("Cannot open /dev/ttyACM3: ") + gone, false},
        {"on-board port while brltty runs", QStringLiteral("/dev/ttyS9-gone"), ENOENT, withBrltty.Root(),
         QStringLiteral("Cannot open /dev/ttyS9-gone: ") + gone, false},
        {"busy without a known holder", QStringLiteral("/dev/ttyS8-gone"), EBUSY, without.Root(),
         QStringLiteral("Cannot open /dev/ttyS8-gone: it is in use by another program."), false},
        {"another system error", QStringLiteral("/dev/ttyS7-gone"), EIO, without.Root(),
         QStringLiteral("Cannot open /dev/ttyS7-gone: ") + QString::fromLocal8Bit(std::strerror(EIO)) +
             QLatin1Char('.'),
         false},
        {"no port chosen", QString(), ENOENT, without.Root(),
         QStringLiteral("No port is chosen. Choose the scale's port, then try again."), false},
        {"server refuses", QStringLiteral("tcp://127.0.0.1:9"), ECONNREFUSED, without.Root(),
         QStringLiteral("Cannot connect to tcp://127.0.0.1:9: the connection was refused."), false},
        {"server unreachable", QStringLiteral("tcp://10.255.255.1:4001"), EHOSTUNREACH, without.Root(),
         QStringLiteral("Cannot connect to tcp://10.255.255.1:4001: the host cannot be reached."), false},
    };
    for (const auto& c : cases) {
        SSerialEnvironment environment;
        environment.procRoot = c.procRoot;
        const QString message = PortOpenFailure::Message(PortOpenFailure::Examine(c.device, c.error, environment));
        EXPECT_TRUE(message.startsWith(c.starts)) << c.name << ": " << Text(message);
        EXPECT_EQ(message.contains(brltty), c.brlttyHint) << c.name << ": " << Text(message);
    }
}

} // namespace
