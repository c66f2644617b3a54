#include "serial/CSerialException.h"

#include <cstring>

namespace {

// strerror_r, because strerror may share its buffer with other threads; the receive thread raises too.
QString SystemErrorText(int error)
{
    char buffer[256] = {};
    // The GNU variant returns a pointer to the text, which may or may not be the buffer.
    const char* text = strerror_r(error, buffer, sizeof buffer);
    return text ? QString::fromLocal8Bit(text) : QString();
}

} // namespace

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
    QString text = QStringLiteral("Cannot %1").arg(m_operation);
    if (!m_devicePath.isEmpty())
        text += QStringLiteral(" on %1").arg(m_devicePath);
    const QString reason = GetErrorMessage();
    if (!reason.isEmpty())
        text += QStringLiteral(": %1").arg(reason);
    return text;
}

const char* CSerialException::what() const noexcept
{
    return m_what.c_str();
}
