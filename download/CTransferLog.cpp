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
    return QStringLiteral("%1 port %2, %3 baud, %4, code page %5: %6 records sent, %7 acknowledged, %8 retries; %9")
               .arg(entry.startedAt.toUTC().toString(Qt::ISODate), entry.device)
               .arg(entry.baudRate)
               .arg(entry.layout)
               .arg(entry.textCodePage)
               .arg(entry.recordsSent)
               .arg(entry.recordsAcknowledged)
               .arg(entry.retries)
               .arg(entry.success ? QStringLiteral("Success") : QStringLiteral("Fail!")) +
           (entry.success || entry.failedRow < 0 ? QString() : QStringLiteral(" at row %1").arg(entry.failedRow + 1)) +
           (reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)) +
           QStringLiteral(", %1 s\n").arg(double(entry.durationMs) / 1000, 0, 'f', 1);
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
