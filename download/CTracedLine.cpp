#include "download/CTracedLine.h"

#include "download/CLineTrace.h"

CTracedLine::CTracedLine(ISerialLine& line, CLineTrace& trace)
    : m_line(line)
    , m_trace(trace)
{
}

CTracedLine::~CTracedLine()
{
    SetReceiver(nullptr);
}

bool CTracedLine::IsOpen() const
{
    return m_line.IsOpen();
}

bool CTracedLine::Open(const QString& devicePath, int baud, QString* error)
{
    m_port = devicePath;
    const bool opened = m_line.Open(devicePath, baud, error);
    if (opened)
        m_trace.Event(m_port, QStringLiteral("opened at %1 baud").arg(baud));
    else
        m_trace.Event(
            m_port,
            QStringLiteral("not opened%1").arg(error && !error->isEmpty() ? QStringLiteral(": ") + *error : QString()));
    return opened;
}

bool CTracedLine::Write(const QByteArray& bytes, QString* error)
{
    m_trace.Bytes(m_port, CLineTrace::EDirection::Sent, bytes);
    QString reason;
    const bool written = m_line.Write(bytes, &reason);
    if (!written)
        m_trace.Event(m_port, QStringLiteral("write failed: %1").arg(reason));
    if (error)
        *error = reason;
    return written;
}

void CTracedLine::Close()
{
    const bool wasOpen = m_line.IsOpen();
    m_line.Close();
    if (wasOpen)
        m_trace.Event(m_port, QStringLiteral("closed"));
}

bool CTracedLine::IsPacedByBaudRate() const
{
    return m_line.IsPacedByBaudRate();
}

void CTracedLine::SetReceiver(Portwire::IReceiver* receiver)
{
    // The receive thread reaches the new receiver only through this line, and the old one no more once the line has
    // let go of this line.
    if (receiver) {
        m_receiver.store(receiver);
        m_line.SetReceiver(this);
    } else {
        m_line.SetReceiver(nullptr);
        m_receiver.store(nullptr);
    }
}

void CTracedLine::OnReceive(const char* bytes, int count)
{
    m_trace.Bytes(m_port, CLineTrace::EDirection::Received, QByteArray(bytes, count));
    if (Portwire::IReceiver* receiver = m_receiver.load())
        receiver->OnReceive(bytes, count);
}

void CTracedLine::OnConnectionLost()
{
    m_trace.Event(m_port, QStringLiteral("connection lost"));
    if (Portwire::IReceiver* receiver = m_receiver.load())
        receiver->OnConnectionLost();
}
