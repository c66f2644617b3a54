#include "CliRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

QString TalvexBinary()
{
    return QStringLiteral(TALVEX_BINARY_DIR "/bin/talvex");
}

QString ScaleBinary()
{
    return QStringLiteral(TALVEX_BINARY_DIR "/bin/talvex-scale");
}

CCliRunner::CCliRunner()
{
    QDir(m_config.path()).mkpath(QStringLiteral("Talvex"));
    StoreSettings(QString());
}

void CCliRunner::StoreSettings(const QString& lines, int language)
{
    QFile file(m_config.filePath(QStringLiteral("Talvex/talvex.conf")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QStringLiteral("[[SET]]\nLanguage=%1\n%2").arg(language).arg(lines).toUtf8());
}

QString CCliRunner::WriteFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(Path(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return file.fileName();
}

QByteArray CCliRunner::ReadFile(const QString& name) const
{
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QProcessEnvironment CCliRunner::Environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    environment.insert(QStringLiteral("XDG_STATE_HOME"), m_config.path() + QStringLiteral("/state"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}

SCliRun CCliRunner::Run(const QStringList& arguments, int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(Environment());
    process.setWorkingDirectory(m_work.path());
    process.start(TalvexBinary(), arguments);
    SCliRun run;
    run.finished = process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

SCliRun CCliRunner::RunOnTerminal(const QStringList& arguments, int timeoutMs) const
{
    SCliRun run;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        if (master >= 0)
            ::close(master);
        return run;
    }
    const QString slavePath = QString::fromLocal8Bit(::ptsname(master));
    // Held open so that what the program wrote can still be read after it ended.
    const int slave = ::open(slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);

    QProcess process;
    process.setProcessEnvironment(Environment());
    process.setWorkingDirectory(m_work.path());
    process.setStandardOutputFile(slavePath);
    process.start(TalvexBinary(), arguments);

    QByteArray shown;
    auto drain = [&](int waitMs) {
        pollfd fd{master, POLLIN, 0};
        while (::poll(&fd, 1, waitMs) > 0 && (fd.revents & POLLIN)) {
            char buffer[4096];
            const ssize_t count = ::read(master, buffer, sizeof buffer);
            if (count <= 0)
                break;
            shown.append(buffer, count);
            waitMs = 0;
        }
    };
    QElapsedTimer clock;
    clock.start();
    // The terminal holds only a few kilobytes: it is read while the program runs.
    while (!process.waitForFinished(20) && clock.elapsed() < timeoutMs)
        drain(0);
    run.finished = process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit;
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    drain(100);
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(shown);
    run.err = QString::fromUtf8(process.readAllStandardError());
    if (slave >= 0)
        ::close(slave);
    ::close(master);
    return run;
}

CScaleProcess::CScaleProcess(const QStringList& arguments, const QProcessEnvironment& environment)
{
    m_process.setProcessEnvironment(environment);
    m_process.start(ScaleBinary(), arguments);
    if (!m_process.waitForStarted(30000))
        return;
    // The first line of its output is the device; a loaded machine may take a while to start it.
    QElapsedTimer clock;
    clock.start();
    while (!m_process.canReadLine() && clock.elapsed() < 30000 && m_process.state() == QProcess::Running)
        m_process.waitForReadyRead(100);
    if (m_process.canReadLine())
        m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

CScaleProcess::~CScaleProcess()
{
    Stop();
}

QString CScaleProcess::Stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(30000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    return QString::fromLocal8Bit(m_process.readAllStandardError());
}
