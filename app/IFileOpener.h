#pragma once

#include <QString>

// Shows a file in the program the desktop opens such files with. The window uses the desktop's; tests record the
// request instead of opening anything.
class IFileOpener
{
public:
    virtual ~IFileOpener() = default;
    // False when no program could be started for the file.
    virtual bool Open(const QString& path) = 0;
};
