// Speed of the PLU table on its grid with many rows: building, editing, deleting, clearing, sorting,
// and painting at different places of a long table. Run: build/bin/grid_bench
#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/PluImport.h"
#include "plu/CPluTable.h"
#include "ui/grid/CMFCListCtrlEx.h"

#include <QFile>
#include <malloc.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kBigTable = 100000;

class CSilentPrompt final : public IPrompt
{
public:
    void Beep(int, int) override {}
    void ShowMessage(const QString&, const QString&, EIcon) override {}
    bool AskOkCancel(const QString&, const QString&, EIcon) override { return true; }
};

QTemporaryDir& SettingsDir()
{
    static QTemporaryDir dir;
    return dir;
}

// A counting table with limits on its grid, optionally shown in a view as the window shows it.
struct SBench
{
    CSettings settings{SettingsDir().filePath(QStringLiteral("bench.conf"))};
    CSilentPrompt prompt;
    CGridModel grid;
    CPluTable table{grid, settings, prompt};
    std::unique_ptr<CMFCListCtrlEx> view;

    explicit SBench(bool withView)
    {
        settings.WriteInt(ESetting::PluMode, PluLayout::SettingOf(EPluMode::Counting));
        settings.WriteInt(ESetting::LimMode, 1);
        table.EnterStoredMode();
        if (withView) {
            view = std::make_unique<CMFCListCtrlEx>();
            view->SetGrid(&grid);
            view->resize(900, 600);
            view->show();
            QCoreApplication::processEvents();
        }
    }

    // Entry rows up to the given count: every data cell editable, every row coloured.
    void Fill(int rows)
    {
        while (grid.RowCount() < rows)
            table.AppendNewRow();
        QCoreApplication::processEvents();
    }

    QImage Paint()
    {
        QImage image(view->viewport()->size(), QImage::Format_RGB32);
        view->viewport()->render(&image);
        return image;
    }
};

// The Add path, one row at a time, as the entry rule and Import's last step use it.
void BM_BuildByAppendNewRow(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<SBench>(state.range(0) != 0);
        state.ResumeTiming();
        bench->Fill(kBigTable);
        state.PauseTiming();
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildByAppendNewRow)->ArgName("view")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Many rows in one insertion, with their texts made beforehand (Import), and the entry row after them;
// the editors are the layout's columns'.
void BM_BuildByInsertRows(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<SBench>(state.range(0) != 0);
        state.ResumeTiming();
        std::vector<SPluRow> rows(kBigTable);
        for (int row = 0; row < kBigTable; ++row) {
            SPluRow& imported = rows[std::size_t(row)];
            imported.cells = {QString(),
                              QString::number(row),
                              QStringLiteral("0.125"),
                              QStringLiteral("G%1").arg(row),
                              QStringLiteral("Goods"),
                              QString(),
                              QString(),
                              QString()};
        }
        bench->table.ReplaceRows(std::move(rows));
        QCoreApplication::processEvents();
        state.PauseTiming();
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildByInsertRows)->ArgName("view")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Completing the last row of a long table: it turns white and a new entry row follows.
void BM_CompleteLastRow(benchmark::State& state)
{
    SBench bench(state.range(0) != 0);
    bench.Fill(kBigTable);
    int n = 0;
    for (auto _ : state) {
        const int row = bench.grid.RowCount() - 1;
        bench.grid.CommitEdit(row, 1, QString::number(++n));
        bench.grid.CommitEdit(row, 2, QStringLiteral("0.5"));
    }
    QCoreApplication::processEvents();
}
BENCHMARK(BM_CompleteLastRow)->ArgName("view")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Editing a cell of the last row without completing it.
void BM_CommitCellInLastRow(benchmark::State& state)
{
    SBench bench(state.range(0) != 0);
    bench.Fill(kBigTable);
    int n = 0;
    for (auto _ : state)
        bench.grid.CommitEdit(bench.grid.RowCount() - 1, 4, QString::number(++n));
    QCoreApplication::processEvents();
}
BENCHMARK(BM_CommitCellInLastRow)->ArgName("view")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The Delete command on the middle row, 1,000 times in a row: each renumbers the rows below.
void BM_DeleteMiddleRow(benchmark::State& state)
{
    SBench bench(state.range(0) != 0);
    bench.Fill(kBigTable);
    for (auto _ : state) {
        bench.grid.SetSelectionMark(bench.grid.RowCount() / 2);
        bench.table.DeleteMarkedRow();
    }
    QCoreApplication::processEvents();
    state.counters["rows_left"] = bench.grid.RowCount();
}
BENCHMARK(BM_DeleteMiddleRow)->ArgName("view")->Arg(0)->Arg(1)->Iterations(1000)->Unit(benchmark::kMicrosecond);

void BM_ClearRows(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<SBench>(state.range(0) != 0);
        bench->Fill(kBigTable);
        state.ResumeTiming();
        bench->grid.ClearRows();
        QCoreApplication::processEvents();
        state.PauseTiming();
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ClearRows)->ArgName("view")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A header click on Unit weight (CST_REAL) of a long table, alternating the direction: every row
// moves with its texts, editors and colour, the entry row stays last and Sr.No. is renumbered.
void BM_SortByRealColumn(benchmark::State& state)
{
    SBench bench(state.range(0) != 0);
    bench.Fill(kBigTable);
    // Complete rows with weights in a scattered order, so that most rows move; only the last stays an entry row.
    for (int row = 0; row < kBigTable - 1; ++row) {
        bench.grid.SetCellText(row, CPluTable::kPluNoColumn, QString::number(row + 1));
        bench.grid.SetCellText(row, CPluTable::kValueColumn,
                               QString::number(double((row * 7919) % kBigTable) / 8.0, 'f', 3));
        bench.table.OnCellCommitted(row);
    }
    Qt::SortOrder order = Qt::AscendingOrder;
    for (auto _ : state) {
        bench.table.SortByColumn(CPluTable::kValueColumn, order);
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
    QCoreApplication::processEvents();
}
BENCHMARK(BM_SortByRealColumn)->ArgName("view")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Painting the visible page at the top, the middle and the bottom of a short and a long table.
void BM_PaintPage(benchmark::State& state)
{
    SBench bench(true);
    bench.Fill(int(state.range(0)));
    QScrollBar* bar = bench.view->verticalScrollBar();
    bar->setValue(int(bar->maximum() * state.range(1) / 2));
    QCoreApplication::processEvents();
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.Paint());
}
BENCHMARK(BM_PaintPage)
    ->ArgNames({"rows", "half_pages"})
    ->ArgsProduct({{1000, kBigTable}, {0, 1, 2}})
    ->Unit(benchmark::kMicrosecond);

// Scrolling one page down (or back up at the end) and painting the new page.
void BM_ScrollPageAndPaint(benchmark::State& state)
{
    SBench bench(true);
    bench.Fill(int(state.range(0)));
    QScrollBar* bar = bench.view->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    int step = bar->pageStep();
    for (auto _ : state) {
        if (bar->value() + step > bar->maximum() || bar->value() + step < 0)
            step = -step;
        bar->setValue(bar->value() + step);
        benchmark::DoNotOptimize(bench.Paint());
    }
}
BENCHMARK(BM_ScrollPageAndPaint)->ArgName("rows")->Arg(1000)->Arg(kBigTable)->Unit(benchmark::kMicrosecond);

// The heap a long imported table holds per row: a counting table with limits read from a file whose rows
// carry every field, measured by the allocator once the file's own data is released.
void BM_ImportedTableBytesPerRow(benchmark::State& state)
{
    const QString path = SettingsDir().filePath(QStringLiteral("rows.csv"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("PLU No.,Unit weight,Goods Id,Goods Name,Specification,Hi,Lo\r\n");
        for (int row = 0; row < kBigTable; ++row)
            file.write(QStringLiteral("%1,0.125,G%1,Goods %1,500 g,2.5,0.5\r\n").arg(row % 1000).toUtf8());
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<SBench>(false);
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        SImportResult result = ReadImportFile(path, bench->table.PluMode(), bench->table.LimitMode());
        ApplyImportResult(bench->table, std::move(result));
        state.PauseTiming();
        const size_t after = mallinfo2().uordblks;
        state.counters["bytes_per_row"] = double(after - before) / kBigTable;
        state.counters["rows"] = bench->grid.RowCount();
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportedTableBytesPerRow)->Unit(benchmark::kMillisecond)->Iterations(1);

// The heap a long table of typed rows holds per row: entry rows completed by the user.
void BM_TypedTableBytesPerRow(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<SBench>(false);
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        for (int row = 0; row < kBigTable; ++row) {
            bench->grid.CommitEdit(row, 1, QString::number(row % 1000));
            bench->grid.CommitEdit(row, 2, QStringLiteral("0.125"));
        }
        state.PauseTiming();
        const size_t after = mallinfo2().uordblks;
        state.counters["bytes_per_row"] = double(after - before) / kBigTable;
        state.counters["rows"] = bench->grid.RowCount();
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TypedTableBytesPerRow)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
