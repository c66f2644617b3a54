#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// What a run of the talvex binary left behind.
struct SCliRun
{
    int exitCode = -1;
    bool finished = false; // false when it crashed or ran past its time
    QString out;
    QString err;
};

// Runs the built talvex binary the way a user's shell would, with its own settings folder (English, so that
// titles and code pages do not follow the machine) and without a display, so a command that tried to open a
// window would fail. Files for the commands are made in a temporary folder.
class CCliRunner
{
public:
    CCliRunner();

    // Replaces the stored settings: the language and further "KEY=value" lines of the [SET] section.
    void StoreSettings(const QString& lines, int language = 1033);
    QString Path(const QString& name) const { return m_work.filePath(name); }
    QString WriteFile(const QString& name, const QByteArray& bytes) const;
    QByteArray ReadFile(const QString& name) const;

    SCliRun Run(const QStringList& arguments, int timeoutMs = 60000) const;
    // Runs with standard output on a terminal; what the terminal showed comes back in out.
    SCliRun RunOnTerminal(const QStringList& arguments, int timeoutMs = 60000) const;

    QProcessEnvironment Environment() const;

private:
    QTemporaryDir m_config;
    QTemporaryDir m_work;
};

// A talvex-scale process on a pseudo-terminal of its own, stopped (SIGTERM) with the object.
class CScaleProcess
{
public:
    explicit CScaleProcess(const QStringList& arguments, const QProcessEnvironment& environment);
    ~CScaleProcess();

    // The device the scale listens on; empty when it did not start.
    const QString& Device() const { return m_device; }
    // Ends the scale and returns what it reported on standard error.
    QString Stop();

private:
    QProcess m_process;
    QString m_device;
};

QString TalvexBinary();
QString ScaleBinary();
