#include "grid/GridClipboard.h"

#include "app/StringTable.h"
#include "grid/CGridModel.h"
#include "grid/GridRecords.h"

#include <algorithm>

namespace {

const QString kFieldSeparator = QStringLiteral("\t");
const QString kRowSeparator = QStringLiteral("\r\n");

QString RowsText(const CGridModel& grid, int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, grid.RowCount() - 1);
    firstColumn = std::max(firstColumn, 0);
    lastColumn = std::min(lastColumn, grid.ColumnCount() - 1);
    QString text;
    for (int row = firstRow; row <= lastRow; ++row) {
        if (row > firstRow)
            text += kRowSeparator;
        for (int column = firstColumn; column <= lastColumn; ++column) {
            if (column > firstColumn)
                text += kFieldSeparator;
            text += grid.CellText(row, column);
        }
    }
    return text;
}

} // namespace

SCellRange RangeBetween(int anchorRow, int anchorColumn, int row, int column)
{
    return SCellRange{std::min(anchorRow, row), std::min(anchorColumn, column), std::max(anchorRow, row),
                      std::max(anchorColumn, column)};
}

QString ContextCommandText(int command)
{
    switch (command) {
    case kCopyCommand: return LoadString(StringId::GridCopy);
    case kCopyWholeRowCommand: return LoadString(StringId::GridCopyWholeRow);
    case kPasteCommand: return LoadString(StringId::GridPaste);
    default: return QString();
    }
}

QVector<int> ContextMenuCommands(int cellType)
{
    QVector<int> commands{kCopyCommand, kCopyWholeRowCommand};
    if (AcceptsPaste(cellType))
        commands.append(kPasteCommand);
    return commands;
}

bool AcceptsPaste(int cellType)
{
    return cellType == CET_EDIT || cellType == CET_MULTILINE || cellType == CET_COMBO || cellType == CET_RICHEDIT;
}

QString CopyRangeText(const CGridModel& grid, const SCellRange& range)
{
    return RowsText(grid, range.firstRow, range.lastRow, range.firstColumn, range.lastColumn);
}

QString CopyWholeRowsText(const CGridModel& grid, int firstRow, int lastRow)
{
    return RowsText(grid, firstRow, lastRow, 0, grid.ColumnCount() - 1);
}

QVector<QStringList> SplitPasteText(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line.remove(QLatin1Char('\r'));
    // Without this, the break after a spreadsheet's last row would clear a cell of the row below.
    if (lines.last().isEmpty())
        lines.removeLast();
    QVector<QStringList> result;
    result.reserve(lines.size());
    for (const QString& line : std::as_const(lines))
        result.append(line.split(QLatin1Char('\t')));
    return result;
}

int PasteText(CGridModel& grid, int row, int column, const QString& text)
{
    if (row < 0 || column < 0)
        return 0;
    int written = 0;
    const QVector<QStringList> lines = SplitPasteText(text);
    // The owner may append rows while it hears of the cells written, so the row count is read anew.
    for (int line = 0; line < lines.size(); ++line) {
        if (row + line >= grid.RowCount() && !grid.AppendOwnersRow())
            break;
        const QStringList& fields = lines[line];
        for (int field = 0; field < fields.size() && column + field < grid.ColumnCount(); ++field) {
            if (!AcceptsPaste(grid.FindCellType(row + line, column + field)))
                continue;
            grid.SetCellTextAndNotify(row + line, column + field, fields[field]);
            ++written;
        }
    }
    return written;
}
