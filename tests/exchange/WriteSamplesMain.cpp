// Writes workbooks through Export for the check by independent readers (check_written_files.py):
// every layout in .xls and .xlsx with Chinese titles and names, and an .xls whose texts carry the
// shared string table over many records, one text longer than two records. expected.json lists the
// texts each file must hold, row by row.

#include "ExchangeTestSupport.h"

#include "app/Language.h"
#include "exchange/PluExport.h"
#include "exchange/PluFileLayout.h"
#include "grid/CGridModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

using ExchangeTest::Strings;

// The texts the file holds: the header, then each row's written columns; trailing empty rows hold no cells.
QJsonArray ExpectedRows(const CGridModel& grid, int columns)
{
    QJsonArray rows;
    QJsonArray header;
    for (int i = 0; i < columns; ++i)
        header.append(PluFileLayout::HeaderTitle(grid.ColumnTitle(i + 1)));
    rows.append(header);
    int last = grid.RowCount() - 1;
    auto empty = [&](int row) {
        for (int i = 0; i < columns; ++i) {
            if (!grid.CellText(row, i + 1).isEmpty())
                return false;
        }
        return true;
    };
    while (last >= 0 && empty(last))
        --last;
    for (int row = 0; row <= last; ++row) {
        QJsonArray cells;
        for (int i = 0; i < columns; ++i)
            cells.append(grid.CellText(row, i + 1));
        rows.append(cells);
    }
    return rows;
}

bool Write(const QDir& dir, const QString& name, const CGridModel& grid, int pluMode, int limitMode,
           QJsonObject& expected)
{
    const SExportResult result = ExportTable(grid, pluMode, limitMode, ExportTargetFor(dir.filePath(name)));
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(result.error));
        return false;
    }
    expected.insert(name, ExpectedRows(grid, PluFileLayout::ExportColumnCount(pluMode, limitMode)));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral(".")))
        return 1;
    Language::SetLanguageInForce(Language::kSimplifiedChinese);

    const QList<QStringList> rows = {
        Strings({"1", "2.5", "6901234567892", "苹果", "500g", "新鲜", "7", "√"}),
        Strings({"0002", "99999.99", "", "香蕉 \"big\", ripe", "", "", "", "×"}),
        Strings({"", "", "", "", "", "", "", ""}),
        Strings({"4", "-3.7", "x", "Äpfel", "1kg", "line\nbreak", "30", "√"}),
        Strings({"", "", "", "", "", "", "", ""}), // the entry row
    };
    struct SLayout
    {
        const char* name;
        int pluMode;
        int limitMode;
    };
    const SLayout layouts[] = {{"pricing", PluFileLayout::kPricing, 0},
                               {"counting", PluFileLayout::kCounting, 0},
                               {"counting_limits", PluFileLayout::kCounting, 1}};
    QJsonObject expected;
    bool ok = true;
    for (const SLayout& layout : layouts) {
        CGridModel grid;
        ExchangeTest::FillGrid(grid, layout.pluMode, layout.limitMode, rows);
        for (const char* extension : {".xls", ".xlsx"})
            ok = Write(dir, QString::fromLatin1(layout.name) + QString::fromLatin1(extension), grid, layout.pluMode,
                       layout.limitMode, expected) && ok;
    }

    QList<QStringList> longRows;
    for (int row = 0; row < 3000; ++row) {
        const QString text = row % 2 ? QString::fromUtf8("商品名称%1").arg(row).repeated(row % 5 + 1)
                                     : QStringLiteral("Goods %1 ").arg(row).repeated(row % 11 + 1);
        longRows.append({QString::number(row + 1), QStringLiteral("1.5"), QString::number(row % 17), text});
    }
    longRows[100][3] = QStringLiteral("x").repeated(20000);
    longRows[101][3] = QString::fromUtf8("长").repeated(9000);
    CGridModel longGrid;
    ExchangeTest::FillGrid(longGrid, PluFileLayout::kCounting, 0, longRows);
    ok = Write(dir, QStringLiteral("long_texts.xls"), longGrid, PluFileLayout::kCounting, 0, expected) && ok;

    QFile file(dir.filePath(QStringLiteral("expected.json")));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QJsonDocument(expected).toJson());
    return ok ? 0 : 1;
}
