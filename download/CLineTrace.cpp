#include "download/CLineTrace.h"

#include <QDateTime>

bool CLineTrace::Open(const QString& path, QString* error)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        if (error)
            *error = m_file.errorString();
        return false;
    }
    m_clock.start();
    const QString header = QStringLiteral("# Talvex download trace, begun %1. Each line: milliseconds since then, the "
                                          "port, then > and the bytes sent or < and the bytes received, in hex.\n")
                               .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    m_file.write(header.toUtf8());
    m_file.flush();
    return true;
}

QString CLineTrace::Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

void CLineTrace::Bytes(const QString& port, EDirection direction, const QByteArray& bytes)
{
    WriteLine(port, (direction == EDirection::Sent ? QStringLiteral("> ") : QStringLiteral("< ")) + Hex(bytes));
}

void CLineTrace::Event(const QString& port, const QString& text)
{
    WriteLine(port, QStringLiteral("- ") + text);
}

void CLineTrace::WriteLine(const QString& port, const QString& text)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_file.isOpen())
        return;
    const double milliseconds = double(m_clock.nsecsElapsed()) / 1e6;
    const QString line = QStringLiteral("%1 %2 %3\n").arg(milliseconds, 10, 'f', 3).arg(port, text);
    m_file.write(line.toUtf8());
    // A technician reads the trace of a download that hung or was killed, too.
    m_file.flush();
}
