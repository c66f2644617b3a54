#pragma once

#include "app/IFileOpener.h"

// Opens files with the desktop's program for their type.
class CDesktopFileOpener final : public IFileOpener
{
public:
    bool Open(const QString& path) override;
};
