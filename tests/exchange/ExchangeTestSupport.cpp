#include "ExchangeTestSupport.h"

#include "app/StringTable.h"

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

STableFixture::STableFixture(EPluMode mode, ELimitMode limits)
{
    settings.Settings().WriteInt(ESetting::PluMode, PluLayout::SettingOf(mode));
    settings.Settings().WriteInt(ESetting::LimMode, PluLayout::SettingOf(limits));
    table.EnterStoredMode();
}

CImportedTable::CImportedTable(const SImportResult& result)
    : STableFixture(result.pluMode, result.limitMode)
{
    table.ReplaceRows(result.rows);
}

QString Text(SRowRef row, int column)
{
    return row.grid->CellText(row.row, column);
}

int EditorType(SRowRef row, int column)
{
    return row.grid->FindCellType(row.row, column);
}

QStringList Texts(SRowRef row, int count)
{
    QStringList texts;
    for (int column = 0; column < count; ++column)
        texts.append(Text(row, column));
    return texts;
}

void FillTable(CPluTable& table, const QList<QStringList>& rows)
{
    const int columns = int(table.Columns().size());
    const int checkColumn = PluLayout::CheckColumn(table.PluMode());
    std::vector<SPluRow> pluRows(static_cast<size_t>(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        QVector<QString> texts(columns);
        for (int column = 1; column < columns && column - 1 < rows[row].size(); ++column)
            texts[column] = rows[row][column - 1];
        if (checkColumn >= 0) {
            pluRows[size_t(row)].checked =
                texts[checkColumn] == QLatin1String("1") || texts[checkColumn] == CheckedText();
            texts[checkColumn].clear();
        }
        pluRows[size_t(row)].cells = texts;
    }
    table.ReplaceRows(std::move(pluRows));
    table.RemoveEntryRow();
}

} // namespace ExchangeTest
