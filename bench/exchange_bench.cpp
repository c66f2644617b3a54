// Import and Export timed from file to table and from table to file, with the peak memory of each.
//
//     exchange_bench            runs every case, each in a process of its own, and prints a table
//     exchange_bench <case> <folder>   runs one case on the input files in the folder and prints
//                                      "<case> <first s> <best s> <peak MB> ok"
//
// Each case runs five times in its process: the first run meets memory the process never had (on a
// virtual machine every new memory page costs a fault), the later ones reuse what the first freed.
//
// The tables have the eight pricing columns as text, every third goods name in Chinese. Import
// reads the whole file into rows and puts them into the table; Export writes the table to a file
// beside the target and renames it over the target, as the commands do.

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "exchange/PluExport.h"
#include "exchange/PluImport.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kRepetitions = 5;

class CSilentPrompt final : public IPrompt
{
public:
    void Beep(int, int) override {}
    void ShowMessage(const QString&, const QString&, EIcon) override {}
    bool AskOkCancel(const QString&, const QString&, EIcon) override { return true; }
};

struct SCase
{
    const char* name;
    const char* file;
    int rows;
    bool import;
};

const SCase kCases[] = {
    {"import-csv-1k", "t1k.csv", 1000, true},
    {"import-csv-100k", "t100k.csv", 100000, true},
    {"import-xlsx-1k", "t1k_shared.xlsx", 1000, true},
    {"import-xlsx-100k", "t100k_shared.xlsx", 100000, true},
    {"import-xlsx-inline-100k", "t100k_inline.xlsx", 100000, true},
    {"import-xls-65535", "t65535.xls", 65535, true},
    {"export-xlsx-1k", "out1k.xlsx", 1000, false},
    {"export-xlsx-100k", "out100k.xlsx", 100000, false},
    {"export-xls-65535", "out65535.xls", 65535, false},
};

QStringList PricingTitles()
{
    return {QStringLiteral("Sr.No."),   QStringLiteral("PLU No."),          QStringLiteral("Unit price"),
            QStringLiteral("Goods Id"), QStringLiteral("Goods Name"),       QStringLiteral("Specification"),
            QStringLiteral("Remark"),   QStringLiteral("Expiration(Days)"), QStringLiteral("Quantity pricing")};
}

// The eight data columns of row r.
QStringList RowTexts(int r)
{
    return {QString::number(r + 1),
            QString::number((r % 9999) + 1) + QStringLiteral(".50"),
            QString::number(6901234500000LL + r),
            r % 3 == 0 ? QString::fromUtf8("苹果%1号").arg(r) : QStringLiteral("Apple %1").arg(r),
            QStringLiteral("500g"),
            QStringLiteral("fresh"),
            QString::number(r % 30),
            r % 2 ? QStringLiteral("1") : QStringLiteral("0")};
}

// A pricing table with the given rows, as Import leaves it (without the entry row).
struct SBenchTable
{
    QTemporaryDir dir;
    CSettings settings{dir.filePath(QStringLiteral("bench.conf"))};
    CSilentPrompt prompt;
    CGridModel grid;
    CPluTable table{grid, settings, prompt};

    explicit SBenchTable(int rows)
    {
        settings.WriteInt(ESetting::PluMode, 0);
        table.EnterStoredMode();
        Fill(rows);
    }

    void Fill(int rows)
    {
        std::vector<SPluRow> gridRows(static_cast<size_t>(rows));
        for (int r = 0; r < rows; ++r) {
            QVector<QString> texts{QString()};
            texts.append(RowTexts(r));
            gridRows[size_t(r)].checked = texts[8] == QLatin1String("1");
            texts[8].clear();
            gridRows[size_t(r)].cells = texts;
        }
        table.ReplaceRows(std::move(gridRows));
        table.RemoveEntryRow();
    }
};

bool WriteCsv(const QString& path, int rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes =
        "PLU No.,Unit price,Goods Id,Goods Name,Specification,Remark,Expiration(Days),Quantity pricing\r\n";
    for (int r = 0; r < rows; ++r)
        bytes += RowTexts(r).join(QLatin1Char(',')).toUtf8() + "\r\n";
    return file.write(bytes) == bytes.size();
}

// An .xlsx with a shared string table, as spreadsheet programs write them.
bool WriteSharedStringsXlsx(const QString& path, int rows)
{
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet1");
    const QStringList titles = PricingTitles();
    for (int column = 1; column < titles.size(); ++column)
        worksheet_write_string(sheet, 0, lxw_col_t(column - 1), titles[column].toUtf8().constData(), nullptr);
    for (int r = 0; r < rows; ++r) {
        const QStringList texts = RowTexts(r);
        for (int column = 0; column < texts.size(); ++column)
            worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(column), texts[column].toUtf8().constData(),
                                   nullptr);
    }
    return workbook_close(book) == LXW_NO_ERROR;
}

bool WriteWithExport(const QString& path, EWorkbookFormat format, int rows)
{
    SBenchTable bench(rows);
    return ExportTable(bench.table, SExportTarget{path, format}).ok;
}

bool MakeInputs(const QDir& dir)
{
    return WriteCsv(dir.filePath(QStringLiteral("t1k.csv")), 1000) &&
           WriteCsv(dir.filePath(QStringLiteral("t100k.csv")), 100000) &&
           WriteSharedStringsXlsx(dir.filePath(QStringLiteral("t1k_shared.xlsx")), 1000) &&
           WriteSharedStringsXlsx(dir.filePath(QStringLiteral("t100k_shared.xlsx")), 100000) &&
           WriteWithExport(dir.filePath(QStringLiteral("t100k_inline.xlsx")), EWorkbookFormat::Xlsx, 100000) &&
           WriteWithExport(dir.filePath(QStringLiteral("t65535.xls")), EWorkbookFormat::Xls, 65535);
}

double Seconds(const std::function<bool()>& work, bool& ok)
{
    const auto start = std::chrono::steady_clock::now();
    ok = work() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int RunCase(const SCase& c, const QDir& dir)
{
    std::vector<double> times;
    bool ok = true;
    const QString path = dir.filePath(QString::fromLatin1(c.file));
    if (c.import) {
        SBenchTable bench(0);
        for (int i = 0; i < kRepetitions; ++i) {
            bench.grid.ClearRows(); // the table of the previous run is not part of this one
            times.push_back(Seconds(
                [&] {
                    SImportResult result = ReadImportFile(path, EPluMode::Pricing, ELimitMode::Off);
                    if (!result.ok || int(result.rows.size()) != c.rows)
                        return false;
                    bench.table.ReplaceRows(std::move(result.rows));
                    return bench.table.RowCount() == c.rows + 1;
                },
                ok));
        }
    } else {
        SBenchTable bench(c.rows);
        const EWorkbookFormat format =
            path.endsWith(QLatin1String(".xls")) ? EWorkbookFormat::Xls : EWorkbookFormat::Xlsx;
        for (int i = 0; i < kRepetitions; ++i) {
            times.push_back(Seconds([&] { return ExportTable(bench.table, SExportTarget{path, format}).ok; }, ok));
        }
    }
    const double first = times.front();
    const double best = *std::min_element(times.begin() + 1, times.end());
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %.3f %.3f %.1f %s\n", c.name, first, best, double(usage.ru_maxrss) / 1024.0, ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "make-inputs") == 0)
        return MakeInputs(QDir(QString::fromLocal8Bit(argv[2]))) ? 0 : 1;
    if (argc == 3) {
        for (const SCase& c : kCases) {
            if (qstrcmp(c.name, argv[1]) == 0)
                return RunCase(c, QDir(QString::fromLocal8Bit(argv[2])));
        }
        std::fprintf(stderr, "unknown case %s\n", argv[1]);
        return 2;
    }

    QTemporaryDir dir;
    std::printf("making the input files in %s ...\n", qPrintable(dir.path()));
    std::fflush(stdout);
    // Every step runs in a process of its own: Linux keeps a process's peak memory across exec, so
    // this one stays small.
    if (QProcess::execute(QCoreApplication::applicationFilePath(), {QStringLiteral("make-inputs"), dir.path()}) != 0) {
        std::fprintf(stderr, "the input files could not be made\n");
        return 1;
    }
    std::printf("%-26s %9s %9s %9s\n", "case", "first s", "best s", "peak MB");
    int failures = 0;
    for (const SCase& c : kCases) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(c.name), dir.path()});
        child.waitForFinished(-1);
        const QStringList fields =
            QString::fromLocal8Bit(child.readAllStandardOutput()).simplified().split(QLatin1Char(' '));
        if (child.exitCode() != 0 || fields.size() != 5) {
            std::printf("%-26s failed: %s\n", c.name, qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));
            ++failures;
            continue;
        }
        std::printf("%-26s %9s %9s %9s\n", c.name, qPrintable(fields[1]), qPrintable(fields[2]), qPrintable(fields[3]));
        std::fflush(stdout);
    }
    return failures ? 1 : 0;
}
