#pragma once

#include "app/Language.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "tools/CScaleLineRig.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

// The window's download path against the simulated scale on a pseudo-terminal: the real serial
// connection with its receive thread, the real session and its timers.
struct SScaleLineFixture
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CGridModel grid;
    CPluTable table{grid, settings.Settings(), prompt};
    CScaleLineRig rig;
    CSimulatedScale& scale = rig.scale;
    Portwire::CComPort& port = rig.port;
    CDownloadSession& session = rig.session;
    QString& label = rig.label;
    QString& toolTip = rig.toolTip;
    int& failedRow = rig.failedRow;

    SScaleLineFixture(EPluMode pluMode, ELimitMode limitMode, SScaleOptions options = {})
        : rig(table, prompt, [&] {
            options.pluMode = pluMode;
            options.limitMode = limitMode;
            return options;
        }())
    {
        Language::SetLanguageInForce(1033);
        settings.Settings().WriteInt(ESetting::PluMode, PluLayout::SettingOf(pluMode));
        settings.Settings().WriteInt(ESetting::LimMode, PluLayout::SettingOf(limitMode));
        table.EnterStoredMode();
        QString error;
        EXPECT_TRUE(rig.StartScale(&error)) << error.toStdString();
    }

    // Types the rows into the table the way a user completes them, entry row included.
    void Type(const std::vector<QStringList>& rows)
    {
        for (const QStringList& row : rows) {
            const int r = grid.RowCount() - 1;
            for (int column = 0; column < row.size(); ++column)
                grid.CommitEdit(r, column + 1, row[column]);
        }
    }

    // Puts count complete rows into the table at once (PLU No. 1 to 1008, then again from 1), followed
    // by the entry row, as an import does.
    void Fill(int count)
    {
        grid.ClearRows();
        for (int row = 0; row < count; ++row) {
            grid.InsertRow(row, QString::number(row + 1));
            grid.SetCellText(row, 1, QString::number(row % 1008 + 1));
            grid.SetCellText(row, 2, QString::number(row % 997 + 1) + QStringLiteral(".25"));
            grid.SetCellText(row, 4, QStringLiteral("Item %1").arg(row + 1));
        }
        table.AppendNewRow();
    }

    CDownloadSession::EStart Start(int baudRate = 115200) { return rig.Start(baudRate); }
    bool WaitForEnd(int timeoutMs = 10000) { return rig.WaitForEnd(timeoutMs); }

    // A new scale on a new line, as after plugging the adapter in again.
    void ReplaceScale(const SScaleOptions& options)
    {
        QString error;
        EXPECT_TRUE(rig.ReplaceScale(options, &error)) << error.toStdString();
    }
};

// The threads of this process, as the kernel lists them.
inline int ThreadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}
