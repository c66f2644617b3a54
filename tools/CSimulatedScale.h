#pragma once

#include "plu/PluLayout.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// What the simulated scale is and how it misbehaves when asked to.
struct SScaleOptions
{
    EPluMode pluMode = EPluMode::Counting;
    ELimitMode limitMode = ELimitMode::Off; // counting records with Hi and Lo
    int textCodePage = 65001;               // for decoding the text fields into the CSV
    int goodsIdCodePage = 65001;
    QString csvPath;               // accepted rows are written here as CSV; empty for none
    int refuseRecord = 0;          // answer "SP" "NG" to this record (1-based); 0 never
    int silentRecord = 0;          // do not answer this record (1-based); 0 never
    int silentFrom = 0;            // do not answer this record and every later one; 0 never
    int disconnectAtRecord = 0;    // vanish (hang up the line) on receiving this record; 0 never
    int disconnectMidRecord = 0;   // vanish when half of this record has arrived; 0 never
    int replyDelayMs = 0;          // wait this long before each answer
    int paceBaud = 0;              // take as long as a real line at this baud rate (10 bits a byte); 0 instant
    QByteArray garbageBeforeReply; // bytes sent before every answer
    int garbageGapMs = 0;          // pause between those bytes and the answer
    int splitReplyGapMs = 0;       // send each answer a byte at a time with this gap; 0 in one piece
    int answerTwiceRecord = 0;     // answer this record (1-based) a second time; 0 never
    int secondAnswerGapMs = 0;     // pause between the first answer and the second; 0 sends both in one write
};

// A scale on a pseudo-terminal (or a real device) that checks each PLU record it receives,
// answers STX "SP" "OK" CR LF, and keeps the rows it accepted. Runs on a thread of its own.
class CSimulatedScale
{
public:
    explicit CSimulatedScale(SScaleOptions options = {});
    ~CSimulatedScale();

    CSimulatedScale(const CSimulatedScale&) = delete;
    CSimulatedScale& operator=(const CSimulatedScale&) = delete;

    // Opens a new pseudo-terminal; DevicePath() is the side the program opens.
    bool Start(QString* error = nullptr);
    // Listens on an existing serial device instead, at the given baud rate.
    bool StartOnDevice(const QString& devicePath, int baud, QString* error = nullptr);
    void Stop();
    // Hangs up the line at once, as an unplugged adapter would.
    void Disconnect();

    QString DevicePath() const { return m_devicePath; }
    // Changes the kind of records the scale takes (the program's table changed its layout).
    void SetMode(EPluMode pluMode, ELimitMode limitMode);
    // Changes how the scale misbehaves from the next record on (record numbers keep counting from the
    // start); the mode and the CSV file stay as they are.
    void SetOptions(const SScaleOptions& options);
    bool IsRunning() const { return m_thread.joinable(); }

    int RecordsReceived() const;
    // Records whose (first) answer has begun to go out.
    int RecordsAnswered() const;
    // How long the program took, on average, from writing an answer to the first byte of the next record.
    double MeanTurnaroundMs() const;
    // How late, on average, the scale's bytes went out against the line it paces: the simulation's own delay, which
    // a real line does not have.
    double MeanLatenessMs() const;
    // The rows accepted so far, decoded (see ScaleRecord::DecodeRecord).
    std::vector<QStringList> AcceptedRows() const;
    // Every record received, as bytes.
    std::vector<QByteArray> ReceivedRecords() const;
    // Problems with what was received (malformed records), in words.
    QStringList Problems() const;
    // Forgets the records, rows and problems kept so far (a long run would hold them all); the count
    // of records received goes on.
    void ForgetReceived();
    // Waits until this many records were received; false on time-out.
    bool WaitForRecords(int count, int timeoutMs) const;

private:
    void Run();
    using Clock = std::chrono::steady_clock;

    // Bytes that were read at readAt.
    void Feed(const char* bytes, int count, Clock::time_point readAt);
    void HandleRecord(const QByteArray& record);
    bool Answer(const QByteArray& reply, bool firstAnswer);
    // Takes the options that SetOptions left, on the scale's thread.
    void AdoptNewOptions();
    // Closes the line as an unplugged adapter would; the scale takes nothing more.
    void Vanish();
    // Waits until this many bytes sent now would have crossed the line; false when stopped.
    bool WaitForOutboundLine(int bytes);
    bool WriteAll(const char* bytes, int count);
    // Sleeps, unless the scale is stopped meanwhile; false when stopped.
    bool Pause(qint64 microseconds);
    bool PauseUntil(std::chrono::steady_clock::time_point deadline);
    Clock::duration LineTime(int bytes) const;
    void AppendCsv(const QStringList& row);
    void CloseDevice();

    EPluMode PluMode() const { return m_pluMode.load(); }
    ELimitMode LimitMode() const { return m_limitMode.load(); }

    SScaleOptions m_options; // the scale thread's own copy
    SScaleOptions m_newOptions;
    bool m_hasNewOptions = false; // guarded by m_mutex, as m_newOptions
    std::atomic<EPluMode> m_pluMode{EPluMode::Counting};
    std::atomic<ELimitMode> m_limitMode{ELimitMode::Off};
    QString m_devicePath;
    int m_masterFd = -1;
    int m_slaveHoldFd = -1; // keeps the pseudo-terminal alive between the program's downloads
    int m_wakeFd = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_disconnect{false};
    std::thread m_thread;

    QByteArray m_pending;
    qint64 m_lastByteAt = 0;
    // The scale's line in each direction: when the last byte received, the last record, and the last byte sent
    // have crossed it (10 bits a byte at the paced rate).
    Clock::time_point m_inboundFreeAt;
    Clock::time_point m_recordReadAt; // when the scale read the first byte of the record it is taking
    Clock::time_point m_recordCrossedAt;
    Clock::time_point m_outboundFreeAt;
    bool m_keepingTime = false; // the thread asked to be scheduled as a line keeps time

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_recordArrived;
    int m_recordCount = 0;
    int m_answeredCount = 0;
    bool m_answered = false; // an answer went out and no record has come since
    std::chrono::steady_clock::time_point m_lastAnswerAt;
    std::chrono::steady_clock::duration m_turnaroundTotal{};
    int m_turnarounds = 0;
    std::chrono::steady_clock::duration m_latenessTotal{};
    int m_latenessCount = 0;
    std::vector<QByteArray> m_records;
    std::vector<QStringList> m_rows;
    QStringList m_problems;
};
