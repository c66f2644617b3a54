#pragma once

#include "grid/CGridRows.h"
#include "grid/CRowTexts.h"
#include "grid/GridRecords.h"
#include "grid/ICellMarks.h"
#include "grid/IGridRows.h"
#include "grid/IRowMarks.h"

#include <QAbstractTableModel>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>
#include <vector>

// The grid's data: columns with titles, widths, sort types and the editor record their cells share,
// and an adapter over rows held in a store (IGridRows): it finds the row behind an index and answers
// by role, the text, the editor, the check state, the colour and the value the typed sort compares.
// The rows are the grid's own (CGridRows) unless the owner hands it a store of its own. Generic: it
// knows nothing of PLU records.
class CGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum ERole
    {
        CellTypeRole = Qt::UserRole + 1, // int: ECellEditType, -1 without a record
        CheckStateValueRole,             // int: nCheck of a check cell
        LockedRole,                      // int: nLocked of a check cell
        RowTextColorRole,                // uint 0x00BBGGRR, invalid when the row has no colour
        RowBackgroundColorRole,          // uint 0x00BBGGRR, invalid when the row has no colour
        ColumnWidthRole,                 // header: int pixels
        RowIdRole,                       // quint64
        CellMarkRole,                    // int: ECellMark, invalid when the cell has no mark
        SortRole,                        // the value the column's sort type compares: QString for text,
                                         // qint64 for integers, double for decimals, qint64 msecs for
                                         // dates (invalid for a text that is no date)
        RowMarkRole,                     // int: ERowMark, on the row number column only; invalid without a mark
    };

    explicit CGridModel(QObject* parent = nullptr);
    ~CGridModel() override;

    // Columns.
    int InsertColumn(int index, const QString& title, int width);
    bool DeleteColumn(int index);
    int ColumnCount() const { return int(m_columns.size()); }
    QString ColumnTitle(int column) const;
    int ColumnWidth(int column) const;

    // Where the rows are held: the owner's store, or the grid's own (nullptr). The views are reset;
    // the store must outlive its use here.
    void SetRowStore(IGridRows* rows);

    // Rows.
    int InsertRow(int index, const QString& firstCellText);
    // Inserts many rows with a single notification (benchmarks, tests). Records that equal their
    // column's record are dropped. A store of the owner's takes them cell by cell.
    void InsertRows(int index, std::vector<SGridRow> rows);
    // The owner inserts count rows into its own store at index by insert(); the views hear of them
    // as one insertion.
    void InsertStoredRows(int index, int count, const std::function<void()>& insert);
    // The owner changed rows firstRow to lastRow in its own store (a colour its rows decide): the
    // views show them anew.
    void StoredRowsChanged(int firstRow, int lastRow);
    bool DeleteRow(int index);
    int RowCount() const { return m_rows->Count(); }
    // Clears the header's sort marker and deletes all rows with their records.
    void ClearRows();
    quint64 RowId(int row) const;
    // The row that carries this id, -1 when none does.
    int RowOfId(quint64 id) const;

    void SetCellText(int row, int column, const QString& text);
    QString CellText(int row, int column) const;
    // Sets the texts of one column for rows firstRow, firstRow + 1, ... (texts beyond the last row are
    // not used) with one notification for the rows whose text changed, so that renumbering a long
    // table stays quick. Returns the number of cells changed.
    int SetColumnTexts(int column, int firstRow, const QVector<QString>& texts);
    // Every cell of the row, as many as there are columns.
    QVector<QString> RowTexts(int row) const;

    // A column whose cells show their row's number and hold no text (-1 for none). RenumberRows gives
    // every row its position from 1, notifying the rows whose number changed.
    void SetRowNumberColumn(int column);
    int RowNumberColumn() const { return m_rowNumberColumn; }
    void RenumberRows();

    // The record every cell of the column has unless it has its own (CET_WINDOW records are per cell).
    void SetColumnRecord(int column, const SEditCtrl& record);
    void ClearColumnRecords();

    // Cell records.
    void SetCellEditable(int row, int column);
    // The column whose cells SetCheckCell makes check cells (-1 for none).
    void SetCheckColumn(int column) { m_checkColumn = column; }
    int CheckColumn() const { return m_checkColumn; }
    // Makes the check column's cell of the row a check cell with "√" or "×" as its text.
    void SetCheckCell(int row, int checked);
    // Registers a record of any kind (nRow and nCol say where); replaces the cell's record.
    void SetCellRecord(const SEditCtrl& record);
    // Leaves the cell without a record, also when its column has one.
    void RemoveCellRecord(int row, int column);
    // The cell's type, -1 when it has no record.
    int FindCellType(int row, int column) const;
    // A copy of the cell's record with nRow and nCol filled in.
    std::optional<SEditCtrl> FindCellRecord(int row, int column) const;

    // Row colours: the text colour stays black. A store that decides its rows' colours keeps its own.
    void SetRowColor(int row, quint32 background);
    void SetRowColors(int row, quint32 text, quint32 background);
    std::optional<SColoredRow> RowColor(int row) const;

    // Column sort types.
    void SetColumnType(int column, int type);
    // The type of the column's first record, -1 when none; index receives the record's position.
    int GetColumnType(int column, int* index = nullptr) const;
    void ClearColumnTypes();
    const std::vector<SColumnTypes>& ColumnTypes() const { return m_columnTypes; }

    // The header's sort marker; -1 when no column is marked.
    int SortColumn() const { return m_sortColumn; }
    Qt::SortOrder SortOrder() const { return m_sortOrder; }
    void SetSortMarker(int column, Qt::SortOrder order);

    // The row most recently selected in the view (the selection mark), -1 when none.
    int SelectionMark() const { return m_selectionMark; }
    void SetSelectionMark(int row);

    // The end of an in-place edit: stores a changed text and then notifies; an unchanged text
    // stores and notifies nothing. True when the text was stored.
    bool CommitEdit(int row, int column, const QString& text);
    // A paste into the cell: stores the text and notifies, also when the text is the same.
    void SetCellTextAndNotify(int row, int column, const QString& text);
    // How the owner makes a new last row (its entry row), for a paste that runs past the last row;
    // without one, such a paste stops at the last row.
    void SetRowAppender(std::function<void()> appendRow) { m_appendRow = std::move(appendRow); }
    // Appends a row the owner's way; false when the owner gave no way or it added no row.
    bool AppendOwnersRow();
    // A click on a check cell: flips an unlocked check, notifies, then rewrites the text.
    bool ToggleCheck(int row, int column);

    // Sorts rows [firstRow, endRow) by the column's sort type, stably; rows keep all they carry, and
    // persistent indexes and the selection mark follow their rows.
    void SortRows(int column, Qt::SortOrder order, int firstRow, int endRow);
    // The same by the given sort type instead of the column's.
    void SortRowsAs(int sortType, int column, Qt::SortOrder order, int firstRow, int endRow);

    // Marks on cells (a tint and a tooltip), or none when marks is null; marks must outlive its use here.
    void SetCellMarks(const ICellMarks* marks) { m_cellMarks = marks; }
    // The marks of rows firstRow to lastRow changed: the view repaints them.
    void NotifyMarksChanged(int firstRow, int lastRow);
    // Marks on whole rows, shown in the row number column, or none when marks is null; marks must outlive its use.
    void SetRowMarks(const IRowMarks* marks) { m_rowMarks = marks; }
    void NotifyRowMarksChanged(int firstRow, int lastRow);

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    // CellChanged (code -25): the user changed the cell's text by an editor, a check click or a paste.
    void cellChanged(int row, int column);
    void selectionMarkChanged(int row);
    void sortMarkerChanged(int column, Qt::SortOrder order);

private:
    struct SColumn
    {
        QString title;
        int width = 0;
        std::optional<SEditCtrl> record; // shared by the column's cells without their own
    };

    bool IsRow(int row) const { return row >= 0 && row < RowCount(); }
    // The cell's own record, or its column's; nullptr when it has none.
    const SEditCtrl* FindRecord(int row, int column) const;
    const SEditCtrl* ColumnRecord(int column) const;
    // Gives the cell its own record, unless it equals its column's.
    void StoreRecord(int row, const SEditCtrl& record);
    QVariant SortValue(int row, int column) const;
    void NotifyRowChanged(int row);
    void NotifyCellChanged(int row, int column);
    QString ToolTip(int row, int column) const;
    // The row's mark, in the row number column only.
    std::optional<SRowMark> RowMark(int row, int column) const;

    std::vector<SColumn> m_columns;
    CGridRows m_ownRows;
    IGridRows* m_rows = &m_ownRows;
    std::vector<SColumnTypes> m_columnTypes;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    int m_selectionMark = -1;
    const ICellMarks* m_cellMarks = nullptr;
    const IRowMarks* m_rowMarks = nullptr;
    std::function<void()> m_appendRow;
    int m_rowNumberColumn = -1;
    int m_checkColumn = -1;
};
