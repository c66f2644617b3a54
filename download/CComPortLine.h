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

private:
    Portwire::CComPort& m_port;
};
