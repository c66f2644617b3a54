// The port selector follows the chosen device, and a port that does not open is reported.

#include "app/CSettings.h"
#include "app/IRelauncher.h"
#include "app/Language.h"
#include "grid/CGridModel.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "tools/CSimulatedScale.h"
#include "ui/CTalvexDlg.h"
#include "ui/CommandIds.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using PortDiscovery::PortList;
using PortDiscovery::SPortEntry;

namespace {

std::string Text(const QString& text)
{
    return text.toStdString();
}

class CNoRelaunch final : public IRelauncher
{
public:
    bool Relaunch(const QString&, const QStringList&) override { return false; }
};

const SPortEntry kAcm{QStringLiteral("ttyACM0"), QStringLiteral("/dev/ttyACM0")};
const SPortEntry kScaleA{QStringLiteral("FT232R USB UART, S/N A1 (ttyUSB0)"), QStringLiteral("/dev/ttyUSB0"),
                         QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0")};
const SPortEntry kScaleB{QStringLiteral("FT232R USB UART, S/N B2 (ttyUSB1)"), QStringLiteral("/dev/ttyUSB1"),
                         QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_B2-if00-port0")};

// The window over its own settings, with a port list the test changes as adapters come and go.
struct SPortWindow
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CNoRelaunch relauncher;
    PortList ports;
    std::optional<CTalvexDlg> window;

    CTalvexDlg& Open()
    {
        Language::SetLanguageInForce(1033);
        SWindowOptions options;
        options.discoverPorts = [this](const QStringList&) { return ports; };
        window.emplace(settings.Settings(), prompt, relauncher, QStringList(), options);
        window->show();
        return *window;
    }

    // Two complete counting rows and the entry row.
    void TypeTable()
    {
        window->Grid().CommitEdit(0, 1, QStringLiteral("5"));
        window->Grid().CommitEdit(0, 2, QStringLiteral("0.25"));
        window->Grid().CommitEdit(1, 1, QStringLiteral("6"));
        window->Grid().CommitEdit(1, 2, QStringLiteral("1.5"));
    }
};

TEST(PortSelector, TheStoredDeviceIsSelectedByItsNameAndFollowedAsAdaptersComeAndGo)
{
    SPortWindow f;
    f.settings.Settings().WriteInt(ESetting::Port, 0);
    f.settings.Settings().WriteInt(ESetting::PluMode, 1);
    f.settings.Settings().WriteString(ESetting::PortName, kScaleB.stableName);
    f.ports = {kAcm, kScaleB, kScaleA}; // the order changed since the download that stored it
    CTalvexDlg& window = f.Open();
    EXPECT_EQ(Text(window.PortSelector().currentText()), Text(kScaleB.label));

    // Unplugged: the list opens without it, and nothing is selected rather than another scale.
    f.ports = {kAcm, kScaleA};
    window.PortSelector().showPopup();
    window.PortSelector().hidePopup();
    EXPECT_EQ(window.PortSelector().count(), 2);
    EXPECT_EQ(window.PortIndex(), -1);

    // Download then asks for a port and changes nothing.
    f.TypeTable();
    window.OnCommand(CommandId::Download);
    ASSERT_EQ(f.prompt.MessageCount(), 1);
    EXPECT_EQ(Text(f.prompt.messages.back().text), "No port is chosen. Choose the scale's port, then try again.");
    EXPECT_EQ(Text(window.ProgressLabel().text()), "   ");
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Port), 0);

    // Plugged in again, in another place: selected again.
    f.ports = {kScaleB, kAcm, kScaleA};
    window.RefreshPorts();
    EXPECT_EQ(window.PortIndex(), 0);

    // A device the user picks is the one followed from then on.
    window.PortSelector().setCurrentIndex(2);
    Q_EMIT window.PortSelector().activated(2);
    f.ports = {kAcm, kScaleA};
    window.RefreshPorts();
    EXPECT_EQ(Text(window.PortSelector().currentText()), Text(kScaleA.label));
}

TEST(PortSelector, APortThatDoesNotOpenFailsWithTheReasonAndStoresNothing)
{
    SPortWindow f;
    f.settings.Settings().WriteInt(ESetting::PluMode, 1);
    f.ports = {{QStringLiteral("ttyUSB9"), QStringLiteral("/dev/ttyUSB9-unplugged")}};
    CTalvexDlg& window = f.Open();
    f.TypeTable();
    window.OnCommand(CommandId::Download);

    const std::string reason = "Cannot open /dev/ttyUSB9-unplugged: the device is no longer there. Plug it in again, "
                               "then choose its port.";
    EXPECT_EQ(Text(window.ProgressLabel().text()), "Fail!");
    EXPECT_EQ(Text(window.ProgressLabel().toolTip()).substr(0, reason.size()), reason);
    ASSERT_EQ(f.prompt.MessageCount(), 1);
    EXPECT_EQ(Text(f.prompt.messages.back().text), Text(window.ProgressLabel().toolTip()));
    EXPECT_FALSE(f.settings.Settings().Contains(ESetting::Port));
    EXPECT_FALSE(f.settings.Settings().Contains(ESetting::PortName));
}

TEST(PortSelector, ADownloadRemembersTheDeviceByItsStableName)
{
    CSimulatedScale scale;
    QString error;
    ASSERT_TRUE(scale.Start(&error)) << Text(error);
    SPortWindow f;
    f.settings.Settings().WriteInt(ESetting::PluMode, 1);
    const QString stableName = QStringLiteral("/dev/serial/by-id/usb-Scale_Line_S1-if00-port0");
    f.ports = {kAcm, {QStringLiteral("Scale line (pts)"), scale.DevicePath(), stableName}};
    CTalvexDlg& window = f.Open();
    window.PortSelector().setCurrentIndex(1);
    Q_EMIT window.PortSelector().activated(1);
    f.TypeTable();
    window.OnCommand(CommandId::Download);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ProgressLabel().text() == QStringLiteral("Success"); }, 10000))
        << Text(window.ProgressLabel().toolTip());

    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Port), 1);
    EXPECT_EQ(Text(f.settings.Settings().ReadString(ESetting::PortName)), Text(stableName));
}

} // namespace
