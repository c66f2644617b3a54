#include "app/SettingsFileFormat.h"

#include <QIODevice>
#include <QMap>
#include <QStringList>

namespace {

bool ReadSettingsFile(QIODevice& device, QSettings::SettingsMap& map)
{
    const QString text = QString::fromUtf8(device.readAll());
    QString section;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue; // not a key line: ignored rather than failing the whole store
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        map.insert(section.isEmpty() ? key : section + QLatin1Char('/') + key, value);
    }
    return true;
}

bool WriteSettingsFile(QIODevice& device, const QSettings::SettingsMap& map)
{
    QMap<QString, QStringList> sections;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().lastIndexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QString() : it.key().left(slash);
        const QString key = slash < 0 ? it.key() : it.key().mid(slash + 1);
        sections[section].append(key + QLatin1Char('=') + it.value().toString());
    }
    QString text;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        if (!it.key().isEmpty())
            text += QLatin1Char('[') + it.key() + QStringLiteral("]\n");
        for (const QString& line : it.value())
            text += line + QLatin1Char('\n');
    }
    return device.write(text.toUtf8()) >= 0;
}

} // namespace

QSettings::Format TalvexSettingsFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("conf"), ReadSettingsFile, WriteSettingsFile);
    return format;
}
