#pragma once

#include "serial/CComPort.h"

#include <QByteArray>
#include <QList>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Records what a connection tells its receiver, and lets a test wait for it without fixed sleeps.
class CDeliveryLog : public Portwire::IReceiver
{
public:
    // Registers this log as the port's receiver.
    void Attach(Portwire::CComPort& port);

    void OnReceive(const char* bytes, int count) override;
    void OnConnectionLost() override;

    QList<QByteArray> Deliveries() const;
    QByteArray AllBytes() const;
    int LostReports() const;
    // Whether the connection-lost report came after every delivery.
    bool LostReportedLast() const;
    std::thread::id CallbackThread() const;
    void Clear();

    bool WaitForBytes(int count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    bool WaitForDeliveries(int count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    bool WaitForLost(std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

private:
    template <typename Predicate>
    bool WaitUntil(std::chrono::milliseconds timeout, Predicate done) const
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, timeout, done);
    }

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    QList<QByteArray> m_deliveries;
    int m_byteCount = 0;
    int m_lostReports = 0;
    int m_deliveriesBeforeLost = -1;
    std::thread::id m_callbackThread;
};
