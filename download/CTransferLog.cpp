#include "download/CTransferLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

CTransferLog::CTransferLog(QString path)
    : m_path(std::move(path))
{
}

QString CTransferLog::DefaultPath()
{
    QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    if (stateHome.isEmpty())
        stateHome = QDir::homePath() + QStringLiteral("/.local/state");
    return stateHome + QStringLiteral("/Talvex/transfers.log");
}

QString CTransferLog::Format(const STransferEntry& entry)
{
    QString reason = entry.reason;
    reason.replace(QLatin1Char('\n'), QLatin1Char(' '));
    // The stable name finds the adapter again; the device path says where it was at the time.
    const QString port = entry.port.isEmpty() ? entry.device : entry.port;
    const QString device =
        entry.device.isEmpty() || entry.device == port ? QString() : QStringLiteral(" (%1)").arg(entry.device);
    // Filled in one call, so that a "%" in a device path or a layout's name is not taken for a place.
    return QStringLiteral("%1 port %2%3, %4 baud, %5, code page %6: %7 records sent, %8 acknowledged, %9 retries; %10")
               .arg(entry.startedAt.toUTC().toString(Qt::ISODate), port, device, QString::number(entry.baudRate),
                    entry.layout, QString::number(entry.textCodePage), QString::number(entry.recordsSent),
                    QString::number(entry.recordsAcknowledged), QString::number(entry.retries),
                    entry.success ? QStringLiteral("Success") : QStringLiteral("Fail!")) +
           (entry.success || entry.failedRow < 0 ? QString() : QStringLiteral(" at row %1").arg(entry.failedRow + 1)) +
           (reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)) +
           QStringLiteral(", %1 s\n").arg(double(entry.durationMs) / 1000, 0, 'f', 1);
}

bool CTransferLog::EnsureExists() const
{
    const QFileInfo info(m_path);
    if (info.isFile())
        return true;
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QFile file(m_path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

bool CTransferLog::Append(const STransferEntry& entry) const
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    if (info.exists() && info.size() >= kRotateBytes) {
        const QString older = m_path + QStringLiteral(".1");
        QFile::remove(older);
        QFile::rename(m_path, older);
    }
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    const QByteArray line = Format(entry).toUtf8();
    return file.write(line) == line.size();
}
