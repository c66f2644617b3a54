#include "cli/CsvTableWriter.h"

#include "exchange/PluExport.h"
#include "plu/CPluTable.h"

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

void AppendLine(QByteArray& bytes, const QVector<QString>& texts)
{
    QString line;
    for (int i = 0; i < texts.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        line += CsvField(texts[i]);
    }
    line += QStringLiteral("\r\n");
    bytes += line.toUtf8();
}

} // namespace

bool WriteTableAsCsv(const CPluTable& table, const QString& path, QString* error)
{
    // UTF-8 as it is built: the file's bytes are all a long table adds on top of its rows.
    QByteArray bytes;
    AppendLine(bytes, ExportedHeaderTexts(table));
    for (int row = 0; row < table.RowCount(); ++row)
        AppendLine(bytes, ExportedRowTexts(table, row));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace Cli
