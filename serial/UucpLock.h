#pragma once

#include <QString>
#include <QStringList>

// UUCP lock files: a program that uses a serial device leaves "LCK..<device name>" in a lock folder, holding its
// process id (ten characters of text, or four bytes in the older binary form).
namespace UucpLock {

struct SLockOwner
{
    qint64 pid = 0; // 0: the device is not locked
    QString lockFile;
};

// The lock file name for a device: "LCK..ttyUSB0" for /dev/ttyUSB0 or for a link to it.
QString LockFileName(const QString& devicePath);

// The live owner of the device's lock, if another process holds one. A lock whose process is gone, one that
// names this process, and one whose content is not a process id are stale and ignored.
SLockOwner LiveOwner(const QString& devicePath, const QStringList& lockDirectories);

} // namespace UucpLock
