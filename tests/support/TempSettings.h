#pragma once

#include "app/CSettings.h"

#include <QTemporaryDir>

#include <memory>

// Points the user's configuration directory at a temporary folder for the whole test process,
// so that no test ever reads or writes the real user's settings.
void IsolateUserSettings();

// A settings store in a file of its own, removed with the object.
class CTempSettings
{
public:
    CTempSettings();
    CSettings& Settings() { return *m_settings; }
    QString FilePath() const;
    // The file's text as it stands on disk (after a sync).
    QString FileText();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CSettings> m_settings;
};
