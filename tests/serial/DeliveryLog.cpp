#include "DeliveryLog.h"

void CDeliveryLog::Attach(Portwire::CComPort& port)
{
    port.SetReceiver(this);
}

void CDeliveryLog::OnReceive(const char* bytes, int count)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_deliveries.append(QByteArray(bytes, count));
    m_byteCount += count;
    m_callbackThread = std::this_thread::get_id();
    m_changed.notify_all();
}

void CDeliveryLog::OnConnectionLost()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_lostReports;
    m_deliveriesBeforeLost = int(m_deliveries.size());
    m_changed.notify_all();
}

QList<QByteArray> CDeliveryLog::Deliveries() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_deliveries;
}

QByteArray CDeliveryLog::AllBytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QByteArray all;
    for (const QByteArray& delivery : m_deliveries)
        all += delivery;
    return all;
}

int CDeliveryLog::LostReports() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lostReports;
}

bool CDeliveryLog::LostReportedLast() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_deliveriesBeforeLost == m_deliveries.size();
}

std::thread::id CDeliveryLog::CallbackThread() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_callbackThread;
}

void CDeliveryLog::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_deliveries.clear();
    m_byteCount = 0;
    m_lostReports = 0;
    m_deliveriesBeforeLost = -1;
}

bool CDeliveryLog::WaitForBytes(int count, std::chrono::milliseconds timeout) const
{
    return WaitUntil(timeout, [&] { return m_byteCount >= count; });
}

bool CDeliveryLog::WaitForDeliveries(int count, std::chrono::milliseconds timeout) const
{
    return WaitUntil(timeout, [&] { return m_deliveries.size() >= count; });
}

bool CDeliveryLog::WaitForLost(std::chrono::milliseconds timeout) const
{
    return WaitUntil(timeout, [&] { return m_lostReports > 0; });
}
