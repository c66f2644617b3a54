#include "serial/PortDiscovery.h"

#include "serial/StablePortName.h"
#include "serial/TcpTransport.h"

#include <QDir>
#include <QSerialPortInfo>

#include <algorithm>
#include <climits>

namespace PortDiscovery {

namespace {

// Path order in which a run of digits counts as a number.
bool NaturalLess(const QString& left, const QString& right)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < left.size() && j < right.size()) {
        if (left[i].isDigit() && right[j].isDigit()) {
            const qsizetype leftStart = i;
            const qsizetype rightStart = j;
            while (i < left.size() && left[i].isDigit())
                ++i;
            while (j < right.size() && right[j].isDigit())
                ++j;
            QStringView leftRun = QStringView(left).mid(leftStart, i - leftStart);
            QStringView rightRun = QStringView(right).mid(rightStart, j - rightStart);
            while (leftRun.size() > 1 && leftRun.front() == u'0')
                leftRun = leftRun.mid(1);
            while (rightRun.size() > 1 && rightRun.front() == u'0')
                rightRun = rightRun.mid(1);
            if (leftRun.size() != rightRun.size())
                return leftRun.size() < rightRun.size();
            const int order = leftRun.compare(rightRun);
            if (order != 0)
                return order < 0;
            continue;
        }
        if (left[i] != right[j])
            return left[i] < right[j];
        ++i;
        ++j;
    }
    if ((left.size() - i) != (right.size() - j))
        return (left.size() - i) < (right.size() - j);
    return left < right;
}

// Two adapters of one model differ in their serial number, so it is shown with the rest.
QString DeviceLabel(const SSerialDevice& device)
{
    QStringList parts;
    const QString description = device.description.trimmed();
    const QString manufacturer = device.manufacturer.trimmed();
    const QString serialNumber = device.serialNumber.trimmed();
    if (!description.isEmpty())
        parts.append(description);
    if (!manufacturer.isEmpty() && !description.contains(manufacturer, Qt::CaseInsensitive))
        parts.append(manufacturer);
    if (!serialNumber.isEmpty())
        parts.append(QStringLiteral("S/N ") + serialNumber);
    if (parts.isEmpty())
        return device.portName;
    return QStringLiteral("%1 (%2)").arg(parts.join(QStringLiteral(", ")), device.portName);
}

QString StableName(const QString& devicePath, const QString& byIdDirectory)
{
    if (byIdDirectory.isEmpty() || TcpTransport::IsTcpAddress(devicePath))
        return QString();
    const QString name = StablePortName::ForDevice(devicePath, byIdDirectory);
    return name == devicePath ? QString() : name;
}

} // namespace

int PortNumberFromFriendlyName(QStringView friendlyName)
{
    int number = 0;
    for (const QChar c : friendlyName) {
        if (c < u'0' || c > u'9')
            continue;
        const int digit = c.unicode() - u'0';
        if (number > (INT_MAX - digit) / 10)
            return INT_MAX;
        number = number * 10 + digit;
    }
    return number;
}

QStringList NumberedPortItems(const QStringList& friendlyNames)
{
    QList<int> numbers;
    numbers.reserve(friendlyNames.size());
    for (const QString& name : friendlyNames)
        numbers.append(PortNumberFromFriendlyName(name));

    // The last device listed decides, not the largest number.
    int itemCount = kNumberedItemsMinimum;
    if (!numbers.isEmpty() && numbers.last() > kNumberedItemsMinimum)
        itemCount = std::min(numbers.last(), kNumberedItemsMaximum);

    QStringList items;
    items.reserve(itemCount);
    for (int port = 1; port <= itemCount; ++port) {
        const qsizetype index = numbers.indexOf(port);
        items.append(index >= 0 ? friendlyNames.at(index) : QStringLiteral("COM%1").arg(port));
    }
    return items;
}

QString StableNameOf(const SPortEntry& entry)
{
    return entry.stableName.isEmpty() ? entry.devicePath : entry.stableName;
}

PortList PortListFromDevices(QList<SSerialDevice> devices, const QStringList& extraDevicePaths,
                             const QString& byIdDirectory)
{
    std::stable_sort(devices.begin(), devices.end(), [](const SSerialDevice& left, const SSerialDevice& right) {
        return NaturalLess(left.devicePath, right.devicePath);
    });
    PortList ports;
    QStringList listedPaths;
    for (const SSerialDevice& device : devices) {
        ports.append({DeviceLabel(device), device.devicePath, StableName(device.devicePath, byIdDirectory)});
        listedPaths.append(QDir::cleanPath(device.devicePath));
    }
    for (const QString& path : extraDevicePaths) {
        const QString cleanPath = QDir::cleanPath(path);
        if (path.isEmpty() || listedPaths.contains(cleanPath))
            continue;
        ports.append({path, path, StableName(path, byIdDirectory)});
        listedPaths.append(cleanPath);
    }
    return ports;
}

PortList DiscoverSerialPorts(const QStringList& extraDevicePaths, const QString& byIdDirectory)
{
    QList<SSerialDevice> devices;
    const QList<QSerialPortInfo> available = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : available)
        devices.append(
            {info.systemLocation(), info.portName(), info.description(), info.manufacturer(), info.serialNumber()});
    return PortListFromDevices(std::move(devices), extraDevicePaths, byIdDirectory);
}

QStringList Labels(const PortList& ports)
{
    QStringList labels;
    labels.reserve(ports.size());
    for (const SPortEntry& port : ports)
        labels.append(port.label);
    return labels;
}

QString DevicePathForPortNumber(const PortList& ports, int portNumber)
{
    if (portNumber < 1 || portNumber > ports.size())
        return QString();
    return ports.at(portNumber - 1).devicePath;
}

} // namespace PortDiscovery
