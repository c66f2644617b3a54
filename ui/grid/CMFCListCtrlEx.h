#pragma once

#include "grid/CGridModel.h"
#include "grid/GridClipboard.h"
#include "ui/grid/IInPlaceEditor.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QRgb>
#include <QTableView>
#include <QTimer>

class QMenu;

// The editable grid: shows a CGridModel with its column widths, row colours and check cells, keeps
// the model's selection mark on the row last selected, and edits a cell in place when it is clicked.
// A finished edit goes through CGridModel::CommitEdit, so the owner hears of it by cellChanged.
//
// Besides the row selection it keeps a rectangular cell range, chosen with the mouse (press, drag,
// Shift+press), framed in black and filled in pale blue; Ctrl+C and the context menu copy it, and
// the context menu pastes at it. A header click sorts by the column (see sortRequested).
class CMFCListCtrlEx : public QTableView
{
    Q_OBJECT

public:
    static constexpr int kRowHeight = 18;
    // Fill of the cells in the shown range (in rows that are not selected).
    static constexpr QRgb kRangeFill = 0xFFC6D6EF; // RGB(198, 214, 239)

    explicit CMFCListCtrlEx(QWidget* parent = nullptr);
    ~CMFCListCtrlEx() override;

    void SetGrid(CGridModel* grid) { setModel(grid); }
    CGridModel* Grid() const { return m_grid; }
    void setModel(QAbstractItemModel* model) override;

    // Opens the editor of the cell's kind over it; nothing for a cell without a record.
    void StartEdit(int row, int column);
    // Opens the next cell to the right of the edit cell that has a record; nothing when none does.
    void EditNextCell();
    // Ends an open editor as losing the focus would (it commits). A mouse press anywhere else in the
    // window does this by itself; commands started by a shortcut, and closing the window, call it first.
    void EndEdit();
    bool IsEditing() const { return m_editor != nullptr; }
    // The open editor's widget, nullptr when none is open.
    QWidget* Editor() const;
    // The cell whose editor was opened last (row -1 when none or when its row is gone).
    int EditRow() const { return m_editCell.isValid() ? m_editCell.row() : -1; }
    int EditColumn() const { return m_editCell.isValid() ? m_editCell.column() : -1; }

    // The cell range. SelectCell moves its current corner to the cell (and its anchor too when
    // resetAnchor) and shows it; opening an editor hides it again, keeping its corners.
    void SelectCell(int row, int column, bool resetAnchor);
    bool HasAnchor() const { return m_anchorRow >= 0 && m_anchorColumn >= 0; }
    bool IsRangeShown() const { return m_rangeShown; }
    // The cells between the anchor and the current corner, shown or not.
    SCellRange SelectedRange() const;
    // Whether the range is shown and holds the cell.
    bool IsCellSelected(int row, int column) const;

    // The context menu's commands; without an anchor they do nothing.
    void Copy();
    void CopyWholeRows();
    void Paste();
    void RunContextCommand(int command);
    // The context menu of a cell: Copy and Copy whole row, and Paste on a cell that takes pasted
    // text. Each action carries its command as its data.
    void FillContextMenu(QMenu& menu, int row, int column) const;

    // Cells draw their text word-wrapped instead of on one line.
    void SetMultiLineDrawing(bool on);
    bool MultiLineDrawing() const { return m_multiLineDrawing; }

Q_SIGNALS:
    // ColumnClicked (code -107): a header click, after the rows were sorted.
    void columnClicked(int column);
    // A header click asks for the rows to be sorted by the column (the header already shows the
    // order: the first click on a column ascending, each further click the other way). When nothing
    // is connected here, the grid sorts all of its rows itself; a PLU table connects its SortByColumn,
    // which keeps the entry row last and renumbers the rows.
    void sortRequested(int column, Qt::SortOrder order);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SEditResult
    {
        QString text;
        bool commit = false;
    };

    void FinishEdit(IInPlaceEditor::EEnd how);
    // Hides and releases the open editor, keeping the focus in the grid; returns what it holds.
    SEditResult CloseEditor();
    void PlaceEditor();
    QRect EditorRect(const QModelIndex& cell) const;
    void OnModelShapeChanged();
    void ApplyColumnWidths(int first, int last);
    void OnSelectionChanged(const QItemSelection& selected);

    // The union of the anchor's and the current cell's rectangles, in viewport coordinates.
    QRect RangeRect() const;
    void HideRange();
    void ResetRange();
    void StopMouseSelecting();
    // Moves the range's current corner to the cell under the point while the mouse selects; past
    // the visible rows it goes one row further, scrolling.
    void DragSelectTo(const QPoint& point);
    void OnHeaderClicked(int column);
    void ShowContextMenu(const QModelIndex& cell, const QPoint& globalPos);
    // F2, Enter and a typed character open the current cell's editor (a typed character becomes its
    // text); Space toggles a check cell. False when the key is none of these.
    bool EditFromKey(QKeyEvent* event);
    void ShowSortMarker(int column, Qt::SortOrder order);

    QPointer<CGridModel> m_grid;
    IInPlaceEditor* m_editor = nullptr;
    QPersistentModelIndex m_editCell;
    QList<QMetaObject::Connection> m_modelConnections;
    QList<int> m_widthsBeforeReset;

    int m_anchorRow = -1;
    int m_anchorColumn = -1;
    int m_currentRow = -1;
    int m_currentColumn = -1;
    bool m_rangeShown = false;
    bool m_mouseSelecting = false;
    QPersistentModelIndex m_rightPressCell; // where the right button went down
    QPoint m_dragPoint;
    QTimer m_dragScroll;
    bool m_multiLineDrawing = false;
};
