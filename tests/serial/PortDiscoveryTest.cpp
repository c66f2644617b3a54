#include "serial/PortDiscovery.h"

#include <gtest/gtest.h>

#include <climits>

using namespace PortDiscovery;

namespace {

struct SNumberedCase
{
    const char* name;
    QStringList friendlyNames;
    int itemCount;
    // Items that show a device's name: port number and the expected text.
    QList<QPair<int, QString>> namedItems;
};

void PrintTo(const SNumberedCase& c, std::ostream* out)
{
    *out << c.name;
}

class NumberedPortItemsTest : public ::testing::TestWithParam<SNumberedCase>
{
};

} // namespace

TEST(PortDiscovery, PortNumberJoinsEveryDigitOfTheName)
{
    const struct
    {
        const char* name;
        int number;
    } cases[] = {
        {"USB Serial Port (COM3)", 3},
        {"Communications Port (COM12)", 12},
        {"Port 2 (COM5)", 25},
        {"USB-SERIAL CH340 (COM4)", 3404},
        {"Modem", 0},
        {"", 0},
        {"COM007", 7},
        {"Adapter 123456789012 (COM3)", INT_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortNumberFromFriendlyName(QString::fromUtf8(c.name)), c.number) << c.name;
}

TEST_P(NumberedPortItemsTest, ShowsEachNumberOnce)
{
    const SNumberedCase& c = GetParam();
    const QStringList items = NumberedPortItems(c.friendlyNames);
    ASSERT_EQ(items.size(), c.itemCount);
    for (int port = 1; port <= c.itemCount; ++port) {
        QString expected = QStringLiteral("COM%1").arg(port);
        for (const auto& named : c.namedItems) {
            if (named.first == port)
                expected = named.second;
        }
        EXPECT_EQ(items.at(port - 1), expected) << "item for port " << port;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberedPortItemsTest,
    ::testing::Values(SNumberedCase{"NoDevices", {}, 20, {}},
                      SNumberedCase{"OneDeviceAmongThePlaceholders",
                                    {QStringLiteral("USB Serial Port (COM3)")},
                                    20,
                                    {{3, QStringLiteral("USB Serial Port (COM3)")}}},
                      SNumberedCase{"HighNumberExtendsTheList",
                                    {QStringLiteral("USB Serial Port (COM35)")},
                                    35,
                                    {{35, QStringLiteral("USB Serial Port (COM35)")}}},
                      SNumberedCase{"NumberBeyondTheLimitIsNotOffered", {QStringLiteral("Port (COM120)")}, 99, {}},
                      SNumberedCase{
                          "LastListedDeviceDecidesTheCount",
                          {QStringLiteral("USB Serial Port (COM25)"), QStringLiteral("USB Serial Port (COM3)")},
                          20,
                          {{3, QStringLiteral("USB Serial Port (COM3)")}}},
                      SNumberedCase{"OtherDigitsInTheNameChangeTheNumber",
                                    {QStringLiteral("Port 2 (COM5)")},
                                    25,
                                    {{25, QStringLiteral("Port 2 (COM5)")}}},
                      SNumberedCase{"FirstDeviceOfANumberWins",
                                    {QStringLiteral("First (COM4)"), QStringLiteral("Second (COM4)")},
                                    20,
                                    {{4, QStringLiteral("First (COM4)")}}},
                      SNumberedCase{"NameWithoutDigitsIsNotOffered", {QStringLiteral("Modem")}, 20, {}}),
    [](const ::testing::TestParamInfo<SNumberedCase>& info) { return std::string(info.param.name); });

TEST(PortDiscovery, DevicesAreSortedByPathAndLabelledWithTheirDescription)
{
    const QList<SSerialDevice> devices = {
        {QStringLiteral("/dev/ttyUSB10"), QStringLiteral("ttyUSB10"), QStringLiteral("CP2102 USB to UART")},
        {QStringLiteral("/dev/ttyUSB2"), QStringLiteral("ttyUSB2"), QStringLiteral("FT232R USB UART")},
        {QStringLiteral("/dev/ttyS0"), QStringLiteral("ttyS0"), QString()},
        {QStringLiteral("/dev/ttyACM0"), QStringLiteral("ttyACM0"), QStringLiteral("  ")},
    };
    const PortList ports = PortListFromDevices(devices, {});

    EXPECT_EQ(Labels(ports), (QStringList{QStringLiteral("ttyACM0"), QStringLiteral("ttyS0"),
                                          QStringLiteral("FT232R USB UART (ttyUSB2)"),
                                          QStringLiteral("CP2102 USB to UART (ttyUSB10)")}));
    EXPECT_EQ(DevicePathForPortNumber(ports, 1), QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(DevicePathForPortNumber(ports, 4), QStringLiteral("/dev/ttyUSB10"));
}

TEST(PortDiscovery, AdaptersOfOneModelDifferInManufacturerAndSerialNumber)
{
    const QList<SSerialDevice> devices = {
        {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("ttyUSB0"), QStringLiteral("FT232R USB UART"),
         QStringLiteral("FTDI"), QStringLiteral("A50285BI")},
        {QStringLiteral("/dev/ttyUSB1"), QStringLiteral("ttyUSB1"), QStringLiteral("FT232R USB UART"),
         QStringLiteral("FTDI"), QStringLiteral("A9J3K1QX")},
        // A manufacturer that the description names already is not repeated.
        {QStringLiteral("/dev/ttyUSB2"), QStringLiteral("ttyUSB2"), QStringLiteral("Silicon Labs CP2102"),
         QStringLiteral("Silicon Labs"), QString()},
        {QStringLiteral("/dev/ttyACM0"), QStringLiteral("ttyACM0"), QString(), QStringLiteral("Arduino"),
         QStringLiteral("7543")},
    };
    EXPECT_EQ(Labels(PortListFromDevices(devices, {})),
              (QStringList{QStringLiteral("Arduino, S/N 7543 (ttyACM0)"),
                           QStringLiteral("FT232R USB UART, FTDI, S/N A50285BI (ttyUSB0)"),
                           QStringLiteral("FT232R USB UART, FTDI, S/N A9J3K1QX (ttyUSB1)"),
                           QStringLiteral("Silicon Labs CP2102 (ttyUSB2)")}));
}

TEST(PortDiscovery, ExtraDevicesFollowTheListedOnesOnce)
{
    const QList<SSerialDevice> devices = {
        {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("ttyUSB0"), QStringLiteral("FT232R USB UART")},
    };
    const QStringList extras = {QStringLiteral("/tmp/scale"), QStringLiteral("/dev/ttyUSB0"),
                                QStringLiteral("/tmp//scale"), QStringLiteral("/dev/pts/4")};
    const PortList ports = PortListFromDevices(devices, extras);

    EXPECT_EQ(Labels(ports), (QStringList{QStringLiteral("FT232R USB UART (ttyUSB0)"), QStringLiteral("/tmp/scale"),
                                          QStringLiteral("/dev/pts/4")}));
    EXPECT_EQ(DevicePathForPortNumber(ports, 3), QStringLiteral("/dev/pts/4"));
}

TEST(PortDiscovery, PortNumbersOutsideTheListHaveNoDevice)
{
    const PortList ports = PortListFromDevices({}, {QStringLiteral("/tmp/scale")});
    for (const int number : {0, -1, 2, INT_MAX})
        EXPECT_TRUE(DevicePathForPortNumber(ports, number).isEmpty()) << number;
}

TEST(PortDiscovery, SystemListEndsWithTheExtraDevices)
{
    const QStringList extras = {QStringLiteral("/tmp/talvex-scale-a"), QStringLiteral("/tmp/talvex-scale-b")};
    const PortList ports = DiscoverSerialPorts(extras);
    ASSERT_GE(ports.size(), 2);
    EXPECT_EQ(ports.at(ports.size() - 2).devicePath, extras.at(0));
    EXPECT_EQ(ports.last().devicePath, extras.at(1));
}
