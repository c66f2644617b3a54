#pragma once

#include <QString>

// The file dialogs of Import and Export. The window answers them with the platform's dialogs; tests
// answer them with preset paths.
class IFileDialogs
{
public:
    virtual ~IFileDialogs() = default;

    // An open-file dialog with the filter ("Name (*.a *.b)"); the chosen path, empty when cancelled.
    virtual QString GetOpenFileName(const QString& filter) = 0;
    // A save-file dialog with the filter; the path as typed or chosen, empty when cancelled.
    virtual QString GetSaveFileName(const QString& filter) = 0;
};
