#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The ports offered in the port selector, and the device behind each. Item i of the selector stands for port
// number i + 1, and CComPort opens port number n through entry n - 1 of the same list.
namespace PortDiscovery {

struct SPortEntry
{
    QString label;           // the selector's text
    QString devicePath;      // what CComPort opens
    QString stableName = {}; // the /dev/serial/by-id link, else empty: the device path stands for itself
};
using PortList = QList<SPortEntry>;

// The name under which a chosen port is remembered (see StablePortName).
QString StableNameOf(const SPortEntry& entry);

// A serial device as the system lists it.
struct SSerialDevice
{
    QString devicePath;        // "/dev/ttyUSB0"
    QString portName;          // "ttyUSB0"
    QString description;       // "FT232R USB UART", or empty
    QString manufacturer = {}; // "FTDI", or empty
    QString serialNumber = {}; // "A50285BI", or empty
};

// --- Systems that name their ports COMn and list devices by friendly name -------------------------------------

constexpr int kNumberedItemsMinimum = 20;
constexpr int kNumberedItemsMaximum = 99;

// Every decimal digit of the name joined and read as one number, so "Port 2 (COM5)" gives 25 and a name without
// digits gives 0. Saturates at INT_MAX.
int PortNumberFromFriendlyName(QStringView friendlyName);

// The selector items for devices listed by friendly name, in listing order: one item per port number from 1 to
// kNumberedItemsMinimum, or to the last listed device's number if that is larger (at most
// kNumberedItemsMaximum). A number with a device shows the first such device's name, any other "COM<n>".
QStringList NumberedPortItems(const QStringList& friendlyNames);

// --- Systems that list devices by path (Linux) ----------------------------------------------------------------

// The devices sorted by path (numbers within a path compared as numbers: ttyUSB2 before ttyUSB10), each shown as
// "<description>, <manufacturer>, S/N <serial number> (<port name>)" with what the system knows of these, or the
// bare port name; then the extra device paths (tcp:// addresses among them), shown as given, in their order. An
// extra path that is already listed is not repeated. Stable names come from the by-id folder, if one is given.
PortList PortListFromDevices(QList<SSerialDevice> devices, const QStringList& extraDevicePaths,
                             const QString& byIdDirectory = QString());

// The machine's serial devices (USB adapters, on-board ports with hardware behind them) and the extra paths.
PortList DiscoverSerialPorts(const QStringList& extraDevicePaths,
                             const QString& byIdDirectory = QStringLiteral("/dev/serial/by-id"));

QStringList Labels(const PortList& ports);

// The device of port number n (entry n - 1); empty when the list has no such entry.
QString DevicePathForPortNumber(const PortList& ports, int portNumber);

} // namespace PortDiscovery
