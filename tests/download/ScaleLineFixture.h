#pragma once

#include "app/Language.h"
#include "download/CComPortLine.h"
#include "download/CDownloadSession.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "serial/CComPort.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "tools/CSimulatedScale.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

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
    CSimulatedScale scale;
    Portwire::CComPort port;
    CComPortLine line{port};
    CDownloadSession session{table, line, settings.Settings(), prompt};
    QString label;
    QString toolTip;
    int failedRow = -1;

    SScaleLineFixture(EPluMode pluMode, ELimitMode limitMode, SScaleOptions options = {})
        : scale([&] {
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
        EXPECT_TRUE(scale.Start(&error)) << error.toStdString();
        port.SetPorts({{QStringLiteral("Simulated scale"), scale.DevicePath()}});
        QObject::connect(&session, &CDownloadSession::labelChanged, &session,
                         [this](const QString& t, const QString& tip) {
                             label = t;
                             toolTip = tip;
                         });
        QObject::connect(&session, &CDownloadSession::failedAtRow, &session, [this](int row) { failedRow = row; });
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

    CDownloadSession::EStart Start(int encoding = 3)
    {
        label.clear();
        toolTip.clear();
        failedRow = -1;
        SDownloadRequest request;
        request.portIndex = 0;
        request.baudIndex = 6;
        request.baudText = QStringLiteral("115200");
        request.encodingIndex = encoding;
        return session.Start(request);
    }

    // Runs the event loop until the download has ended and the port is closed. The loop sleeps in
    // the event dispatcher, as the window's does, so an answer that comes just before the time-out is
    // handled as soon as it arrives.
    bool WaitForEnd(int timeoutMs = 10000)
    {
        const auto ended = [this] { return !session.IsRunning() && !port.IsOpen(); };
        QEventLoop loop;
        QTimer check;
        QElapsedTimer waited;
        waited.start();
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (ended() || waited.elapsed() > timeoutMs)
                loop.quit();
        });
        check.start(5);
        loop.exec();
        return ended();
    }

    // A new scale on a new line, as after plugging the adapter in again.
    void ReplaceScale(const SScaleOptions& options)
    {
        scale.Stop();
        scale.SetOptions(options);
        QString error;
        EXPECT_TRUE(scale.Start(&error)) << error.toStdString();
        port.SetPorts({{QStringLiteral("Simulated scale"), scale.DevicePath()}});
    }
};

// The threads of this process, as the kernel lists them.
inline int ThreadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}
