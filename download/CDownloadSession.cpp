#include "download/CDownloadSession.h"

#include "app/IPrompt.h"
#include "app/Language.h"
#include "app/StringTable.h"
#include "download/CTransferLog.h"
#include "download/ISerialLine.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "serial/PromptWakeUps.h"

#include <algorithm>

CDownloadSession::CDownloadSession(CPluTable& table, ISerialLine& line, IPrompt& prompt, QObject* parent)
    : QObject(parent)
    , m_table(table)
    , m_line(line)
    , m_prompt(prompt)
{
    m_ackTimer.setSingleShot(true);
    // A coarse timer may fire 5% early, at 2850 ms: the scale's 3 s are meant to the millisecond.
    m_ackTimer.setTimerType(Qt::PreciseTimer);
    m_closeTimer.setSingleShot(true);
    m_closeTimer.setInterval(1);
    connect(&m_ackTimer, &QTimer::timeout, this, &CDownloadSession::OnAcknowledgementTimeout);
    connect(&m_closeTimer, &QTimer::timeout, this, &CDownloadSession::ClosePort);
    // Emitted on the receive thread; the queued connection runs the member on this object's thread, in order.
    connect(this, &CDownloadSession::lineEventsQueued, this, &CDownloadSession::TakeLineEvents, Qt::QueuedConnection);
}

CDownloadSession::~CDownloadSession()
{
    // Stops the receive thread before the parser it calls goes away.
    ClosePort();
}

CDownloadSession::EStart CDownloadSession::Start(const SDownloadRequest& request)
{
    if (m_running || m_line.IsOpen())
        return EStart::AlreadyRunning;
    if (m_table.RowCount() <= 1) {
        m_prompt.ShowMessage(ApplicationCaption(), LoadString(StringId::NoData), IPrompt::EIcon::Information);
        return EStart::NoData;
    }
    QString error;
    if (!m_line.Open(request.devicePath, request.baudRate, &error)) {
        if (error.isEmpty())
            return EStart::PortNotOpened;
        m_prompt.ShowMessage(ApplicationCaption(), error, IPrompt::EIcon::Error);
        ClosePort();
        return EStart::SerialError;
    }
    // The receive thread resets its parser when the first delivery of this generation comes: the
    // parser is never touched from here, even by bytes that arrive between the open and now.
    ++m_generation;
    m_line.SetReceiver(this);
    if (!m_promptWakeUps)
        m_promptWakeUps = std::make_unique<PromptWakeUps::CRequest>();

    m_running = true;
    m_request = request;
    m_startedAt = QDateTime::currentDateTimeUtc();
    m_rowCount = m_table.RowCount();
    m_rowCursor = std::clamp(request.firstRow, 0, m_rowCount);
    m_retries = std::max(0, request.retries);
    m_retriesLeft = 0;
    m_retriesMade = 0;
    m_recordsSent = 0;
    m_recordsAcknowledged = 0;
    Q_EMIT started(m_rowCursor, m_rowCount);
    Q_EMIT progress(m_rowCursor, m_rowCount);
    m_textCodePage = unsigned(request.textCodePage);
    // Every record of one download uses the same code page for Goods Id.
    m_goodsIdCodePage = Language::AnsiCodePage(Language::LanguageInForce());
    m_baudRate = request.baudRate;
    m_pacedLine = m_line.IsPacedByBaudRate();
    m_recordInFlight = false;
    m_sentAny = false;
    m_ended = false;
    m_prepared = SPreparedRecord();

    SendPluRecord();
    if (!m_ended) {
        m_ackTimer.start(m_ackTimeoutMs);
        PrepareNextRecord();
    }
    return EStart::Started;
}

SPluRecord CDownloadSession::RecordAt(int row)
{
    const QVector<QString> cells = m_table.RowTexts(row);
    const EPluMode pluMode = m_table.PluMode();
    const ELimitMode limitMode = m_table.LimitMode();
    if (m_prepared.row == row && m_prepared.pluMode == pluMode && m_prepared.limitMode == limitMode &&
        m_prepared.cells == cells) {
        m_prepared.row = -1;
        return std::move(m_prepared.record);
    }
    return BuildPluRecord(cells, pluMode, limitMode, m_textCodePage, m_goodsIdCodePage);
}

void CDownloadSession::PrepareNextRecord()
{
    m_prepared = SPreparedRecord();
    const EPluMode pluMode = m_table.PluMode();
    const ELimitMode limitMode = m_table.LimitMode();
    // Rows without PLU No. or value are quick to pass over again when the acknowledgement comes.
    for (int row = m_rowCursor + 1; row < m_rowCount; ++row) {
        QVector<QString> cells = m_table.RowTexts(row);
        SPluRecord record = BuildPluRecord(cells, pluMode, limitMode, m_textCodePage, m_goodsIdCodePage);
        if (record.IsSkipped())
            continue;
        m_prepared = {row, std::move(cells), pluMode, limitMode, std::move(record)};
        return;
    }
}

bool CDownloadSession::SendPluRecord()
{
    for (;;) {
        if (m_rowCursor >= m_rowCount)
            return false;
        const SPluRecord record = RecordAt(m_rowCursor);
        switch (record.outcome) {
        case EPluRecordOutcome::Skipped: ++m_rowCursor; continue;
        case EPluRecordOutcome::Rejected:
            // Nothing goes out, so no answer can come: the download ends here and names the row.
            Q_EMIT rowTransferred(m_rowCursor, ETransferState::NotSent);
            Fail(m_rowCursor, MessageString(StringId::DownloadRowRejected).arg(m_rowCursor + 1).arg(record.reason));
            return false;
        case EPluRecordOutcome::Sendable: m_retriesLeft = m_retries; return WriteRecord(record.bytes);
        }
    }
}

bool CDownloadSession::WriteRecord(const QByteArray& bytes)
{
    QString error;
    m_writtenAt = Clock::now();
    m_recordInFlight = true;
    m_recordCrossing = LineTime(int(bytes.size()));
    m_recordBytes = bytes;
    if (!m_line.Write(bytes, &error)) {
        m_prompt.ShowMessage(ApplicationCaption(), error, IPrompt::EIcon::Error);
        Q_EMIT rowTransferred(m_rowCursor, ETransferState::NotSent);
        Fail(m_rowCursor, MessageString(StringId::DownloadRowNotSent).arg(m_rowCursor + 1).arg(error));
        return false;
    }
    m_sentAny = true;
    ++m_recordsSent;
    return true;
}

// ---- receive thread ----

void CDownloadSession::OnReceive(const char* bytes, int count)
{
    const Clock::time_point receivedAt = Clock::now();
    const quint64 generation = m_generation.load();
    if (m_parserGeneration != generation) {
        m_parser.Reset();
        m_parserGeneration = generation;
    }
    const CAckParser::EVerdict verdict = m_parser.Feed(bytes, count);
    if (verdict == CAckParser::EVerdict::None)
        return;
    PostLineEvent({generation, false, verdict, receivedAt, m_parser.LastLineLength()});
}

void CDownloadSession::OnConnectionLost()
{
    PostLineEvent({m_generation.load(), true, CAckParser::EVerdict::None, Clock::now(), 0});
}

void CDownloadSession::PostLineEvent(const SLineEvent& event)
{
    {
        std::lock_guard<std::mutex> lock(m_lineEventsMutex);
        m_lineEvents.push_back(event);
    }
    Q_EMIT lineEventsQueued();
}

// ---- owner's thread ----

void CDownloadSession::TakeLineEvents()
{
    std::vector<SLineEvent> events;
    {
        std::lock_guard<std::mutex> lock(m_lineEventsMutex);
        events.swap(m_lineEvents);
    }
    for (const SLineEvent& event : events) {
        if (event.lost)
            OnLineLost(event.generation);
        else
            OnAnswer(event);
    }
}

bool CDownloadSession::AnswersRecordInFlight(const SLineEvent& answer) const
{
    // Whatever arrived before the record went out (the rest of an earlier answer's burst, say) cannot answer it.
    if (!m_recordInFlight || answer.receivedAt < m_writtenAt)
        return false;
    if (!m_pacedLine)
        return true;
    // The record's bytes, then the answer's, take their time on the line: an answer that comes sooner was
    // sent before the scale had the record, and answers something else.
    return answer.receivedAt >= m_writtenAt + m_recordCrossing + LineTime(answer.lineLength);
}

CDownloadSession::Clock::duration CDownloadSession::LineTime(int bytes) const
{
    if (m_baudRate <= 0)
        return Clock::duration::zero();
    // 10 bits a byte: start bit, 8 data bits, stop bit.
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(qint64(bytes) * 10 * 1000000000 / m_baudRate));
}

void CDownloadSession::OnAnswer(const SLineEvent& answer)
{
    if (!m_running || answer.generation != m_generation.load() || m_ended || !AnswersRecordInFlight(answer))
        return;
    m_recordInFlight = false;
    if (answer.verdict == CAckParser::EVerdict::Refused) {
        m_ackTimer.stop();
        Q_EMIT rowTransferred(m_rowCursor, ETransferState::Refused);
        Fail(m_rowCursor, MessageString(StringId::DownloadRowRefused).arg(m_rowCursor + 1));
        return;
    }
    ++m_recordsAcknowledged;
    Q_EMIT rowTransferred(m_rowCursor, ETransferState::Acknowledged);
    // The order is fixed: the time-out starts again before the next record goes out.
    m_ackTimer.start(m_ackTimeoutMs);
    ++m_rowCursor;
    SendPluRecord();
    if (m_ended)
        return;
    if (m_rowCursor < m_rowCount) {
        Q_EMIT progress(m_rowCursor, m_rowCount);
        PrepareNextRecord();
        return;
    }
    m_ackTimer.stop();
    Finish(true, -1, QString());
}

void CDownloadSession::OnLineLost(quint64 generation)
{
    if (!m_running || generation != m_generation.load() || m_ended)
        return;
    m_ackTimer.stop();
    if (m_recordInFlight)
        Q_EMIT rowTransferred(m_rowCursor, ETransferState::NoAnswer);
    Fail(m_rowCursor < m_rowCount ? m_rowCursor : -1,
         MessageString(StringId::DownloadDisconnected).arg(m_rowCursor + 1));
}

void CDownloadSession::OnAcknowledgementTimeout()
{
    if (!m_running || m_ended)
        return;
    if (m_recordInFlight && m_retriesLeft > 0) {
        // The answer may have been lost on the line; the scale stores the same record again harmlessly.
        --m_retriesLeft;
        ++m_retriesMade;
        m_ackTimer.start(m_ackTimeoutMs);
        WriteRecord(m_recordBytes);
        return;
    }
    QString reason;
    int row = m_rowCursor;
    if (!m_sentAny) {
        row = -1;
        reason = MessageString(StringId::DownloadNothingSendable);
    } else {
        if (m_recordInFlight)
            Q_EMIT rowTransferred(row, ETransferState::NoAnswer);
        reason = MessageString(StringId::DownloadNoAnswer)
                     .arg(row + 1)
                     .arg(Language::MessageLocale().toString(m_ackTimeoutMs / 1000.0));
    }
    // The time-out closes the port at once.
    Fail(row, reason);
    ClosePort();
}

void CDownloadSession::Fail(int row, const QString& reason)
{
    Finish(false, row, reason);
}

void CDownloadSession::Finish(bool success, int failedRow, const QString& reason)
{
    m_ended = true;
    m_recordInFlight = false;
    m_ackTimer.stop();
    if (m_log) {
        STransferEntry entry;
        entry.startedAt = m_startedAt;
        entry.port = m_request.portName.isEmpty() ? m_request.devicePath : m_request.portName;
        entry.device = m_request.devicePath;
        entry.baudRate = m_request.baudRate;
        const bool pricing = m_table.PluMode() == EPluMode::Pricing;
        entry.layout = pricing ? QStringLiteral("pricing") : QStringLiteral("counting");
        entry.textCodePage = m_request.textCodePage;
        entry.recordsSent = m_recordsSent;
        entry.recordsAcknowledged = m_recordsAcknowledged;
        entry.retries = m_retriesMade;
        entry.success = success;
        entry.failedRow = failedRow;
        entry.reason = reason;
        entry.durationMs = m_startedAt.msecsTo(QDateTime::currentDateTimeUtc());
        m_log->Append(entry);
    }
    m_closeTimer.start();
    Q_EMIT finished(success, failedRow, reason);
}

void CDownloadSession::ClosePort()
{
    m_closeTimer.stop();
    m_ackTimer.stop();
    // Closing stops the receive thread first; it never waits for this thread, so this returns.
    m_line.Close();
    m_running = false;
    ++m_generation;
    m_promptWakeUps.reset();
}
