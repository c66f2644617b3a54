#include "serial/UucpLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace UucpLock {

namespace {

qint64 LockPid(const QByteArray& content)
{
    bool isNumber = false;
    const qint64 pid = content.trimmed().toLongLong(&isNumber);
    if (isNumber)
        return pid;
    // The binary form: the pid as the machine's int.
    if (content.size() == int(sizeof(int))) {
        int binaryPid = 0;
        std::memcpy(&binaryPid, content.constData(), sizeof binaryPid);
        return binaryPid;
    }
    return 0;
}

bool IsAlive(qint64 pid)
{
    if (pid <= 0 || pid > qint64(INT32_MAX))
        return false;
    // EPERM: the process exists but belongs to another user.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

QString LockFileName(const QString& devicePath)
{
    const QString canonical = QFileInfo(devicePath).canonicalFilePath();
    QString name = canonical.isEmpty() ? devicePath : canonical;
    if (name.startsWith(QLatin1String("/dev/")))
        name = name.mid(5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("LCK..") + name;
}

SLockOwner LiveOwner(const QString& devicePath, const QStringList& lockDirectories)
{
    const QString fileName = LockFileName(devicePath);
    for (const QString& directory : lockDirectories) {
        QFile lock(QDir(directory).filePath(fileName));
        if (!lock.open(QIODevice::ReadOnly))
            continue;
        const qint64 pid = LockPid(lock.read(64));
        if (pid != qint64(::getpid()) && IsAlive(pid))
            return {pid, lock.fileName()};
    }
    return {};
}

} // namespace UucpLock
