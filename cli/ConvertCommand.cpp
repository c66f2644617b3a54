#include "cli/CliCommands.h"
#include "cli/CliTable.h"
#include "cli/CsvTableWriter.h"
#include "exchange/PluExport.h"
#include "exchange/PluImport.h"

namespace Cli {
namespace {

// The kinds of file convert writes, by the ending of OUT (ASCII letters in either case).
enum class EOutputKind
{
    Csv,
    Workbook,
    Unknown,
};

EOutputKind OutputKindFor(const QString& path)
{
    if (AsciiUpperEnding(path, 4) == QLatin1String(".CSV"))
        return EOutputKind::Csv;
    if (AsciiUpperEnding(path, 4) == QLatin1String(".XLS") || AsciiUpperEnding(path, 5) == QLatin1String(".XLSX"))
        return EOutputKind::Workbook;
    return EOutputKind::Unknown;
}

} // namespace

// Imports IN as the window's Import does and writes OUT by its ending: .xls and .xlsx as Export
// writes them, .csv as UTF-8 text with the same columns.
int RunConvert(const QStringList& arguments)
{
    const QString command = QStringLiteral("convert");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Imports IN and writes OUT (.csv, .xls or .xlsx)."));
    STableOptions options;
    parser.addOption(options.mode);
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The table to read (.csv, .xls, .xlsx, .ods)."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The file to write (.csv, .xls, .xlsx)."));
    int exitCode = kSuccess;
    if (!ParseCommandLine(parser, arguments, command, &exitCode))
        return exitCode;

    if (parser.positionalArguments().size() != 2) {
        PrintError(command, QStringLiteral("give IN and OUT"));
        return kUsageError;
    }
    const QString out = parser.positionalArguments().at(1);
    // Export would append ".xls" to any other name; here the user named the file, so it is written as named or
    // not at all.
    const EOutputKind kind = OutputKindFor(out);
    if (kind == EOutputKind::Unknown) {
        PrintError(command, QStringLiteral("%1: OUT must end in .csv, .xls or .xlsx").arg(out));
        return kUsageError;
    }
    CCommandTable table;
    if (!OpenTableFromArguments(command, parser, options, parser.positionalArguments().at(0), table))
        return kUsageError;
    // The empty entry row is the window's place for typing, not part of the table's content.
    table.Table().RemoveEntryRow();

    if (kind == EOutputKind::Csv) {
        QString error;
        if (!WriteTableAsCsv(table.Table(), out, &error)) {
            PrintError(command, error);
            return kUsageError;
        }
        return kSuccess;
    }
    const SExportResult result = ExportTable(table.Table(), ExportTargetFor(out));
    if (!result.ok) {
        PrintError(command, result.error);
        return kUsageError;
    }
    return kSuccess;
}

} // namespace Cli
