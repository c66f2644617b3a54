#include "cli/CsvTableWriter.h"

#include "app/ForEachChunk.h"
#include "exchange/PluExport.h"
#include "plu/CPluTable.h"

#include <QSaveFile>

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

namespace Cli {
namespace {

// A long table's lines are gathered as UTF-16 and turned into UTF-8 in pieces of this many code units,
// at line ends, so that no cell costs a conversion or an allocation of its own.
constexpr qsizetype kConvertAfterUnits = 32 * 1024;

void AppendField(QString& line, QStringView text)
{
    const auto special = [](QChar c) {
        return c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
    };
    if (std::none_of(text.begin(), text.end(), special)) {
        line += text;
        return;
    }
    line += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            line += QLatin1Char('"');
        line += c;
    }
    line += QLatin1Char('"');
}

void AppendLine(QString& lines, const std::vector<QStringView>& texts)
{
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0)
            lines += QLatin1Char(',');
        AppendField(lines, texts[i]);
    }
    lines += QLatin1String("\r\n");
}

void Convert(QString& lines, QByteArray& bytes)
{
    bytes += lines.toUtf8();
    lines.resize(0); // keeps its room for the next piece
}

} // namespace

bool WriteTableAsCsv(const CPluTable& table, const QString& path, QString* error)
{
    // UTF-8 as it is built: the file's bytes are all a long table adds on top of its rows. A long
    // table's rows are turned into text on several threads, each its own piece of the file.
    CExportedRows exported(table);
    std::map<int, QByteArray> pieces; // by their first row
    std::mutex piecesLock;
    ForEachChunk(table.RowCount(), [&](int first, int end) {
        QByteArray bytes;
        QString lines;
        std::vector<QStringView> texts;
        for (int row = first; row < end; ++row) {
            exported.Row(row, texts);
            AppendLine(lines, texts);
            if (lines.size() >= kConvertAfterUnits)
                Convert(lines, bytes);
        }
        Convert(lines, bytes);
        const std::lock_guard<std::mutex> lock(piecesLock);
        pieces.emplace(first, std::move(bytes));
    });
    QString header;
    AppendLine(header, exported.Header());
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly) && file.write(header.toUtf8()) >= 0;
    for (auto piece = pieces.begin(); written && piece != pieces.end(); ++piece)
        written = file.write(piece->second) >= 0;
    if (!written || !file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace Cli
