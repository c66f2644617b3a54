#include "serial/PortHolders.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace PortHolders {

namespace {

QList<qint64> ProcessIds(const QString& procRoot)
{
    QList<qint64> pids;
    const QStringList entries = QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isNumber = false;
        const qint64 pid = entry.toLongLong(&isNumber);
        if (isNumber && pid > 0)
            pids.append(pid);
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

bool HoldsDevice(const QString& fdFolder, dev_t device)
{
    const QStringList descriptors = QDir(fdFolder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& descriptor : descriptors) {
        struct stat target = {};
        // stat follows the link to the open file; a socket or a deleted file simply does not match.
        if (::stat(QFile::encodeName(fdFolder + QLatin1Char('/') + descriptor).constData(), &target) != 0)
            continue;
        if (S_ISCHR(target.st_mode) && target.st_rdev == device)
            return true;
    }
    return false;
}

} // namespace

QList<SProcess> ProcessesHoldingDevice(dev_t device, const QString& procRoot)
{
    QList<SProcess> holders;
    const qint64 self = qint64(::getpid());
    for (const qint64 pid : ProcessIds(procRoot)) {
        if (pid == self)
            continue;
        if (HoldsDevice(QStringLiteral("%1/%2/fd").arg(procRoot).arg(pid), device))
            holders.append({pid, ProcessName(pid, procRoot)});
    }
    return holders;
}

QList<SProcess> ProcessesHoldingDevice(const QString& devicePath, const QString& procRoot)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(devicePath).constData(), &info) != 0 || !S_ISCHR(info.st_mode))
        return {};
    return ProcessesHoldingDevice(info.st_rdev, procRoot);
}

QString ProcessName(qint64 pid, const QString& procRoot)
{
    QFile comm(QStringLiteral("%1/%2/comm").arg(procRoot).arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(comm.read(256)).trimmed();
}

bool IsProgramRunning(const QString& name, const QString& procRoot)
{
    const QList<qint64> pids = ProcessIds(procRoot);
    return std::any_of(pids.begin(), pids.end(), [&](qint64 pid) { return ProcessName(pid, procRoot) == name; });
}

QString Describe(const SProcess& process)
{
    if (process.name.isEmpty())
        return QStringLiteral("process %1").arg(process.pid);
    return QStringLiteral("%1 (process %2)").arg(process.name).arg(process.pid);
}

} // namespace PortHolders
