#include "serial/PortOpenFailure.h"

#include "serial/TcpTransport.h"
#include "serial/UucpLock.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace PortOpenFailure {

namespace {

const QString kModemManager = QStringLiteral("ModemManager");

QString GroupOfDevice(const QString& devicePath)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(devicePath).constData(), &info) != 0)
        return QString();
    group entry = {};
    group* found = nullptr;
    char buffer[4096];
    if (::getgrgid_r(info.st_gid, &entry, buffer, sizeof buffer, &found) != 0 || !found)
        return QString();
    return QString::fromLocal8Bit(found->gr_name);
}

bool IsUsbSerialDevice(const QString& devicePath)
{
    const QString canonical = QFileInfo(devicePath).canonicalFilePath();
    const QString name = QFileInfo(canonical.isEmpty() ? devicePath : canonical).fileName();
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"));
}

// Unix98 pseudo-terminal slaves have the majors 136 to 143.
bool IsPseudoTerminal(const struct stat& info)
{
    const unsigned deviceMajor = major(info.st_rdev);
    return S_ISCHR(info.st_mode) && deviceMajor >= 136 && deviceMajor <= 143;
}

QString SystemText(int error)
{
    char buffer[256] = {};
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}

QString HolderNames(const QList<PortHolders::SProcess>& holders)
{
    QStringList names;
    for (const PortHolders::SProcess& holder : holders)
        names.append(PortHolders::Describe(holder));
    return names.join(QStringLiteral(", "));
}

QString BusyMessage(const SPortOpenFailure& failure)
{
    QString text;
    if (!failure.lockFile.isEmpty() && !failure.holders.isEmpty())
        text = QStringLiteral("Cannot open %1: it is locked by %2 (lock file %3). Close that program, then try again.")
                   .arg(failure.device, HolderNames(failure.holders), failure.lockFile);
    else if (!failure.holders.isEmpty())
        text = QStringLiteral("Cannot open %1: it is in use by %2. Close that program, then try again.")
                   .arg(failure.device, HolderNames(failure.holders));
    else
        text = QStringLiteral("Cannot open %1: it is in use by another program. Close that program, then try again.")
                   .arg(failure.device);
    for (const PortHolders::SProcess& holder : failure.holders) {
        if (holder.name == kModemManager) {
            text += QStringLiteral(" ModemManager probes serial devices that look like modems: stop it "
                                   "(sudo systemctl stop ModemManager), or tell it to leave the adapter alone with a "
                                   "udev rule that sets ENV{ID_MM_DEVICE_IGNORE}=\"1\".");
            break;
        }
    }
    return text;
}

QString NetworkMessage(const SPortOpenFailure& failure)
{
    const QString prefix = QStringLiteral("Cannot connect to %1: ").arg(failure.device);
    if (!failure.reason.isEmpty())
        return prefix + failure.reason + QStringLiteral(". Check the address.");
    switch (failure.error) {
    case ECONNREFUSED:
        return prefix + QStringLiteral("the connection was refused. Check that the device server is on and that "
                                       "the port number is right.");
    case EHOSTUNREACH:
    case ENETUNREACH: return prefix + QStringLiteral("the host cannot be reached. Check the address and the network.");
    case ETIMEDOUT: return prefix + QStringLiteral("the host does not answer. Check the address and the network.");
    default: return prefix + SystemText(failure.error) + QLatin1Char('.');
    }
}

QString DeviceMessage(const SPortOpenFailure& failure)
{
    switch (failure.error) {
    case EACCES:
    case EPERM:
        if (failure.group.isEmpty())
            return QStringLiteral("Cannot open %1: permission denied. Ask for access to the device, then log in "
                                  "again.")
                .arg(failure.device);
        return QStringLiteral("Cannot open %1: permission denied. The device belongs to the group \"%2\": add your "
                              "user to it (sudo usermod -aG %2 $USER), then log out and in again.")
            .arg(failure.device, failure.group);
    case EBUSY: return BusyMessage(failure);
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return QStringLiteral("Cannot open %1: the device is no longer there. Plug it in again, then choose its "
                              "port.")
            .arg(failure.device);
    default: return QStringLiteral("Cannot open %1: %2.").arg(failure.device, SystemText(failure.error));
    }
}

} // namespace

SPortOpenFailure Examine(const QString& device, int error, const SSerialEnvironment& environment)
{
    SPortOpenFailure failure;
    failure.device = device;
    failure.error = error;
    if (error == 0 || device.isEmpty() || TcpTransport::IsTcpAddress(device))
        return failure;
    if (error == EACCES || error == EPERM)
        failure.group = GroupOfDevice(device);
    if (error == EBUSY)
        failure.holders = PortHolders::ProcessesHoldingDevice(device, environment.procRoot);
    failure.brlttyRunning =
        IsUsbSerialDevice(device) && PortHolders::IsProgramRunning(QStringLiteral("brltty"), environment.procRoot);
    return failure;
}

SPortOpenFailure CheckNotHeldElsewhere(int fd, const QString& devicePath, const SSerialEnvironment& environment)
{
    SPortOpenFailure failure;
    failure.device = devicePath;
    const UucpLock::SLockOwner lock = UucpLock::LiveOwner(devicePath, environment.lockDirectories);
    if (lock.pid != 0) {
        failure.error = EBUSY;
        failure.lockFile = lock.lockFile;
        failure.holders = {{lock.pid, PortHolders::ProcessName(lock.pid, environment.procRoot)}};
        return failure;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode))
        return failure;
    if (environment.pseudoTerminalsExempt && IsPseudoTerminal(info))
        return failure;
    failure.holders = PortHolders::ProcessesHoldingDevice(devicePath, environment.procRoot);
    if (!failure.holders.isEmpty())
        failure.error = EBUSY;
    return failure;
}

QString Message(const SPortOpenFailure& failure)
{
    if (failure.device.isEmpty())
        return QStringLiteral("No port is chosen. Choose the scale's port, then try again.");
    QString text = TcpTransport::IsTcpAddress(failure.device) ? NetworkMessage(failure) : DeviceMessage(failure);
    if (failure.brlttyRunning)
        text += QStringLiteral(" brltty, the braille display driver, is running: it claims USB serial adapters "
                               "(CH340, CP210x, FT232) for itself. Unless a braille display is used, remove it "
                               "(sudo apt remove brltty) and plug the adapter in again.");
    return text;
}

} // namespace PortOpenFailure
