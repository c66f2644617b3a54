#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class CGridModel;

// A rectangle of cells, both ends included, first <= last.
struct SCellRange
{
    int firstRow = -1;
    int firstColumn = -1;
    int lastRow = -1;
    int lastColumn = -1;

    bool Contains(int row, int column) const
    {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
};

// The range spanned by two corner cells in any order.
SCellRange RangeBetween(int anchorRow, int anchorColumn, int row, int column);

// Commands of the grid's context menu, with their fixed (untranslated) texts.
constexpr int kCopyCommand = 1025;         // "Copy", "复制"
constexpr int kCopyWholeRowCommand = 1026; // "Copy whole row", "复制整行"
constexpr int kPasteCommand = 1027;        // "Paste", "粘贴"

QString ContextCommandText(int command);
// The commands offered by a right click on a cell of this type (-1: a cell without a record):
// Copy and Copy whole row always, Paste only on cells that take pasted text.
QVector<int> ContextMenuCommands(int cellType);
// The cell types whose cells a paste writes: the text editors and the editable combo.
bool AcceptsPaste(int cellType);

// The texts of the range's cells, tab between cells and CR LF between rows, nothing after the last
// row. Rows and columns outside the grid are left out.
QString CopyRangeText(const CGridModel& grid, const SCellRange& range);
// The same for the range's rows, with every column of each row.
QString CopyWholeRowsText(const CGridModel& grid, int firstRow, int lastRow);

// Clipboard text as lines of tab-separated fields: lines end at "\n" and lose every "\r". The line
// break that ends the last line (as spreadsheets put one there) brings no empty line of its own.
QVector<QStringList> SplitPasteText(const QString& text);
// Writes the lines from (row, column) downwards, one line per row, and each line's fields rightwards
// while columns exist. A field aimed at a cell that takes no pasted text is dropped and the next field
// goes to the next column. Every written cell notifies cellChanged right after its text is set, so the
// owner's rules run cell by cell. Lines past the last row get rows the owner's way (as typing them
// into new rows would), or stop there when the owner gave the grid no way. Returns the cells written.
int PasteText(CGridModel& grid, int row, int column, const QString& text);
