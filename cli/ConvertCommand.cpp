#include "cli/CliCommands.h"
#include "cli/CliTable.h"
#include "cli/CsvTableWriter.h"
#include "exchange/PluExport.h"
#include "exchange/PluImport.h"

namespace Cli {

// Imports IN as the window's Import does and writes OUT by its ending: .xls and .xlsx as Export
// writes them, .csv as UTF-8 text with the same columns.
int RunConvert(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Imports IN and writes OUT (.csv, .xls or .xlsx)."));
    parser.addHelpOption();
    STableOptions options;
    parser.addOption(options.mode);
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The table to read (.csv, .xls, .xlsx)."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The file to write (.csv, .xls, .xlsx)."));
    parser.process(arguments);

    const QString command = QStringLiteral("convert");
    if (parser.positionalArguments().size() != 2) {
        PrintError(command, QStringLiteral("give IN and OUT"));
        return kUsageError;
    }
    ChooseLanguageLikeTheWindow();
    const int mode = ModeFromOption(parser, options.mode);
    if (mode < 0) {
        PrintError(command, QStringLiteral("--mode takes pricing or counting"));
        return kUsageError;
    }
    CCommandTable table;
    table.EnterMode(mode);
    QString error;
    if (!table.Import(parser.positionalArguments().at(0), &error)) {
        PrintError(command, error);
        return kUsageError;
    }
    // The empty entry row is the window's place for typing, not part of the table's content.
    CGridModel& grid = table.Grid();
    grid.DeleteRow(grid.RowCount() - 1);

    const QString out = parser.positionalArguments().at(1);
    const int pluMode = table.Table().PluMode();
    const int limitMode = table.Table().LimitMode();
    if (ImportRouteFor(out) == EImportRoute::Text) {
        if (!WriteTableAsCsv(grid, pluMode, limitMode, out, &error)) {
            PrintError(command, error);
            return kFailed;
        }
        return kSuccess;
    }
    const SExportTarget target = ExportTargetFor(out);
    const SExportResult result = ExportTable(grid, pluMode, limitMode, target);
    if (!result.ok) {
        PrintError(command, result.error);
        return kFailed;
    }
    return kSuccess;
}

} // namespace Cli
