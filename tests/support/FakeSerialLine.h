#pragma once

#include "download/ISerialLine.h"
#include "serial/IReceiver.h"

#include <QByteArray>
#include <QList>

#include <mutex>
#include <thread>

// A serial line for the download tests: records what is written, and delivers the scale's
// bytes from a thread of its own, as the real receive thread does.
class CFakeSerialLine final : public ISerialLine
{
public:
    bool IsOpen() const override { return m_open; }
    bool Open(const QString& devicePath, int baud, QString* error) override
    {
        ++openCalls;
        lastDevice = devicePath;
        lastBaud = baud;
        if (!openSucceeds) {
            if (error)
                *error = openError;
            return false;
        }
        m_open = true;
        return true;
    }
    bool Write(const QByteArray& bytes, QString* error) override
    {
        if (!writeSucceeds) {
            if (error)
                *error = QStringLiteral("Input/output error");
            return false;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        written.append(bytes);
        return true;
    }
    void Close() override
    {
        if (m_open)
            ++closeCalls;
        m_open = false;
    }
    void SetReceiver(Portwire::IReceiver* receiver) override { m_receiver = receiver; }
    bool IsPacedByBaudRate() const override { return paced; }

    // The scale's answer, delivered on another thread as one delivery.
    void Deliver(const QByteArray& bytes)
    {
        std::thread receiver([&] { m_receiver->OnReceive(bytes.constData(), int(bytes.size())); });
        receiver.join();
    }
    void LoseConnection()
    {
        std::thread receiver([&] { m_receiver->OnConnectionLost(); });
        receiver.join();
    }
    QList<QByteArray> Written()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return written;
    }

    bool openSucceeds = true;
    QString openError;
    bool writeSucceeds = true;
    bool paced = false; // a serial device rather than a pseudo-terminal
    int openCalls = 0;
    int closeCalls = 0;
    QString lastDevice;
    int lastBaud = -1;

private:
    bool m_open = false;
    Portwire::IReceiver* m_receiver = nullptr;
    std::mutex m_mutex;
    QList<QByteArray> written;
};
