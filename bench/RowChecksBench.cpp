// What the row checks cost a table of 100,000 pricing rows: building the records, putting the rows
// into the grid (as Import does), committing one cell, and sorting, each with and without the checks
// that mark the grid's cells. Every row's Goods Name is half Chinese, so the text fields go through
// the code page converters. Run: build/bin/row_checks_bench [rows = 100000] [code page = 936]

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "download/CRowChecks.h"
#include "download/PluRecord.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "plu/PluLayout.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kEdits = 200;

class CSilentPrompt final : public IPrompt
{
public:
    void Beep(int, int) override {}
    void ShowMessage(const QString&, const QString&, EIcon) override {}
    bool AskOkCancel(const QString&, const QString&, EIcon) override { return true; }
};

std::vector<SPluRow> PricingRows(int count)
{
    std::vector<SPluRow> rows(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        rows[std::size_t(i)].checked = true; // the Quantity pricing mark is the row's flag, not a text
        rows[std::size_t(i)].cells = CRowTexts{QString::number(i + 1),
                                               QString::number(i % 1008 + 1),
                                               QString::number(1 + (i * 37) % 99999 / 100.0),
                                               QStringLiteral("G%1").arg(i, 7, 10, QLatin1Char('0')),
                                               QStringLiteral("\u82F9\u679C Apple %1").arg(i),
                                               QStringLiteral("1kg"),
                                               QStringLiteral("Fresh"),
                                               QString::number(i % 30 + 1)};
    }
    return rows;
}

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A pricing table, with or without the checks, filled with the rows.
struct STable
{
    QTemporaryDir dir;
    CSettings settings{dir.filePath(QStringLiteral("bench.conf"))};
    CSilentPrompt prompt;
    CGridModel grid;
    CPluTable table{grid, settings, prompt};
    std::unique_ptr<CRowChecks> checks;

    STable(bool withChecks, int codePage)
    {
        settings.WriteInt(ESetting::PluMode, PluLayout::SettingOf(EPluMode::Pricing));
        table.EnterStoredMode();
        if (withChecks) {
            checks = std::make_unique<CRowChecks>(grid, table);
            checks->SetCodePages(codePage, 1252);
        }
    }
};

struct SFigures
{
    double import = 0;
    double edit = 0;
    double sort = 0;
};

SFigures Measure(bool withChecks, int rowCount, int codePage)
{
    STable t(withChecks, codePage);
    std::vector<SPluRow> rows = PricingRows(rowCount);
    SFigures figures;
    figures.import = Seconds([&] { t.table.ReplaceRows(std::move(rows)); });
    figures.edit = Seconds([&] {
                       for (int i = 0; i < kEdits; ++i)
                           t.grid.CommitEdit(rowCount / 2, 4, QStringLiteral("Pear %1").arg(i));
                   }) /
                   kEdits;
    figures.sort = Seconds([&] { t.table.SortByColumn(2, Qt::AscendingOrder); });
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int rowCount = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int codePage = argc > 2 ? std::atoi(argv[2]) : 936;

    const std::vector<SPluRow> rows = PricingRows(rowCount);
    int sendable = 0;
    const double build = Seconds([&] {
        for (const SPluRow& row : rows) {
            QVector<QString> texts = row.cells.ToVector(9);
            texts[8] = row.checked ? CheckedText() : UncheckedText();
            sendable +=
                BuildPluRecord(texts, EPluMode::Pricing, ELimitMode::Off, unsigned(codePage), 1252).IsSendable();
        }
    });
    std::printf("%d rows, code page %d\n", rowCount, codePage);
    std::printf("build every record          %8.1f ms  (%.2f us a record, %d sendable)\n", build * 1e3,
                build * 1e6 / rowCount, sendable);

    const SFigures without = Measure(false, rowCount, codePage);
    const SFigures with = Measure(true, rowCount, codePage);
    std::printf("                            without checks   with checks\n");
    std::printf("rows into the grid          %8.1f ms      %8.1f ms\n", without.import * 1e3, with.import * 1e3);
    std::printf("commit one cell             %8.1f us      %8.1f us\n", without.edit * 1e6, with.edit * 1e6);
    std::printf("sort by unit price          %8.1f ms      %8.1f ms\n", without.sort * 1e3, with.sort * 1e3);
    return 0;
}
