#include "serial/StablePortName.h"

#include <QDir>
#include <QFileInfo>

namespace StablePortName {

QString ForDevice(const QString& devicePath, const QString& byIdDirectory)
{
    const QString device = QFileInfo(devicePath).canonicalFilePath();
    if (device.isEmpty())
        return devicePath;
    const QDir byId(byIdDirectory);
    const QStringList links = byId.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& link : links) {
        const QString linkPath = byId.filePath(link);
        if (QFileInfo(linkPath).canonicalFilePath() == device)
            return linkPath;
    }
    return devicePath;
}

} // namespace StablePortName
