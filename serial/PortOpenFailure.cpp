#include "serial/PortOpenFailure.h"

#include "app/StringTable.h"
#include "app/SystemErrorText.h"
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
        text =
            MessageString(StringId::PortLockedBy).arg(failure.device, HolderNames(failure.holders), failure.lockFile);
    else if (!failure.holders.isEmpty())
        text = MessageString(StringId::PortInUseBy).arg(failure.device, HolderNames(failure.holders));
    else
        text = MessageString(StringId::PortInUse).arg(failure.device);
    for (const PortHolders::SProcess& holder : failure.holders) {
        if (holder.name == kModemManager) {
            text += QLatin1Char(' ') + MessageString(StringId::PortModemManagerHint);
            break;
        }
    }
    return text;
}

QString NetworkMessage(const SPortOpenFailure& failure)
{
    if (!failure.reason.isEmpty())
        return MessageString(StringId::ConnectCheckAddress).arg(failure.device, failure.reason);
    switch (failure.error) {
    case ECONNREFUSED: return MessageString(StringId::ConnectRefused).arg(failure.device);
    case EHOSTUNREACH:
    case ENETUNREACH: return MessageString(StringId::ConnectUnreachable).arg(failure.device);
    case ETIMEDOUT: return MessageString(StringId::ConnectNoAnswer).arg(failure.device);
    default: return MessageString(StringId::ConnectFailed).arg(failure.device, SystemErrorText(failure.error));
    }
}

QString DeviceMessage(const SPortOpenFailure& failure)
{
    switch (failure.error) {
    case EACCES:
    case EPERM:
        if (failure.group.isEmpty())
            return MessageString(StringId::PortPermissionDenied).arg(failure.device);
        return MessageString(StringId::PortPermissionGroup).arg(failure.device, failure.group);
    case EBUSY: return BusyMessage(failure);
    case ENOENT:
    case ENODEV:
    case ENXIO: return MessageString(StringId::PortGone).arg(failure.device);
    default: return MessageString(StringId::PortFailed).arg(failure.device, SystemErrorText(failure.error));
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
        return MessageString(StringId::PortNotChosen);
    QString text = TcpTransport::IsTcpAddress(failure.device) ? NetworkMessage(failure) : DeviceMessage(failure);
    if (failure.brlttyRunning)
        text += QLatin1Char(' ') + MessageString(StringId::PortBrlttyHint);
    return text;
}

} // namespace PortOpenFailure
