#pragma once

#include "download/ISerialLine.h"

namespace Portwire {
class CComPort;
}

// The download's serial line over the real serial connection: serial errors become messages.
class CComPortLine final : public ISerialLine
{
public:
    explicit CComPortLine(Portwire::CComPort& port);

    bool IsOpen() const override;
    bool Open(const QString& devicePath, int baud, QString* error) override;
    bool Write(const QByteArray& bytes, QString* error) override;
    void Close() override;
    void SetReceiver(Portwire::IReceiver* receiver) override;
    bool IsPacedByBaudRate() const override;

    // Tests make a pseudo-terminal behave as a serial device whose bytes take their time.
    void TreatAsSerialDevice(bool serialDevice) { m_treatAsSerialDevice = serialDevice; }

private:
    Portwire::CComPort& m_port;
    bool m_treatAsSerialDevice = false;
};
