#pragma once

#include "serial/PortDiscovery.h"

// Which entry of a port list stands for the device the user chose. A chosen device is followed by its stable
// name, so that plugging adapters in or out, which moves entries, never turns the selection to another device.
namespace PortSelection {

// The entry whose stable name or device path is the name; -1 when none is.
int IndexOfName(const PortDiscovery::PortList& ports, const QString& name);

// The entry to select at start: the stored device's, found by its stable name (-1 when that device is absent);
// without a stored name, the stored index (-1 when it has no entry).
int InitialIndex(const PortDiscovery::PortList& ports, const QString& storedName, int storedIndex);

} // namespace PortSelection
