#pragma once

#include <QString>

// A name that keeps leading to the same device when adapters are plugged in another order: udev's link in
// /dev/serial/by-id (made of the adapter's model and serial number) when there is one, else the device path.
namespace StablePortName {

QString ForDevice(const QString& devicePath, const QString& byIdDirectory);

} // namespace StablePortName
