#include "download/DownloadLabels.h"

#include "app/StringTable.h"

namespace DownloadLabels {

QString Progress(int done, int total)
{
    const int percent = total > 0 ? done * 100 / total : 0;
    return QString::asprintf("%2d%%", percent);
}

QString Outcome(bool success)
{
    return success ? LoadString(StringId::Success) : QStringLiteral("Fail!");
}

} // namespace DownloadLabels
