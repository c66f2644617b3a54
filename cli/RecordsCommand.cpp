#include "app/Language.h"
#include "cli/CliCommands.h"
#include "cli/CliTable.h"
#include "download/PluRecord.h"
#include "download/TextCodePage.h"

#include <QTextStream>

namespace Cli {

// Prints, for every row of the imported table (entry row included), whether the download would send
// it, pass over it or stop at it, with the record's bytes or the reason.
int RunRecords(const QStringList& arguments)
{
    const QString command = QStringLiteral("records");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows the record each row of FILE would send to a scale: Sr.No., then sendable and the record's bytes in "
        "hex, skipped, or rejected and the reason, separated by tabs."));
    STableOptions options;
    parser.addOptions({options.mode, options.encoding});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The table (.csv, .xls, .xlsx, .ods)."));
    int exitCode = kSuccess;
    if (!ParseCommandLine(parser, arguments, command, &exitCode))
        return exitCode;

    if (parser.positionalArguments().size() != 1) {
        PrintError(command, QStringLiteral("give exactly one FILE"));
        return kUsageError;
    }
    CCommandTable table;
    int encoding = -1;
    if (!OpenTableFromArguments(command, parser, options, parser.positionalArguments().constFirst(), table, &encoding))
        return kUsageError;

    const int language = Language::LanguageInForce();
    const unsigned textCodePage = unsigned(TextCodePageForEncoding(encoding, language));
    const int goodsIdCodePage = Language::AnsiCodePage(language);
    QTextStream out(stdout);
    const CPluTable& plu = table.Table();
    for (int row = 0; row < plu.RowCount(); ++row) {
        const SPluRecord record =
            BuildPluRecord(plu.RowTexts(row), plu.PluMode(), plu.LimitMode(), textCodePage, goodsIdCodePage);
        out << plu.CellText(row, PluLayout::kSrNoColumn) << '\t';
        if (record.IsSendable())
            out << "sendable\t" << QString::fromLatin1(record.bytes.toHex());
        else if (record.IsRejected())
            out << "rejected\t" << record.reason;
        else
            out << "skipped\t";
        out << '\n';
    }
    return kSuccess;
}

} // namespace Cli
