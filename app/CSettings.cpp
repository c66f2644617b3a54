#include "app/CSettings.h"

#include "app/SettingsFileFormat.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace {

struct SSettingKey
{
    ESetting key;
    const char* name;
    int defaultValue;
};

constexpr SSettingKey kKeys[] = {
    {ESetting::Language, "Language", -1},
    {ESetting::Port, "PORT", 0},
    {ESetting::Bps, "BPS", 1},
    {ESetting::PluMode, "PLUMODE", 1},
    {ESetting::LimMode, "LIMMODE", 0},
    {ESetting::PortName, "PORTNAME", 0},
    {ESetting::Retries, "RETRIES", 0},
    {ESetting::AckTimeout, "ACKTIMEOUT", 3000},
};

const SSettingKey& Entry(ESetting key)
{
    for (const SSettingKey& entry : kKeys) {
        if (entry.key == key)
            return entry;
    }
    Q_UNREACHABLE();
}

QString ApplicationName()
{
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty())
        name = QStringLiteral("talvex");
    return name;
}

} // namespace

CSettings::CSettings()
    : m_store(std::make_unique<QSettings>(TalvexSettingsFormat(), QSettings::UserScope, QStringLiteral("Talvex"),
                                          ApplicationName()))
{
}

CSettings::CSettings(const QString& filePath)
    : m_store(std::make_unique<QSettings>(filePath, TalvexSettingsFormat()))
{
}

CSettings::~CSettings() = default;

int CSettings::ReadInt(ESetting key) const
{
    const QVariant value = m_store->value(FullKey(key));
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : DefaultValue(key);
}

void CSettings::WriteInt(ESetting key, int value)
{
    m_store->setValue(FullKey(key), value);
}

QString CSettings::ReadString(ESetting key) const
{
    return m_store->value(FullKey(key)).toString();
}

void CSettings::WriteString(ESetting key, const QString& value)
{
    m_store->setValue(FullKey(key), value);
}

bool CSettings::Contains(ESetting key) const
{
    return m_store->contains(FullKey(key));
}

void CSettings::Sync()
{
    m_store->sync();
}

QString CSettings::FilePath() const
{
    return m_store->fileName();
}

int CSettings::DefaultValue(ESetting key)
{
    return Entry(key).defaultValue;
}

QString CSettings::KeyName(ESetting key)
{
    return QString::fromLatin1(Entry(key).name);
}

QString CSettings::FullKey(ESetting key) const
{
    return QString::fromLatin1(kSection) + QLatin1Char('/') + KeyName(key);
}
