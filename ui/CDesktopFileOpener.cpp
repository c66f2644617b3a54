#include "ui/CDesktopFileOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool CDesktopFileOpener::Open(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
