#include "exchange/ExchangeCommands.h"

#include "app/IPrompt.h"
#include "exchange/IFileDialogs.h"
#include "exchange/PluExport.h"
#include "plu/CPluTable.h"

#include <QFileInfo>

#include <utility>

QString ImportFileFilter()
{
    return QStringLiteral("Excel Files (*.xls *.CSV *.xlsx *.XLS *.csv *.XLSX *.ods *.ODS)");
}

QString ExportFileFilter()
{
    return QStringLiteral("Excel Files (*.xls *.xlsx *.XLS *.XLSX)");
}

void ApplyImportResult(CPluTable& table, SImportResult result)
{
    if (result.limitMode != table.LimitMode())
        table.ToggleLimitMode(false);
    table.ReplaceRows(std::move(result.rows));
    // The rows are the file's: nothing in them waits for an export.
    table.SetUnexportedChanges(0);
}

bool RunImportCommand(CPluTable& table, IFileDialogs& dialogs, IPrompt& prompt)
{
    if (!table.ConfirmDiscard(StringId::NotExportedImport))
        return false;
    const QString path = dialogs.GetOpenFileName(ImportFileFilter());
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    SImportResult result = ReadImportFile(path, table.PluMode(), table.LimitMode());
    if (!result.ok) {
        prompt.ShowMessage(ApplicationCaption(), result.error, IPrompt::EIcon::Warning);
        return false;
    }
    ApplyImportResult(table, std::move(result));
    return true;
}

bool RunExportCommand(CPluTable& table, IFileDialogs& dialogs, IPrompt& prompt)
{
    const QString path = dialogs.GetSaveFileName(ExportFileFilter());
    if (path.isEmpty())
        return false;
    const SExportResult result = ExportTable(table, ExportTargetFor(path));
    if (!result.ok) {
        prompt.ShowMessage(ApplicationCaption(), result.error, IPrompt::EIcon::Warning);
        return false;
    }
    table.SetUnexportedChanges(0);
    return true;
}
