#pragma once

#include "serial/PortOpenFailure.h"
#include "serial/SerialEnvironment.h"

#include <QString>

#include <chrono>

// Owner of one open serial device: opens it exclusively, configures the line for the scale (raw, 8 data bits,
// no parity, one stop bit, no flow control) and writes to it. The descriptor stays non-blocking so that the
// receive thread can poll it together with its wake-up descriptor. A "tcp://HOST:PORT" device is a serial device
// server's raw connection: it is connected instead of opened, and its line is set on the server.
class CSerialPort
{
public:
    CSerialPort() = default;
    ~CSerialPort();

    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens and configures the device, closing a device this object held before. Returns false, raising nothing,
    // when the device cannot be opened: missing, not permitted, locked or held open by another program, or a
    // server that cannot be connected (LastOpenFailure() then says why). Raises CSerialException when the device opened
    // but could not be configured; the device is released before the exception leaves.
    bool Open(const QString& devicePath, int baudRate);
    void Close();

    bool IsOpen() const { return m_fd >= 0; }
    // Whether bytes cross the line at its baud rate: false for a pseudo-terminal, across which they pass at once, and
    // for a device server, whose own serial side sets the pace.
    bool IsPacedByBaudRate() const { return !m_pseudoTerminal && !m_isSocket; }
    int Handle() const { return m_fd; }
    const QString& DevicePath() const { return m_devicePath; }
    int BaudRate() const { return m_baudRate; }
    // The errno of the last Open that returned false (EBUSY when another user holds the device); 0 otherwise.
    int LastOpenError() const { return m_lastOpenFailure.error; }
    const SPortOpenFailure& LastOpenFailure() const { return m_lastOpenFailure; }

    void SetEnvironment(const SSerialEnvironment& environment) { m_environment = environment; }

    // Writes all the bytes and returns the count. Waits while the driver's queue is full, but raises
    // CSerialException with ETIMEDOUT when no byte could be queued for the stall limit, and with the system's
    // error when a write fails (an unplugged adapter gives EIO).
    int Write(const char* bytes, int count);

    // Without flow control a line always drains, so a queue that stays full this long means a dead line.
    static constexpr std::chrono::milliseconds kWriteStallLimit{5000};
    void SetWriteStallLimit(std::chrono::milliseconds limit) { m_writeStallLimit = limit; }

private:
    bool OpenDevice(const QString& devicePath, int baudRate);
    bool ConnectServer(const QString& address);
    bool RefuseOpen(SPortOpenFailure failure);
    void Configure(int baudRate);
    // USB serial adapters hold short answers back for their latency timer; where the driver allows it, the port
    // asks for low latency while it is open and puts the old setting back when it closes.
    void AskForLowLatency();
    void RestoreLatency();
    void ReleaseDevice();
    [[noreturn]] void Raise(int error, const QString& operation);

    int m_fd = -1;
    QString m_devicePath;
    int m_baudRate = 0;
    bool m_isSocket = false;
    SSerialEnvironment m_environment;
    SPortOpenFailure m_lastOpenFailure;
    bool m_pseudoTerminal = false;
    bool m_lowLatencySet = false; // the driver took the low-latency flag, which was off before
    std::chrono::milliseconds m_writeStallLimit = kWriteStallLimit;
};
