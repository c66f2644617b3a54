#include "ExchangeTestSupport.h"

#include "app/StringTable.h"
#include "exchange/PluFileLayout.h"

#include <QDir>

namespace ExchangeTest {

QStringList Strings(std::initializer_list<const char*> texts)
{
    QStringList strings;
    for (const char* text : texts)
        strings.append(QString::fromUtf8(text));
    return strings;
}

QString FixturePath(const QString& name)
{
    return QDir(QStringLiteral(TALVEX_EXCHANGE_FIXTURES)).filePath(name);
}

QString Text(const SGridRow& row, int column)
{
    return column < row.cells.size() ? row.cells[column] : QString();
}

int EditorType(const SGridRow& row, int column)
{
    for (const SEditCtrl& record : row.records) {
        if (record.nCol == column)
            return record.nType;
    }
    return -1;
}

QStringList Texts(const SGridRow& row, int count)
{
    QStringList texts;
    for (int column = 0; column < count; ++column)
        texts.append(Text(row, column));
    return texts;
}

void FillGrid(CGridModel& grid, int pluMode, int limitMode, const QList<QStringList>& rows)
{
    static const unsigned pricing[] = {StringId::SrNo, StringId::PluNo, StringId::UnitPrice, StringId::GoodsId,
                                       StringId::GoodsName, StringId::Specification, StringId::Remark,
                                       StringId::ExpirationDays, StringId::QuantityPricing};
    static const unsigned counting[] = {StringId::SrNo, StringId::PluNo, StringId::UnitWeight, StringId::GoodsId,
                                        StringId::GoodsName, StringId::Specification, StringId::Hi, StringId::Lo};
    const unsigned* titles = pluMode == PluFileLayout::kPricing ? pricing : counting;
    const int columns = PluFileLayout::TableColumnCount(pluMode, limitMode);
    for (int column = 0; column < columns; ++column)
        grid.InsertColumn(column, LoadString(titles[column]), 80);
    for (int row = 0; row < rows.size(); ++row) {
        grid.InsertRow(row, QString::number(row + 1));
        for (int column = 1; column < columns && column - 1 < rows[row].size(); ++column)
            grid.SetCellText(row, column, rows[row][column - 1]);
    }
}

} // namespace ExchangeTest
