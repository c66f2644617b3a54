#include "serial/PortHolders.h"

#include "app/StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
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

// The links are read, never followed: following one to a file on a hung network mount would hang the caller.
bool HoldsDevice(const QString& fdFolder, const QByteArray& devicePath)
{
    const QStringList descriptors = QDir(fdFolder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    char target[4096];
    for (const QString& descriptor : descriptors) {
        const QByteArray link = QFile::encodeName(fdFolder + QLatin1Char('/') + descriptor);
        const ssize_t length = ::readlink(link.constData(), target, sizeof target);
        if (length > 0 && length < ssize_t(sizeof target) && QByteArray(target, int(length)) == devicePath)
            return true;
    }
    return false;
}

} // namespace

QList<SProcess> ProcessesHoldingDevice(const QString& devicePath, const QString& procRoot)
{
    const QString canonical = QFileInfo(devicePath).canonicalFilePath();
    if (canonical.isEmpty())
        return {};
    const QByteArray device = QFile::encodeName(canonical);
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
        return MessageString(StringId::ProcessUnnamed).arg(process.pid);
    return MessageString(StringId::ProcessNamed).arg(process.name, QString::number(process.pid));
}

} // namespace PortHolders
