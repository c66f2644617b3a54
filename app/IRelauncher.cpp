#include "app/IRelauncher.h"

#include <QProcess>

bool CProcessRelauncher::Relaunch(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}
