#pragma once

#include <QByteArray>
#include <QString>

namespace Portwire {
class IReceiver;
}

// The serial line as the download session uses it: open a device, write records, hear the scale.
// The real line is the serial connection; tests use a line of their own.
class ISerialLine
{
public:
    virtual ~ISerialLine() = default;

    virtual bool IsOpen() const = 0;
    // False with an empty error when the device cannot be opened (missing, in use); false with
    // the reason when it opened but could not be configured.
    virtual bool Open(const QString& devicePath, int baud, QString* error) = 0;
    // False with the reason when the write failed.
    virtual bool Write(const QByteArray& bytes, QString* error) = 0;
    virtual void Close() = 0;
    // Whether bytes take their time on this line (10 bits each at the baud rate) or cross it at once, as on a
    // pseudo-terminal.
    virtual bool IsPacedByBaudRate() const = 0;
    // The receiver hears the scale on the line's receive thread; null unregisters.
    virtual void SetReceiver(Portwire::IReceiver* receiver) = 0;
};
