#pragma once

#include "serial/PortHolders.h"
#include "serial/SerialEnvironment.h"

#include <QList>
#include <QString>

// Why a port did not open, with what the system can tell about it, so that the message names the port and says
// what to do. The window and the command line show the same texts.
struct SPortOpenFailure
{
    QString device;                            // the device path or tcp:// address; empty when no port was chosen
    int error = 0;                             // errno; 0 when the port opened
    QString group = {};                        // permission denied: the group that owns the device
    QList<PortHolders::SProcess> holders = {}; // busy: the programs holding the device open
    QString lockFile = {};                     // busy: a live lock file, held by the first of the holders
    QString reason = {};                       // a reason of the network's own (an unknown host name)
    bool brlttyRunning = false; // a USB adapter failed while the braille driver, which claims such adapters, runs

    bool IsFailure() const { return error != 0; }
};

namespace PortOpenFailure {

// The failure of opening a device with this errno, with its group, its holders or the driver hint filled in.
SPortOpenFailure Examine(const QString& device, int error, const SSerialEnvironment& environment);

// After the device opened: refuses it as busy (error EBUSY) when a live lock file names another process, or when
// another process holds it open. A pseudo-terminal is not refused for its holders when the environment exempts it.
SPortOpenFailure CheckNotHeldElsewhere(int fd, const QString& devicePath, const SSerialEnvironment& environment);

// "Cannot open /dev/ttyUSB0: ..." with what to do; for a port that was not chosen, the request to choose one.
QString Message(const SPortOpenFailure& failure);

} // namespace PortOpenFailure
