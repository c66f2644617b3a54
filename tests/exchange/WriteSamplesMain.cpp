// Writes workbooks through Export for the check by independent readers (check_written_files.py):
// every layout in .xls and .xlsx with Chinese titles and names, and an .xls whose texts carry the
// shared string table over many records, one text longer than two records. expected.json lists the
// texts each file must hold, row by row.

#include "ExchangeTestSupport.h"

#include "app/Language.h"
#include "exchange/PluExport.h"
#include "exchange/PluFileLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

using ExchangeTest::Strings;

// The texts the file holds: the header, then each row's written columns, a Quantity pricing mark as
// "1" or "0"; empty rows hold no cells, and trailing ones are not there at all.
QJsonArray ExpectedRows(const CPluTable& table, const QList<QStringList>& written)
{
    const std::vector<int> columns = PluLayout::ExportedColumns(table.PluMode(), table.LimitMode());
    const int checkColumn = PluLayout::CheckColumn(table.PluMode());
    QJsonArray rows;
    QJsonArray header;
    for (int column : columns)
        header.append(PluFileLayout::HeaderTitle(table.ColumnTitle(column)));
    rows.append(header);
    auto cell = [&](int row, int column) {
        const QString text = column - 1 < written[row].size() ? written[row][column - 1] : QString();
        if (column != checkColumn)
            return text;
        return text == QString::fromUtf8("√") ? QStringLiteral("1") : QStringLiteral("0");
    };
    auto empty = [&](int row) {
        for (int column : columns) {
            if (column != checkColumn && !cell(row, column).isEmpty())
                return false;
        }
        return checkColumn < 0 || cell(row, checkColumn) == QLatin1String("0");
    };
    int last = int(written.size()) - 1;
    while (last >= 0 && empty(last))
        --last;
    for (int row = 0; row <= last; ++row) {
        QJsonArray cells;
        for (int column : columns)
            cells.append(empty(row) ? QString() : cell(row, column));
        rows.append(cells);
    }
    return rows;
}

bool Write(const QDir& dir, const QString& name, const CPluTable& table, const QList<QStringList>& written,
           QJsonObject& expected)
{
    const SExportResult result = ExportTable(table, ExportTargetFor(dir.filePath(name)));
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(result.error));
        return false;
    }
    expected.insert(name, ExpectedRows(table, written));
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
    };
    struct SLayout
    {
        const char* name;
        EPluMode pluMode;
        ELimitMode limitMode;
    };
    const SLayout layouts[] = {{"pricing", EPluMode::Pricing, ELimitMode::Off},
                               {"counting", EPluMode::Counting, ELimitMode::Off},
                               {"counting_limits", EPluMode::Counting, ELimitMode::On}};
    QJsonObject expected;
    bool ok = true;
    for (const SLayout& layout : layouts) {
        ExchangeTest::STableFixture fixture(layout.pluMode, layout.limitMode);
        ExchangeTest::FillTable(fixture.table, rows);
        fixture.table.AppendNewRow(); // the entry row
        QList<QStringList> written = rows;
        written.append(QStringList());
        for (const char* extension : {".xls", ".xlsx"})
            ok = Write(dir, QString::fromLatin1(layout.name) + QString::fromLatin1(extension), fixture.table, written,
                       expected) &&
                 ok;
    }

    QList<QStringList> longRows;
    for (int row = 0; row < 3000; ++row) {
        const QString text = row % 2 ? QString::fromUtf8("商品名称%1").arg(row).repeated(row % 5 + 1)
                                     : QStringLiteral("Goods %1 ").arg(row).repeated(row % 11 + 1);
        longRows.append({QString::number(row + 1), QStringLiteral("1.5"), QString::number(row % 17), text});
    }
    longRows[100][3] = QStringLiteral("x").repeated(20000);
    longRows[101][3] = QString::fromUtf8("长").repeated(9000);
    ExchangeTest::STableFixture longTable(EPluMode::Counting, ELimitMode::Off);
    ExchangeTest::FillTable(longTable.table, longRows);
    ok = Write(dir, QStringLiteral("long_texts.xls"), longTable.table, longRows, expected) && ok;

    QFile file(dir.filePath(QStringLiteral("expected.json")));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QJsonDocument(expected).toJson());
    return ok ? 0 : 1;
}
