#include "support/TempSettings.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

void IsolateUserSettings()
{
    static QTemporaryDir home;
    const QByteArray path = home.path().toLocal8Bit();
    qputenv("XDG_CONFIG_HOME", path + "/config");
    qputenv("XDG_DATA_HOME", path + "/data");
    qputenv("XDG_CACHE_HOME", path + "/cache");
    qputenv("XDG_STATE_HOME", path + "/state");
}

CTempSettings::CTempSettings()
    : m_settings(std::make_unique<CSettings>(m_dir.filePath(QStringLiteral("talvex.conf"))))
{
}

QString CTempSettings::FilePath() const
{
    return m_settings->FilePath();
}

QString CTempSettings::FileText()
{
    m_settings->Sync();
    QFile file(FilePath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}
