#include "download/CDownloadSession.h"

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "app/Language.h"
#include "app/StringTable.h"
#include "app/TextNumbers.h"
#include "download/ISerialLine.h"
#include "download/PluRecord.h"
#include "download/TextCodePage.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"

#include <QMetaObject>

CDownloadSession::CDownloadSession(CPluTable& table, ISerialLine& line, CSettings& settings, IPrompt& prompt,
                                   QObject* parent)
    : QObject(parent)
    , m_table(table)
    , m_line(line)
    , m_settings(settings)
    , m_prompt(prompt)
{
    m_ackTimer.setSingleShot(true);
    // A coarse timer may fire 5% early, at 2850 ms: the scale's 3 s are meant to the millisecond.
    m_ackTimer.setTimerType(Qt::PreciseTimer);
    m_closeTimer.setSingleShot(true);
    m_closeTimer.setInterval(1);
    connect(&m_ackTimer, &QTimer::timeout, this, &CDownloadSession::OnAcknowledgementTimeout);
    connect(&m_closeTimer, &QTimer::timeout, this, &CDownloadSession::OnCloseTimer);
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
    const int baud = int(TextNumbers::ReadLeadingInteger(request.baudText));
    QString error;
    if (!m_line.Open(request.portIndex + 1, baud, &error)) {
        if (error.isEmpty())
            return EStart::PortNotOpened;
        m_prompt.ShowMessage(ApplicationCaption(), error, IPrompt::EIcon::Error);
        ClosePort();
        return EStart::SerialError;
    }
    m_settings.WriteInt(ESetting::Port, request.portIndex);
    m_settings.WriteInt(ESetting::Bps, request.baudIndex);
    m_settings.Sync();

    // The receive thread resets its parser when the first delivery of this generation comes: the
    // parser is never touched from here, even by bytes that arrive between the open and now.
    ++m_generation;
    m_line.SetCallbacks(&CDownloadSession::OnPortData, &CDownloadSession::OnLineLost, this);

    m_running = true;
    Q_EMIT labelChanged(QStringLiteral(" 0%"), QString());
    const int language = Language::LanguageInForce();
    m_textCodePage = TextCodePageForEncoding(request.encodingIndex, language);
    // Every record of one download uses the same code page for Goods Id.
    m_goodsIdCodePage = Language::AnsiCodePage(language);
    m_rowCursor = 0;
    m_rowCount = m_table.RowCount();
    m_rejectedRow = -1;
    m_rejectedReason.clear();
    m_sentAny = false;
    m_writeFailed = false;

    SendPluRecord();
    if (m_writeFailed)
        return EStart::SerialError;
    m_ackTimer.start(m_ackTimeoutMs);
    return EStart::Started;
}

bool CDownloadSession::SendPluRecord()
{
    for (;;) {
        if (m_rowCursor >= m_rowCount)
            return false;
        const SPluRecord record = BuildPluRecord(m_table.RowTexts(m_rowCursor), m_table.PluMode(),
                                                       m_table.LimitMode(), unsigned(m_textCodePage), m_goodsIdCodePage);
        switch (record.outcome) {
        case EPluRecordOutcome::Skipped:
            ++m_rowCursor;
            continue;
        case EPluRecordOutcome::Rejected:
            // Nothing goes out; the download ends when no answer comes.
            m_rejectedRow = m_rowCursor;
            m_rejectedReason = record.reason;
            return false;
        case EPluRecordOutcome::Sendable: {
            QString error;
            if (!m_line.Write(record.bytes, &error)) {
                m_writeFailed = true;
                m_prompt.ShowMessage(ApplicationCaption(), error, IPrompt::EIcon::Error);
                Fail(m_rowCursor, tr("Row %1 could not be sent: %2").arg(m_rowCursor + 1).arg(error));
                return false;
            }
            m_sentAny = true;
            return true;
        }
        }
    }
}

// ---- receive thread ----

void CDownloadSession::OnPortData(void* context, const char* bytes, int count)
{
    auto* session = static_cast<CDownloadSession*>(context);
    const quint64 generation = session->m_generation.load();
    if (session->m_parserGeneration != generation) {
        session->m_parser.Reset();
        session->m_parserGeneration = generation;
    }
    const CAckParser::EVerdict verdict = session->m_parser.Feed(bytes, count);
    if (verdict == CAckParser::EVerdict::None || verdict == CAckParser::EVerdict::Ignored)
        return;
    session->PostLineEvent({generation, false, verdict});
}

void CDownloadSession::OnLineLost(void* context)
{
    auto* session = static_cast<CDownloadSession*>(context);
    session->PostLineEvent({session->m_generation.load(), true, CAckParser::EVerdict::None});
}

void CDownloadSession::PostLineEvent(const SLineEvent& event)
{
    {
        std::lock_guard<std::mutex> lock(m_lineEventsMutex);
        m_lineEvents.push_back(event);
    }
    QMetaObject::invokeMethod(this, "TakeLineEvents", Qt::QueuedConnection);
}

// ---- window thread ----

void CDownloadSession::TakeLineEvents()
{
    std::vector<SLineEvent> events;
    {
        std::lock_guard<std::mutex> lock(m_lineEventsMutex);
        events.swap(m_lineEvents);
    }
    for (const SLineEvent& event : events) {
        if (event.lost)
            OnConnectionLost(event.generation);
        else
            OnVerdict(event.generation, event.verdict);
    }
}

void CDownloadSession::OnVerdict(quint64 generation, CAckParser::EVerdict verdict)
{
    if (!m_running || generation != m_generation.load() || m_closeTimer.isActive())
        return;
    if (verdict == CAckParser::EVerdict::Refused) {
        m_ackTimer.stop();
        Fail(m_rowCursor, tr("The scale refused row %1.").arg(m_rowCursor + 1));
        return;
    }
    // The order is fixed: the time-out starts again before the next record goes out.
    m_ackTimer.start(m_ackTimeoutMs);
    ++m_rowCursor;
    SendPluRecord();
    if (m_writeFailed)
        return;
    if (m_rowCursor < m_rowCount) {
        Q_EMIT labelChanged(QString::asprintf("%2d%%", m_rowCursor * 100 / m_rowCount), QString());
        return;
    }
    m_ackTimer.stop();
    Finish(true, LoadString(StringId::Success), QString());
}

void CDownloadSession::OnConnectionLost(quint64 generation)
{
    if (!m_running || generation != m_generation.load() || m_closeTimer.isActive())
        return;
    m_ackTimer.stop();
    Fail(m_rowCursor < m_rowCount ? m_rowCursor : -1,
         tr("The device was disconnected while row %1 was being sent.").arg(m_rowCursor + 1));
}

void CDownloadSession::OnAcknowledgementTimeout()
{
    if (!m_running)
        return;
    QString reason;
    int row = m_rowCursor;
    if (m_rejectedRow >= 0) {
        row = m_rejectedRow;
        reason = tr("Row %1 rejected: %2").arg(row + 1).arg(m_rejectedReason);
    } else if (!m_sentAny) {
        row = -1;
        reason = tr("Nothing was sent: no row has both a PLU No. and a value.");
    } else {
        reason = tr("No answer from the scale for row %1 within %2 s.").arg(row + 1).arg(m_ackTimeoutMs / 1000.0);
    }
    // The time-out closes the port at once.
    Fail(row, reason);
    ClosePort();
}

void CDownloadSession::OnCloseTimer()
{
    ClosePort();
}

void CDownloadSession::Fail(int row, const QString& reason)
{
    Finish(false, QStringLiteral("Fail!"), reason);
    if (row >= 0)
        Q_EMIT failedAtRow(row);
}

void CDownloadSession::Finish(bool success, const QString& label, const QString& toolTip)
{
    m_ackTimer.stop();
    Q_EMIT labelChanged(label, toolTip);
    m_closeTimer.start();
    Q_EMIT finished(success);
}

void CDownloadSession::ClosePort()
{
    m_closeTimer.stop();
    m_ackTimer.stop();
    // Closing stops the receive thread first; it never waits for this thread, so this returns.
    m_line.Close();
    m_running = false;
    ++m_generation;
}
