// The device a user chose is found again by its stable name, whatever place it has in the list.

#include "PtyPair.h"

#include "serial/PortDiscovery.h"
#include "serial/PortSelection.h"
#include "serial/StablePortName.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace PortDiscovery;

namespace {

std::string Text(const QString& text)
{
    return text.toStdString();
}

TEST(StablePortName, TheByIdLinkOfADeviceElseItsPath)
{
    CPtyPair first;
    CPtyPair second;
    ASSERT_TRUE(first.IsValid() && second.IsValid());
    QTemporaryDir byId;
    const QString link = byId.filePath(QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
    ASSERT_TRUE(QFile::link(first.SlavePath(), link));

    EXPECT_EQ(Text(StablePortName::ForDevice(first.SlavePath(), byId.path())), Text(link));
    EXPECT_EQ(Text(StablePortName::ForDevice(link, byId.path())), Text(link));
    EXPECT_EQ(Text(StablePortName::ForDevice(second.SlavePath(), byId.path())), Text(second.SlavePath()));
    EXPECT_EQ(Text(StablePortName::ForDevice(QStringLiteral("/dev/ttyGone9"), byId.path())), "/dev/ttyGone9");

    // The port list carries the link; a device without one stands for itself.
    const PortList ports = PortListFromDevices({}, {first.SlavePath(), second.SlavePath()}, byId.path());
    ASSERT_EQ(ports.size(), 2);
    EXPECT_EQ(Text(StableNameOf(ports[0])), Text(link));
    EXPECT_EQ(Text(StableNameOf(ports[1])), Text(second.SlavePath()));
}

TEST(PortSelection, TheStoredDeviceIsSelectedWhereverItIsListed)
{
    const SPortEntry acm{QStringLiteral("ttyACM0"), QStringLiteral("/dev/ttyACM0")};
    const SPortEntry scaleA{QStringLiteral("FT232R USB UART, S/N A1 (ttyUSB0)"), QStringLiteral("/dev/ttyUSB0"),
                            QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0")};
    const SPortEntry scaleB{QStringLiteral("FT232R USB UART, S/N B2 (ttyUSB1)"), QStringLiteral("/dev/ttyUSB1"),
                            QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_B2-if00-port0")};
    // Plugged in the other order, the adapters swap their device names.
    SPortEntry scaleBFirst = scaleB;
    scaleBFirst.devicePath = QStringLiteral("/dev/ttyUSB0");
    SPortEntry scaleASecond = scaleA;
    scaleASecond.devicePath = QStringLiteral("/dev/ttyUSB1");
    const QString nameOfB = scaleB.stableName;
    const struct
    {
        const char* name;
        PortList ports;
        QString storedName;
        int storedIndex;
        int selected;
    } cases[] = {
        {"same order", {scaleA, scaleB}, nameOfB, 1, 1},
        {"a CDC device listed before it", {acm, scaleA, scaleB}, nameOfB, 1, 2},
        {"plugged in the other order", {scaleBFirst, scaleASecond}, nameOfB, 1, 0},
        {"absent: nothing, not another device", {acm, scaleA}, nameOfB, 1, -1},
        {"a device without link, by its path", {acm, scaleA}, QStringLiteral("/dev/ttyACM0"), 1, 0},
        {"no stored name: the stored index", {acm, scaleA, scaleB}, QString(), 1, 1},
        {"no stored name, index without entry", {acm}, QString(), 3, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortSelection::InitialIndex(c.ports, c.storedName, c.storedIndex), c.selected) << c.name;
}

} // namespace
