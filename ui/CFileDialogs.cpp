#include "ui/CFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

QString CFileDialogs::GetOpenFileName(const QString& filter)
{
    const QString path = QFileDialog::getOpenFileName(m_parent, QString(), m_lastFolder, filter);
    if (!path.isEmpty())
        m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

QString CFileDialogs::GetSaveFileName(const QString& filter)
{
    const QString path = QFileDialog::getSaveFileName(m_parent, QString(), m_lastFolder, filter);
    if (!path.isEmpty())
        m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}
