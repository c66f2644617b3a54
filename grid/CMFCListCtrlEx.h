#pragma once

#include "grid/CGridModel.h"
#include "grid/IInPlaceEditor.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>

// The editable grid: shows a CGridModel with its column widths, row colours and check cells, keeps
// the model's selection mark on the row last selected, and edits a cell in place when it is clicked.
// A finished edit goes through CGridModel::CommitEdit, so the owner hears of it by cellChanged.
class CMFCListCtrlEx : public QTableView
{
    Q_OBJECT

public:
    static constexpr int kRowHeight = 18;

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

protected:
    void mousePressEvent(QMouseEvent* event) override;
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

    QPointer<CGridModel> m_grid;
    IInPlaceEditor* m_editor = nullptr;
    QPersistentModelIndex m_editCell;
    QList<QMetaObject::Connection> m_modelConnections;
    QList<int> m_widthsBeforeReset;
};
