#pragma once

#include "download/CComPortLine.h"
#include "download/CDownloadSession.h"
#include "serial/CComPort.h"
#include "tools/CSimulatedScale.h"

#include <QString>
#include <QStringList>

class CPluTable;
class IPrompt;

// A download of a table to the simulated scale on a pseudo-terminal, through the real serial connection with its
// receive thread and the session with its timers: what the download's end-to-end tests and benchmarks share. It
// keeps the progress label as the window shows it.
class CScaleLineRig
{
public:
    CScaleLineRig(CPluTable& table, IPrompt& prompt, const SScaleOptions& options);

    // Starts the scale; false with the reason when no pseudo-terminal could be had.
    bool StartScale(QString* error = nullptr);
    // A new scale on a new line, as after plugging the adapter in again.
    bool ReplaceScale(const SScaleOptions& options, QString* error = nullptr);

    CDownloadSession::EStart Start(int baudRate = 115200, int textCodePage = 65001);
    // Runs the event loop until the download has ended and the port is closed; false on time-out. The loop sleeps
    // in the event dispatcher, as the window's does, so an answer is handled as soon as it arrives.
    bool WaitForEnd(int timeoutMs = 10000);
    bool HasEnded() const { return !session.IsRunning() && !port.IsOpen(); }

    CSimulatedScale scale;
    Portwire::CComPort port;
    CComPortLine line{port};
    CDownloadSession session;

    // What the window would show of the last download.
    QString label;
    QString toolTip;
    int failedRow = -1;
    QStringList labels;     // every label text of the last download, in order
    int answeredAtEnd = -1; // records the scale had answered when the download ended
};
