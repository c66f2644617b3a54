#pragma once

#include "download/CAckParser.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <mutex>
#include <vector>

class CPluTable;
class CSettings;
class IPrompt;
class ISerialLine;

// What the Download command takes from the window's selectors.
struct SDownloadRequest
{
    int portIndex = -1;     // selected entry of the port selector; the port number is one more
    int baudIndex = -1;     // selected entry of the baud selector
    QString baudText;       // its text, e.g. "9600"
    int encodingIndex = -1; // selected entry of the encoding selector
};

// One download of the PLU table to the scale: a record goes out, the scale acknowledges it, the
// next goes out. Everything here runs on the window's thread; the serial line's receive thread
// only parses the scale's answers and hands each judged line over, in order, by queued calls.
class CDownloadSession : public QObject
{
    Q_OBJECT

public:
    enum class EStart
    {
        Started,
        NoData,         // at most one row: "No data!" was shown
        AlreadyRunning, // a download is in progress; it goes on
        PortNotOpened,  // the port could not be opened; nothing changed
        SerialError,    // the port opened but failed; the message was shown
    };

    static constexpr int kAcknowledgementTimeoutMs = 3000;

    CDownloadSession(CPluTable& table, ISerialLine& line, CSettings& settings, IPrompt& prompt,
                     QObject* parent = nullptr);
    ~CDownloadSession() override;

    EStart Start(const SDownloadRequest& request);
    bool IsRunning() const { return m_running; }

    // Tests shorten the acknowledgement time-out; the scale's real limit is the default.
    void SetAcknowledgementTimeoutMs(int milliseconds) { m_ackTimeoutMs = milliseconds; }

    int TextCodePage() const { return m_textCodePage; }
    int RowCursor() const { return m_rowCursor; }
    int RowCount() const { return m_rowCount; }

Q_SIGNALS:
    // The progress label: " 0%", "%2d%%", the success text or "Fail!", with a tooltip that says why.
    void labelChanged(const QString& text, const QString& toolTip);
    // The download failed at this row (-1 when no row is to blame); the window shows the row.
    void failedAtRow(int row);
    void finished(bool success);

private Q_SLOTS:
    // Hands the events that the receive thread queued to OnVerdict and OnConnectionLost, in order.
    void TakeLineEvents();

private:
    // What the receive thread learnt: a judged answer, or that the device went away.
    struct SLineEvent
    {
        quint64 generation;
        bool lost;
        CAckParser::EVerdict verdict;
    };

    static void OnPortData(void* context, const char* bytes, int count);
    static void OnLineLost(void* context);
    // Queues an event for the window's thread, from the receive thread.
    void PostLineEvent(const SLineEvent& event);

    void OnVerdict(quint64 generation, CAckParser::EVerdict verdict);
    void OnConnectionLost(quint64 generation);
    void OnAcknowledgementTimeout();
    void OnCloseTimer();

    // Sends the record of the row under the cursor, passing over rows without PLU No. or value.
    // False when nothing was written (end of table, a rejected row, or a write error).
    bool SendPluRecord();
    void Fail(int row, const QString& reason);
    void Finish(bool success, const QString& label, const QString& toolTip);
    void ClosePort();

    CPluTable& m_table;
    ISerialLine& m_line;
    CSettings& m_settings;
    IPrompt& m_prompt;

    QTimer m_ackTimer;   // no answer in time: the download failed
    QTimer m_closeTimer; // closes the port just after the last answer
    int m_ackTimeoutMs = kAcknowledgementTimeoutMs;

    bool m_running = false;
    int m_textCodePage = 0;
    int m_goodsIdCodePage = 1252;
    int m_rowCursor = 0;
    int m_rowCount = 0;
    int m_rejectedRow = -1;
    QString m_rejectedReason;
    bool m_sentAny = false;
    bool m_writeFailed = false;

    // Touched only by the receive thread; it starts afresh when a delivery of a new download comes.
    CAckParser m_parser;
    quint64 m_parserGeneration = 0;
    // The events on their way to the window's thread. They pass under a lock of their own rather than
    // in the posted call, so that the hand-over is visible to thread checkers.
    std::mutex m_lineEventsMutex;
    std::vector<SLineEvent> m_lineEvents;
    // Answers of an earlier download that arrive late are recognised and dropped.
    std::atomic<quint64> m_generation{0};
};
