#pragma once

#include "exchange/Workbook.h"

#include <QString>

#include <algorithm>

#include <string>
#include <string_view>
#include <vector>

// The cells of one sheet that hold a value, for readers that load a whole sheet. Cells are kept in
// one flat list and their texts as UTF-8 in one buffer, so that a sheet of a million cells costs a few
// large allocations rather than several per cell; a text becomes UTF-16 only when Cell() hands it out,
// which the rows of a table do on several threads. Finish() orders the cells by row for lookups.
class CSheetCells
{
public:
    // Forgets every cell; the column limit stays.
    void Clear();
    // Cells in this column and further right are not kept; they still count for LastCol().
    void SetColumnLimit(int columns) { m_columnLimit = columns; }
    int ColumnLimit() const { return m_columnLimit; }
    // Makes LastCol() at least this, for a reader that knows the extent without reading every column.
    void WidenTo(int columns) { m_lastCol = std::max(m_lastCol, columns); }
    // ... and LastRow() at least this.
    void WidenRowsTo(int rows) { m_lastRow = std::max(m_lastRow, rows); }
    // Room for this many cells and bytes of text, when a reader can tell.
    void Reserve(size_t cells, size_t textBytes);

    void SetNumber(int row, int column, double value);
    void SetText(int row, int column, std::string_view utf8);
    // A text of an .xlsx sheet that holds escapes ("_x0001_"), undone when the cell is handed out.
    void SetEscapedText(int row, int column, std::string_view utf8);
    // A text of the shared string table (SetSharedStrings), by its index.
    void SetSharedText(int row, int column, quint32 sharedIndex);
    // A text of the UTF-16 shared strings (SetSharedUtf16Strings), by its index.
    void SetSharedUtf16Text(int row, int column, quint32 sharedIndex);
    // A cell that holds a value without text (an error value): it counts as used and reads as empty text.
    void SetEmpty(int row, int column);
    void SetSharedStrings(std::vector<QString> strings);
    // Shared strings kept as one UTF-16 text, string i from starts[i] to starts[i + 1]: many short
    // strings cost no allocation each.
    void SetSharedUtf16Strings(std::u16string text, std::vector<quint32> starts);

    // Takes the cells of a later part of the same sheet, read into cells of their own, as if they had
    // been set here after the others. Before shared strings are set.
    void Append(CSheetCells&& later);

    // Orders the cells once all are set; lookups need it.
    void Finish();

    // One past the last row and column that hold a value.
    int LastRow() const { return m_lastRow; }
    int LastCol() const { return m_lastCol; }
    // Safe to call from several threads at once after Finish().
    SWorkbookCell Cell(int row, int column) const;
    // The same into a cell whose text keeps its room from one call to the next, so that reading a long
    // sheet costs no allocation a cell.
    void ReadCell(int row, int column, SWorkbookCell& into) const;

private:
    enum class EKind : quint8
    {
        Number,
        Text,
        EscapedText,
        SharedText,
        SharedUtf16Text,
        Empty,
    };

    struct SCell
    {
        qint32 row;
        qint32 column;
        EKind kind;
        union
        {
            double number;
            quint32 sharedIndex;
            struct
            {
                quint32 offset;
                quint32 length;
            } text;
        };
    };

    // The new cell, or null when it lies right of the column limit.
    SCell* Add(int row, int column, EKind kind);
    void AddText(int row, int column, std::string_view utf8, EKind kind);

    std::vector<SCell> m_cells;
    std::string m_texts;
    std::vector<QString> m_sharedStrings;
    std::u16string m_sharedUtf16;
    std::vector<quint32> m_sharedUtf16Starts;
    std::vector<quint32> m_rowStart; // m_rowStart[r] .. m_rowStart[r + 1]: the cells of row r
    int m_columnLimit = 1 << 30;
    bool m_ordered = true;
    int m_lastRow = 0;
    int m_lastCol = 0;
};
