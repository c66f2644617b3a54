#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Where the serial code looks for what the system knows about devices, and how it opens them. The defaults are
// the machine's own; tests point them at folders of their own and inject failures.
struct SSerialEnvironment
{
    // The process table: <procRoot>/<pid>/fd/* and <procRoot>/<pid>/comm.
    QString procRoot = QStringLiteral("/proc");
    // Where programs leave UUCP lock files ("LCK..ttyUSB0").
    QStringList lockDirectories = {QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};
    // udev's links named after the adapter's model and serial number.
    QString byIdDirectory = QStringLiteral("/dev/serial/by-id");
    // The program at a pseudo-terminal's other end (the simulated scale, socat) normally holds it open, so only
    // real serial devices are refused for being held elsewhere.
    bool pseudoTerminalsExempt = true;
    // Opens the device as open(2) does: a descriptor, or -1 with errno set. Empty: open(2) itself.
    std::function<int(const char* path, int flags)> openDevice;
};
