#include "serial/CComPort.h"

#include "app/StringTable.h"
#include "serial/CReadComThread.h"
#include "serial/CSerialException.h"
#include "serial/CSerialPort.h"

#include <cerrno>

namespace Portwire {

CComPort::CComPort()
    : m_receiver(std::make_shared<CReceiverSlot>())
{
}

CComPort::~CComPort()
{
    Close();
}

void CComPort::SetPorts(PortDiscovery::PortList ports)
{
    m_ports = std::move(ports);
}

bool CComPort::Open(int portNumber, int baudRate)
{
    if (IsOpen()) {
        m_lastOpenFailure = {DevicePath(), EALREADY};
        return false;
    }
    const QString devicePath = PortDiscovery::DevicePathForPortNumber(m_ports, portNumber);
    if (devicePath.isEmpty()) {
        m_lastOpenFailure = {QString(), ENOENT};
        return false;
    }
    if (!Open(devicePath, baudRate))
        return false;
    m_portNumber = portNumber;
    return true;
}

bool CComPort::Open(const QString& devicePath, int baudRate)
{
    if (IsOpen()) {
        m_lastOpenFailure = {DevicePath(), EALREADY};
        return false;
    }
    auto port = std::make_shared<CSerialPort>();
    port->SetEnvironment(m_environment);
    if (!port->Open(devicePath, baudRate)) {
        m_lastOpenFailure = port->LastOpenFailure();
        return false;
    }
    // If the thread cannot start, the exception unwinds both owners of the port and so closes the device.
    auto reader = std::make_unique<CReadComThread>(port, m_receiver);
    reader->Start();
    m_reader = std::move(reader);
    m_portNumber = 0;
    m_lastOpenFailure = {};
    std::lock_guard<std::mutex> lock(m_portMutex);
    m_port = std::move(port);
    return true;
}

int CComPort::Write(const char* bytes, int count)
{
    const std::shared_ptr<CSerialPort> port = CurrentPort();
    if (!port)
        throw CSerialException(EBADF, MessageString(StringId::SerialWriteClosedConnection), QString());
    if (count <= 0)
        return 0;
    return port->Write(bytes, count);
}

void CComPort::Close()
{
    if (!IsOpen())
        return;
    // The thread stops first, so that a write from inside the receiver finishes on an open device.
    if (m_reader) {
        m_reader->Stop();
        m_reader.reset();
    }
    std::shared_ptr<CSerialPort> port;
    {
        std::lock_guard<std::mutex> lock(m_portMutex);
        port.swap(m_port);
    }
    // The device closes here, unless Close was called from inside the receiver: the thread then lets it go as it ends.
}

bool CComPort::IsOpen() const
{
    return CurrentPort() != nullptr;
}

QString CComPort::DevicePath() const
{
    const std::shared_ptr<CSerialPort> port = CurrentPort();
    return port ? port->DevicePath() : QString();
}

bool CComPort::IsPacedByBaudRate() const
{
    const std::shared_ptr<CSerialPort> port = CurrentPort();
    return port && port->IsPacedByBaudRate();
}

void CComPort::SetReceiver(IReceiver* receiver)
{
    m_receiver->Set(receiver);
}

std::shared_ptr<CSerialPort> CComPort::CurrentPort() const
{
    std::lock_guard<std::mutex> lock(m_portMutex);
    return m_port;
}

} // namespace Portwire
