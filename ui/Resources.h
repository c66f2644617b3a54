#pragma once

#include <QIcon>
#include <QString>

// The program's pictures, from the resources built into the program.

// Makes the resources of the static library known; safe to call more than once.
void LoadTalvexResources();

QIcon ProgramIcon();
// A toolbar picture by name: "import", "export", "download", "new", "add", "delete", "setting", "language".
QIcon ToolBarIcon(const QString& name);
