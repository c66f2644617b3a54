#include "cli/CsvTableWriter.h"

#include "exchange/PluFileLayout.h"
#include "grid/CGridModel.h"

#include <QSaveFile>

namespace Cli {
namespace {

QString CsvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

bool WriteTableAsCsv(const CGridModel& grid, int pluMode, int limitMode, const QString& path, QString* error)
{
    const int columns = PluFileLayout::ExportColumnCount(pluMode, limitMode);
    QString text;
    QStringList fields;
    for (int column = 1; column <= columns; ++column)
        fields << CsvField(PluFileLayout::HeaderTitle(grid.ColumnTitle(column)));
    text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (int row = 0; row < grid.RowCount(); ++row) {
        fields.clear();
        for (int column = 1; column <= columns; ++column)
            fields << CsvField(grid.CellText(row, column));
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace Cli
