#pragma once

#include <QString>

#include <exception>
#include <string>

// A failed system call on a serial device: the errno of that moment, what was being done, and on which device.
class CSerialException : public std::exception
{
public:
    CSerialException(int error, QString operation, QString devicePath);

    // The errno value.
    int Error() const { return m_error; }
    // The system's text for the error, for example "Input/output error"; empty when the system has none.
    QString GetErrorMessage() const;
    // What failed, in the language of messages, for example "flush the line".
    const QString& Operation() const { return m_operation; }
    const QString& DevicePath() const { return m_devicePath; }
    // A sentence naming the device, the step and the reason, for a message box.
    QString Description() const;

    const char* what() const noexcept override;

private:
    int m_error;
    QString m_operation;
    QString m_devicePath;
    std::string m_what;
};
