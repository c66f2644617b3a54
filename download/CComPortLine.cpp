#include "download/CComPortLine.h"

#include "app/StringTable.h"
#include "serial/CComPort.h"
#include "serial/CSerialException.h"

CComPortLine::CComPortLine(Portwire::CComPort& port)
    : m_port(port)
{
}

bool CComPortLine::IsOpen() const
{
    return m_port.IsOpen();
}

bool CComPortLine::Open(const QString& devicePath, int baud, QString* error)
{
    try {
        return m_port.Open(devicePath, baud);
    } catch (const CSerialException& exception) {
        if (error)
            *error = exception.Description();
        return false;
    }
}

bool CComPortLine::Write(const QByteArray& bytes, QString* error)
{
    try {
        const int written = m_port.Write(bytes.constData(), int(bytes.size()));
        if (written == bytes.size())
            return true;
        if (error)
            *error =
                MessageString(StringId::DownloadShortWrite).arg(written).arg(bytes.size()).arg(m_port.DevicePath());
        return false;
    } catch (const CSerialException& exception) {
        if (error)
            *error = exception.Description();
        return false;
    }
}

void CComPortLine::Close()
{
    m_port.Close();
}

void CComPortLine::SetReceiver(Portwire::IReceiver* receiver)
{
    m_port.SetReceiver(receiver);
}

bool CComPortLine::IsPacedByBaudRate() const
{
    return m_treatAsSerialDevice || m_port.IsPacedByBaudRate();
}
