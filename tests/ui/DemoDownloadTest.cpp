#include "app/IRelauncher.h"
#include "app/Language.h"
#include "grid/CGridModel.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "tools/CSimulatedScale.h"
#include "ui/CTalvexDlg.h"
#include "ui/CommandIds.h"
#include "ui/grid/CMFCListCtrlEx.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CNoRelaunch final : public IRelauncher
{
public:
    bool Relaunch(const QString&, const QStringList&) override { return false; }
};

// The window as --demo starts it: the simulated scale is the port the program brings along.
struct SDemoWindow
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CNoRelaunch relauncher;
    CSimulatedScale scale;
    std::optional<CTalvexDlg> window;

    explicit SDemoWindow(int pluMode)
    {
        Language::SetLanguageInForce(1033);
        settings.Settings().WriteInt(ESetting::PluMode, pluMode);
        QString error;
        EXPECT_TRUE(scale.Start(&error)) << error.toStdString();
        SWindowOptions options;
        options.providedPort =
            SProvidedPort{{QStringLiteral("Simulated scale (%1)").arg(scale.DevicePath()), scale.DevicePath()},
                          [this](EPluMode layout, ELimitMode limits) { scale.SetMode(layout, limits); }};
        options.serialDevices = {QStringLiteral("/dev/does-not-exist")};
        window.emplace(settings.Settings(), prompt, relauncher, QStringList(), options);
        window->show();
    }

    void Type(int row, const QStringList& cells)
    {
        for (int column = 0; column < cells.size(); ++column)
            window->Grid().CommitEdit(row, column + 1, cells[column]);
    }
};

TEST(DemoDownload, TheSimulatedScaleIsTheLastPortAndTakesTheTable)
{
    SDemoWindow f(0);
    CTalvexDlg& window = *f.window;
    QComboBox& ports = window.PortSelector();
    ASSERT_GE(ports.count(), 2);
    EXPECT_EQ(ports.itemText(ports.count() - 2), QStringLiteral("/dev/does-not-exist"));
    EXPECT_TRUE(ports.currentText().startsWith(QStringLiteral("Simulated scale (/dev/pts/")))
        << ports.currentText().toStdString();

    f.Type(0, {QStringLiteral("12"), QStringLiteral("3.5"), QStringLiteral("K42"), QStringLiteral("Apples")});
    f.Type(1, {QStringLiteral("13"), QStringLiteral("1.25")});
    ASSERT_EQ(window.Grid().RowCount(), 3);
    window.BaudSelector().setCurrentIndex(6);
    window.OnCommand(CommandId::Download);
    // The port that opened and its baud rate are remembered for the next start.
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Port), ports.count() - 1);
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Bps), 6);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ProgressLabel().text() == QStringLiteral("Success"); }, 10000))
        << window.ProgressLabel().text().toStdString();
    const std::vector<QStringList> rows = f.scale.AcceptedRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].mid(0, 4), (QStringList{QStringLiteral("12"), QStringLiteral("3.50"), QStringLiteral("K42"),
                                              QStringLiteral("Apples")}));
    EXPECT_EQ(rows[1].mid(0, 2), (QStringList{QStringLiteral("13"), QStringLiteral("1.25")}));
    EXPECT_EQ(f.prompt.MessageCount(), 0);
}

TEST(DemoDownload, FollowsTheTablesLayoutAndShowsTheFailedRow)
{
    SDemoWindow f(0);
    CTalvexDlg& window = *f.window;
    window.OnCommand(CommandId::Counting); // nothing typed yet: no question
    f.Type(0, {QStringLiteral("1"), QStringLiteral("0.5")});
    f.Type(1, {QStringLiteral("2000"), QStringLiteral("0.5")});
    f.settings.Settings().WriteInt(ESetting::AckTimeout, 300);
    window.OnCommand(CommandId::Download);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ProgressLabel().text() == QStringLiteral("Fail!"); }, 10000));
    EXPECT_EQ(f.scale.AcceptedRows().size(), 1u); // the counting record was taken
    EXPECT_TRUE(window.ProgressLabel().toolTip().contains(QStringLiteral("2000")))
        << window.ProgressLabel().toolTip().toStdString();
    EXPECT_EQ(window.GridView().currentIndex().row(), 1);
}

} // namespace
