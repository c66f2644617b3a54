#include "app/Language.h"
#include "cli/CliCommands.h"
#include "cli/CliTable.h"
#include "download/CRowChecks.h"
#include "download/PluRecord.h"
#include "download/TextCodePage.h"

#include <QTextStream>

#include <cstdio>

namespace Cli {
namespace {

// The bytes in lower-case hex digits, as QByteArray::toHex writes them, straight onto the end of out.
void AppendHex(QByteArray& out, const QByteArray& bytes)
{
    static const char kDigits[] = "0123456789abcdef";
    const qsizetype at = out.size();
    out.resize(at + 2 * bytes.size());
    char* hex = out.data() + at;
    for (const char byte : bytes) {
        *hex++ = kDigits[(uchar(byte) >> 4) & 0xF];
        *hex++ = kDigits[uchar(byte) & 0xF];
    }
}

} // namespace

// Prints, for every row of the imported table (entry row included), whether the download would send
// it, pass over it or stop at it, with the record's bytes or the reason, then the row's warnings;
// the counts go to standard error.
int RunRecords(const QStringList& arguments)
{
    const QString command = QStringLiteral("records");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows the record each row of FILE would send to a scale: Sr.No., then sendable and the record's bytes in "
        "hex, skipped, or rejected and the reason, then the row's warnings (texts cut or not in the code page, a "
        "PLU No. an earlier row holds), separated by tabs. The counts go to standard error."));
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
    // The same checks as the window's marks: each row is built once, with the chosen code pages.
    const int language = Language::LanguageInForce();
    const CRowChecks checks(table.Grid(), table.Table(), CRowChecks::ERecords::Keep,
                            TextCodePageForEncoding(encoding, language), Language::AnsiCodePage(language));

    // The lines are UTF-8, gathered and written in large pieces.
    constexpr qsizetype kWriteAfterBytes = 1 << 20;
    QByteArray out;
    const auto write = [&out] {
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        out.resize(0);
    };
    const CPluTable& plu = table.Table();
    for (int row = 0; row < plu.RowCount(); ++row) {
        const CRowChecks::SRowCheck& check = checks.Check(row);
        out += plu.CellText(row, PluLayout::kSrNoColumn).toUtf8();
        out += '\t';
        if (check.outcome == EPluRecordOutcome::Sendable)
            AppendHex(out.append("sendable\t"), check.bytes);
        else if (check.outcome == EPluRecordOutcome::Rejected)
            out += "rejected\t" + check.reason.toUtf8();
        else
            out += "skipped\t";
        // The rejection reason is already in its column.
        if (!check.warnings.isEmpty() || check.repeatsRow >= 0) {
            const QStringList notes = checks.Notes(row);
            for (int i = check.reason.isEmpty() ? 0 : 1; i < notes.size(); ++i)
                out += '\t' + notes[i].toUtf8();
        }
        out += '\n';
        if (out.size() >= kWriteAfterBytes)
            write();
    }
    write();
    std::fflush(stdout);
    const CRowChecks::SSummary summary = checks.Summary();
    QTextStream(stderr) << QStringLiteral("%1 sendable, %2 skipped, %3 rejected, %4 with warnings, %5 repeated PLU "
                                          "numbers\n")
                               .arg(summary.sendable)
                               .arg(summary.skipped)
                               .arg(summary.rejected)
                               .arg(summary.withWarnings)
                               .arg(summary.repeated);
    return kSuccess;
}

} // namespace Cli
