#pragma once

#include "serial/CReceiverSlot.h"
#include "serial/PortDiscovery.h"
#include "serial/PortOpenFailure.h"
#include "serial/SerialEnvironment.h"

#include <QString>

#include <memory>
#include <mutex>

class CSerialPort;

namespace Portwire {

class CReadComThread;

// The serial connection to a scale: opens a port by number or device path at a baud rate, configures the line
// (8 data bits, no parity, one stop bit, no flow control), writes records, and runs a receive thread that hands
// every burst of received bytes to the receiver.
//
// Threads: Open and Close belong to the owner's thread. Write may be called from the owner's thread or from
// inside the receiver on the receive thread. The receiver may be registered from any thread at any time, and
// stays registered across Close and the next Open.
class CComPort
{
public:
    CComPort();
    // Closes an open connection.
    virtual ~CComPort();

    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;

    // The ports that port numbers refer to: port number n is entry n - 1.
    void SetPorts(PortDiscovery::PortList ports);
    const PortDiscovery::PortList& Ports() const { return m_ports; }

    // Opens the port with the given number in the port list. Returns false, raising nothing, when the number has
    // no entry, the device cannot be opened or another user holds it, or this connection is already open (the
    // open one is then left as it is). Raises CSerialException when the device opened but its configuration or
    // the receive thread failed; the device is released before the exception leaves.
    bool Open(int portNumber, int baudRate);
    bool Open(const QString& devicePath, int baudRate);

    // Writes all the bytes and returns the count; raises CSerialException on failure, on a closed connection too.
    int Write(const char* bytes, int count);

    // Asks the receive thread to stop, joins it and releases the device; does nothing when closed. Closing from
    // inside the receiver is allowed.
    void Close();

    bool IsOpen() const;
    // The number given to the last successful Open, 0 when it was opened by device path.
    int PortNumber() const { return m_portNumber; }
    QString DevicePath() const;
    // Whether bytes cross the open line at its baud rate (not a pseudo-terminal, not a device server); false when
    // closed.
    bool IsPacedByBaudRate() const;
    // Why the last Open returned false, as an errno value: ENOENT for a port number without a device, EBUSY for a
    // device in use, EALREADY when the connection was open already; 0 after a successful Open.
    int LastOpenError() const { return m_lastOpenFailure.error; }
    // The same with what the system could tell (the device's group, the programs holding it); its device is empty
    // when the port number had no device.
    const SPortOpenFailure& LastOpenFailure() const { return m_lastOpenFailure; }

    // Where the devices' holders, lock files and stable names are looked for; tests use folders of their own.
    void SetEnvironment(SSerialEnvironment environment) { m_environment = std::move(environment); }

    // Bytes that arrive while no receiver is registered are dropped. Null unregisters.
    void SetReceiver(IReceiver* receiver);

private:
    std::shared_ptr<CSerialPort> CurrentPort() const;

    PortDiscovery::PortList m_ports;
    std::shared_ptr<CReceiverSlot> m_receiver;
    // Write on the receive thread reads the port while Close may replace it.
    mutable std::mutex m_portMutex;
    std::shared_ptr<CSerialPort> m_port;
    std::unique_ptr<CReadComThread> m_reader;
    int m_portNumber = 0;
    SSerialEnvironment m_environment;
    SPortOpenFailure m_lastOpenFailure;
};

} // namespace Portwire
