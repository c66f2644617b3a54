#pragma once

#include "download/ISerialLine.h"
#include "serial/IReceiver.h"

#include <atomic>

class CLineTrace;

// A serial line that writes what crosses another one to a trace: the records written, the bytes received, and
// the opening, closing and loss of the line.
class CTracedLine final : public ISerialLine, private Portwire::IReceiver
{
public:
    // Both must outlive this line.
    CTracedLine(ISerialLine& line, CLineTrace& trace);
    ~CTracedLine() override;

    bool IsOpen() const override;
    bool Open(const QString& devicePath, int baud, QString* error) override;
    bool Write(const QByteArray& bytes, QString* error) override;
    void Close() override;
    bool IsPacedByBaudRate() const override;
    void SetReceiver(Portwire::IReceiver* receiver) override;

private:
    // On the receive thread.
    void OnReceive(const char* bytes, int count) override;
    void OnConnectionLost() override;

    ISerialLine& m_line;
    CLineTrace& m_trace;
    QString m_port; // the device opened last, as the trace names it
    std::atomic<Portwire::IReceiver*> m_receiver{nullptr};
};
