#pragma once

#include <QList>
#include <QString>

// The processes that hold a device open, found through the links in /proc/<pid>/fd.
namespace PortHolders {

struct SProcess
{
    qint64 pid = 0;
    QString name; // the command name the kernel keeps for the process ("minicom"); empty when unknown
};

// The processes other than this one with a descriptor open on the device (given by its path or a link to it), in
// pid order. Processes whose descriptors this user may not see are missed.
QList<SProcess> ProcessesHoldingDevice(const QString& devicePath, const QString& procRoot);

// The command name of a process; empty when there is no such process.
QString ProcessName(qint64 pid, const QString& procRoot);

// Whether a process of that command name runs.
bool IsProgramRunning(const QString& name, const QString& procRoot);

// "minicom (process 1234)", or "process 1234" without a name.
QString Describe(const SProcess& process);

} // namespace PortHolders
