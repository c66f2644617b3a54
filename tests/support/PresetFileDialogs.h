#pragma once

#include "exchange/IFileDialogs.h"

// File dialogs that answer with preset paths; an empty path is a cancelled dialog.
class CPresetFileDialogs final : public IFileDialogs
{
public:
    QString GetOpenFileName(const QString&) override { return openPath; }
    QString GetSaveFileName(const QString&) override { return savePath; }

    QString openPath;
    QString savePath;
};
