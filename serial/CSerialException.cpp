#include "serial/CSerialException.h"

#include "app/StringTable.h"
#include "app/SystemErrorText.h"

CSerialException::CSerialException(int error, QString operation, QString devicePath)
    : m_error(error)
    , m_operation(std::move(operation))
    , m_devicePath(std::move(devicePath))
    , m_what(Description().toStdString())
{
}

QString CSerialException::GetErrorMessage() const
{
    return SystemErrorText(m_error);
}

QString CSerialException::Description() const
{
    const QString reason = GetErrorMessage();
    if (!m_devicePath.isEmpty())
        return MessageString(StringId::SerialFailedOn).arg(m_operation, m_devicePath, reason);
    return MessageString(StringId::SerialFailed).arg(m_operation, reason);
}

const char* CSerialException::what() const noexcept
{
    return m_what.c_str();
}
