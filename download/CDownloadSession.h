#pragma once

#include "download/CAckParser.h"
#include "download/PluRecord.h"
#include "download/TransferState.h"
#include "serial/IReceiver.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

class CPluTable;
class CTransferLog;
class IPrompt;
class ISerialLine;
namespace PromptWakeUps {
class CRequest;
}

// What a download needs to know: where the scale is, how fast the line runs, and how its texts are written.
struct SDownloadRequest
{
    QString devicePath; // the serial device of the scale
    QString portName;   // the device's stable name, for the transfer log; empty: the device path
    int baudRate = 0;
    int textCodePage = 0; // code page of the records' text fields: 936, 950, 65001, or 0 for the 8-bit one
    int firstRow = 0;     // the row to start at: 0, or the row a failed download stopped at
    int retries = 0;      // how often a record without an answer is sent again before the download fails
};

// One download of the PLU table to the scale: a record goes out, the scale acknowledges it, the
// next goes out. Everything here runs on the owner's thread; the serial line's receive thread
// only parses the scale's answers and queues each judged line, which reaches this thread in order.
// The session reports data (rows done, the outcome); the window and the command line show it.
class CDownloadSession : public QObject, private Portwire::IReceiver
{
    Q_OBJECT

public:
    enum class EStart
    {
        Started,        // the port opened; the outcome comes by finished(), possibly at once
        NoData,         // at most one row: "No data!" was shown
        AlreadyRunning, // a download is in progress; it goes on
        PortNotOpened,  // the port could not be opened; nothing changed
        SerialError,    // the port opened but could not be configured; the message was shown
    };

    static constexpr int kAcknowledgementTimeoutMs = 3000;

    CDownloadSession(CPluTable& table, ISerialLine& line, IPrompt& prompt, QObject* parent = nullptr);
    ~CDownloadSession() override;

    EStart Start(const SDownloadRequest& request);
    bool IsRunning() const { return m_running; }

    // Every download that starts appends its outcome to this log; null keeps no record.
    void SetTransferLog(const CTransferLog* log) { m_log = log; }

    // Tests shorten the acknowledgement time-out; the scale's real limit is the default.
    void SetAcknowledgementTimeoutMs(int milliseconds) { m_ackTimeoutMs = milliseconds; }

    int RowCursor() const { return m_rowCursor; }
    int RowCount() const { return m_rowCount; }
    // Of the last download: records written (resent ones included), acknowledged, and sent again.
    int RecordsSent() const { return m_recordsSent; }
    int RecordsAcknowledged() const { return m_recordsAcknowledged; }
    int RetriesMade() const { return m_retriesMade; }

Q_SIGNALS:
    // The port opened and the download begins at firstRow of rowCount rows.
    void started(int firstRow, int rowCount);
    // What became of the record of a row: each acknowledged row, and the row the download stopped at.
    void rowTransferred(int row, ETransferState state);
    // done of total rows are behind the download: (0, total) at the start, then after each
    // acknowledgement that leaves rows to send.
    void progress(int done, int total);
    // The download has ended. A failure names the row to blame (-1 when none is) and says why.
    void finished(bool success, int failedRow, const QString& reason);
    // Internal: the receive thread queued line events for TakeLineEvents.
    void lineEventsQueued();

private:
    using Clock = std::chrono::steady_clock;

    // What the receive thread learnt: a judged answer, or that the device went away.
    struct SLineEvent
    {
        quint64 generation;
        bool lost;
        CAckParser::EVerdict verdict;
        Clock::time_point receivedAt; // when the delivery that ended the answer came
        int lineLength;               // the answer's bytes
    };

    // On the receive thread: parse, queue, and return.
    void OnReceive(const char* bytes, int count) override;
    void OnConnectionLost() override;
    void PostLineEvent(const SLineEvent& event);

    // On the owner's thread: the queued events, in order.
    void TakeLineEvents();
    void OnAnswer(const SLineEvent& answer);
    // An answer counts only for a record that was written and not yet judged, only if it arrived after the record
    // was written, and on a serial device only if it came after the record could have crossed the line.
    bool AnswersRecordInFlight(const SLineEvent& answer) const;
    Clock::duration LineTime(int bytes) const;
    void OnLineLost(quint64 generation);
    void OnAcknowledgementTimeout();

    // The record of a row as its cells are now: the prepared one while the row still reads as it did, built
    // afresh otherwise.
    SPluRecord RecordAt(int row);
    // Builds the record that goes out after the one in flight, while the line is busy with that one, so that an
    // acknowledgement needs only a look at the row before the next record goes out.
    void PrepareNextRecord();
    // Sends the record of the row under the cursor, passing over rows without PLU No. or value.
    // False when nothing was written (end of table, a rejected row, or a write error).
    bool SendPluRecord();
    // Writes a record and puts it in flight; false (and the download failed) on a write error.
    bool WriteRecord(const QByteArray& bytes);
    void Fail(int row, const QString& reason);
    void Finish(bool success, int failedRow, const QString& reason);
    void ClosePort();

    CPluTable& m_table;
    ISerialLine& m_line;
    IPrompt& m_prompt;
    const CTransferLog* m_log = nullptr;
    SDownloadRequest m_request;
    QDateTime m_startedAt;

    QTimer m_ackTimer;   // no answer in time: the download failed
    QTimer m_closeTimer; // closes the port just after the last answer
    int m_ackTimeoutMs = kAcknowledgementTimeoutMs;

    bool m_running = false;
    unsigned m_textCodePage = 0;
    int m_goodsIdCodePage = 1252;
    int m_rowCursor = 0;
    int m_rowCount = 0;
    int m_baudRate = 0;
    bool m_pacedLine = true;       // bytes take their time on the line (not a pseudo-terminal)
    bool m_recordInFlight = false; // written, and not yet acknowledged or refused
    Clock::time_point m_writtenAt;
    Clock::duration m_recordCrossing{};
    QByteArray m_recordBytes; // the record in flight, for a resend
    // The next row's record and what it was built from; row -1 when none is prepared.
    struct SPreparedRecord
    {
        int row = -1;
        QVector<QString> cells;
        EPluMode pluMode = EPluMode::Counting;
        ELimitMode limitMode = ELimitMode::Off;
        SPluRecord record;
    };
    SPreparedRecord m_prepared;
    int m_retries = 0;
    int m_retriesLeft = 0; // for the record in flight
    int m_retriesMade = 0;
    int m_recordsSent = 0;
    int m_recordsAcknowledged = 0;
    bool m_sentAny = false;
    bool m_ended = false; // the outcome is out; the port closes on the close timer
    // Each answer waits for this thread to wake before the next record goes out; held while the port is open.
    std::unique_ptr<PromptWakeUps::CRequest> m_promptWakeUps;

    // Touched only by the receive thread; it starts afresh when a delivery of a new download comes.
    CAckParser m_parser;
    quint64 m_parserGeneration = 0;
    // The events on their way to the owner's thread. They pass under a lock of their own rather than
    // in the posted call, so that the hand-over is visible to thread checkers.
    std::mutex m_lineEventsMutex;
    std::vector<SLineEvent> m_lineEvents;
    // Answers of an earlier download that arrive late are recognised and dropped.
    std::atomic<quint64> m_generation{0};
};
