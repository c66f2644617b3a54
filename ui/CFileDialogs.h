#pragma once

#include "exchange/IFileDialogs.h"

class QWidget;

// Import's and Export's file dialogs as the desktop shows them.
class CFileDialogs final : public IFileDialogs
{
public:
    explicit CFileDialogs(QWidget* parent)
        : m_parent(parent)
    {
    }

    QString GetOpenFileName(const QString& filter) override;
    QString GetSaveFileName(const QString& filter) override;

private:
    QWidget* m_parent;
    QString m_lastFolder;
};
