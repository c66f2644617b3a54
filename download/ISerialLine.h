#pragma once

#include <QByteArray>
#include <QString>

// The serial line as the download session uses it: open a port, write records, hear the scale.
// The real line is the serial connection; tests use a line of their own.
class ISerialLine
{
public:
    // Called on the line's receive thread with each delivery of received bytes.
    using ReceiveCallback = void (*)(void* context, const char* bytes, int count);
    // Called on the line's receive thread when the device went away (read error, hang-up).
    using LostCallback = void (*)(void* context);

    virtual ~ISerialLine() = default;

    virtual bool IsOpen() const = 0;
    // False with an empty error when the port cannot be opened (missing, in use); false with
    // the reason when it opened but could not be configured.
    virtual bool Open(int portNumber, int baud, QString* error) = 0;
    // False with the reason when the write failed.
    virtual bool Write(const QByteArray& bytes, QString* error) = 0;
    virtual void Close() = 0;
    virtual void SetCallbacks(ReceiveCallback onReceive, LostCallback onLost, void* context) = 0;
};
