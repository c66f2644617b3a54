#pragma once

#include <QString>

#include <chrono>

// Owner of one open serial device: opens it exclusively, configures the line for the scale (raw, 8 data bits,
// no parity, one stop bit, no flow control) and writes to it. The descriptor stays non-blocking so that the
// receive thread can poll it together with its wake-up descriptor.
class CSerialPort
{
public:
    CSerialPort() = default;
    ~CSerialPort();

    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens and configures the device, closing a device this object held before. Returns false, raising nothing,
    // when the device cannot be opened: missing, not permitted, or held by another user (LastOpenError() then
    // says why). Raises CSerialException when the device opened but could not be configured; the device is
    // released before the exception leaves.
    bool Open(const QString& devicePath, int baudRate);
    void Close();

    bool IsOpen() const { return m_fd >= 0; }
    // Whether the device is a pseudo-terminal, across which bytes pass at once rather than at the baud rate.
    bool IsPseudoTerminal() const { return m_pseudoTerminal; }
    int Handle() const { return m_fd; }
    const QString& DevicePath() const { return m_devicePath; }
    int BaudRate() const { return m_baudRate; }
    // The errno of the last Open that returned false (EBUSY when another user holds the device); 0 otherwise.
    int LastOpenError() const { return m_lastOpenError; }

    // Writes all the bytes and returns the count. Waits while the driver's queue is full, but raises
    // CSerialException with ETIMEDOUT when no byte could be queued for the stall limit, and with the system's
    // error when a write fails (an unplugged adapter gives EIO).
    int Write(const char* bytes, int count);

    // Without flow control a line always drains, so a queue that stays full this long means a dead line.
    static constexpr std::chrono::milliseconds kWriteStallLimit{5000};
    void SetWriteStallLimit(std::chrono::milliseconds limit) { m_writeStallLimit = limit; }

private:
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
    int m_lastOpenError = 0;
    bool m_pseudoTerminal = false;
    bool m_lowLatencySet = false; // the driver took the low-latency flag, which was off before
    std::chrono::milliseconds m_writeStallLimit = kWriteStallLimit;
};
