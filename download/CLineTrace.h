#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <mutex>

// A technician's record of what crossed the serial lines of a download: each record written and each delivery of
// bytes received, in hex, after the milliseconds since the trace began and the port. Written from the owner's
// thread and the receive threads alike; each line reaches the file when it is complete.
class CLineTrace
{
public:
    enum class EDirection
    {
        Sent,    // ">": to the scale
        Received // "<": from the scale
    };

    CLineTrace() = default;
    CLineTrace(const CLineTrace&) = delete;
    CLineTrace& operator=(const CLineTrace&) = delete;

    // Creates or empties the file and starts the clock; false with the reason when the file cannot be written.
    bool Open(const QString& path, QString* error);

    void Bytes(const QString& port, EDirection direction, const QByteArray& bytes);
    // Something else that happened on the line: opened, closed, lost, a write that failed.
    void Event(const QString& port, const QString& text);

    // The bytes as the trace writes them: two hex digits each, separated by blanks.
    static QString Hex(const QByteArray& bytes);

private:
    void WriteLine(const QString& port, const QString& text);

    std::mutex m_mutex;
    QFile m_file;
    QElapsedTimer m_clock;
};
