#pragma once

#include <QDateTime>
#include <QString>

// One download as the transfer log keeps it.
struct STransferEntry
{
    QDateTime startedAt;
    QString port;   // the port's stable name (its /dev/serial/by-id link), else its device path
    QString device; // the port's device path
    int baudRate = 0;
    QString layout; // "pricing" or "counting"
    int textCodePage = 0;
    int recordsSent = 0; // resent ones included
    int recordsAcknowledged = 0;
    int retries = 0;
    bool success = false;
    int failedRow = -1; // 0-based; -1 when no row is to blame
    QString reason;
    qint64 durationMs = 0;
};

// The transfer log: a text file that gains a line for every download, from the window or the command line, so that
// what happened stays known after the label has changed. It is started afresh (the old one kept as .1) once it
// reaches kRotateBytes.
class CTransferLog
{
public:
    static constexpr qint64 kRotateBytes = 1024 * 1024;

    explicit CTransferLog(QString path = DefaultPath());

    // $XDG_STATE_HOME/Talvex/transfers.log, ~/.local/state/Talvex/transfers.log when that is not set.
    static QString DefaultPath();
    const QString& Path() const { return m_path; }
    // Creates the log, empty, with its folder when it is not there yet (to show it before any download); false when
    // it cannot be created.
    bool EnsureExists() const;

    // False when the log cannot be written (a download does not fail for that).
    bool Append(const STransferEntry& entry) const;
    static QString Format(const STransferEntry& entry);

private:
    QString m_path;
};
