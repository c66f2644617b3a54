#pragma once

#include "exchange/PluImport.h"

#include <QString>

class CPluTable;
class IFileDialogs;
class IPrompt;

// The filters of the Import and Export dialogs.
QString ImportFileFilter();
QString ExportFileFilter();

// Replaces the table's rows with the rows read from a file: switches the limits setting first when
// the file asks for the other one, then puts in the rows and appends the entry row. UnexportedChanges
// is left as it is.
void ApplyImportResult(CPluTable& table, SImportResult result);

// The Import command: asks first when there are unexported changes, shows the open-file dialog, reads
// the file whole and replaces the rows only when it could be read; otherwise shows why and leaves the
// table as it was. True when the rows were replaced.
bool RunImportCommand(CPluTable& table, IFileDialogs& dialogs, IPrompt& prompt);

// The Export command: shows the save-file dialog, writes the table, and clears UnexportedChanges when
// the file was written; otherwise shows why and leaves the flag set. True when the file was written.
bool RunExportCommand(CPluTable& table, IFileDialogs& dialogs, IPrompt& prompt);
