#include "ui/Resources.h"

// Q_INIT_RESOURCE declares a function and so must stand outside any namespace.
static void InitResources()
{
    Q_INIT_RESOURCE(talvex);
}

void LoadTalvexResources()
{
    static const bool loaded = (InitResources(), true);
    Q_UNUSED(loaded);
}

QIcon ProgramIcon()
{
    LoadTalvexResources();
    return QIcon(QStringLiteral(":/icons/talvex.svg"));
}

QIcon ToolBarIcon(const QString& name)
{
    LoadTalvexResources();
    return QIcon(QStringLiteral(":/icons/") + name + QStringLiteral(".svg"));
}
