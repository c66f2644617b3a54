#include "ui/grid/CMFCListCtrlEx.h"

#include "ui/grid/CGridHeader.h"
#include "ui/grid/CGridItemDelegate.h"
#include "ui/grid/EditorFocus.h"
#include "ui/grid/InPlaceEditorFactory.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// How often the range moves one row further while the mouse is held past the visible rows.
constexpr int kDragScrollMs = 50;

} // namespace

CMFCListCtrlEx::CMFCListCtrlEx(QWidget* parent)
    : QTableView(parent)
{
    setItemDelegate(new CGridItemDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Editors are opened by the grid itself, on a single click.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setCornerButtonEnabled(false);

    // Fixed, equal row heights keep scrolling and painting independent of the number of rows.
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(kRowHeight);

    setHorizontalHeader(new CGridHeader(Qt::Horizontal, this));
    QHeaderView* columns = horizontalHeader();
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    columns->setSectionsClickable(true);
    columns->setSortIndicatorShown(false);
    connect(columns, &QHeaderView::sectionResized, this, [this] { PlaceEditor(); });
    connect(columns, &QHeaderView::sectionClicked, this, [this](int column) { OnHeaderClicked(column); });

    m_dragScroll.setInterval(kDragScrollMs);
    connect(&m_dragScroll, &QTimer::timeout, this, [this] { DragSelectTo(m_dragPoint); });
}

CMFCListCtrlEx::~CMFCListCtrlEx()
{
    // The window is going away: what is still in an editor is not stored.
    CloseEditor();
}

void CMFCListCtrlEx::setModel(QAbstractItemModel* model)
{
    CloseEditor();
    m_editCell = QPersistentModelIndex();
    ResetRange();
    for (const QMetaObject::Connection& connection : std::as_const(m_modelConnections))
        disconnect(connection);
    m_modelConnections.clear();

    QTableView::setModel(model);
    m_grid = qobject_cast<CGridModel*>(model);
    if (!model)
        return;

    m_modelConnections << connect(model, &QAbstractItemModel::columnsInserted, this,
                                  [this](const QModelIndex&, int first, int last) {
                                      ApplyColumnWidths(first, last);
                                      OnModelShapeChanged();
                                  });
    // A reset (all rows deleted) keeps the widths the user gave the columns.
    m_modelConnections << connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_widthsBeforeReset.clear();
        for (int column = 0; column < horizontalHeader()->count(); ++column)
            m_widthsBeforeReset << columnWidth(column);
    });
    m_modelConnections << connect(model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_widthsBeforeReset.size() == this->model()->columnCount()) {
            for (int column = 0; column < m_widthsBeforeReset.size(); ++column)
                setColumnWidth(column, m_widthsBeforeReset[column]);
        } else {
            ApplyColumnWidths(0, this->model()->columnCount() - 1);
        }
        ResetRange();
        OnModelShapeChanged();
    });
    // The view would select the row after a deleted one; a second Delete must find no row chosen.
    m_modelConnections << connect(model, &QAbstractItemModel::rowsRemoved, this, [this] {
        selectionModel()->clearSelection();
        if (m_grid)
            m_grid->SetSelectionMark(-1);
    });
    for (auto signal :
         {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved, &QAbstractItemModel::columnsRemoved}) {
        m_modelConnections << connect(model, signal, this, [this] { OnModelShapeChanged(); });
    }
    m_modelConnections << connect(model, &QAbstractItemModel::layoutChanged, this, [this] { OnModelShapeChanged(); });
    m_modelConnections << connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
                                  [this](const QItemSelection& selected) { OnSelectionChanged(selected); });
    if (m_grid) {
        m_modelConnections << connect(m_grid, &CGridModel::sortMarkerChanged, this,
                                      [this](int column, Qt::SortOrder order) { ShowSortMarker(column, order); });
        ShowSortMarker(m_grid->SortColumn(), m_grid->SortOrder());
    }
    ApplyColumnWidths(0, model->columnCount() - 1);
}

// ---- editing ----

void CMFCListCtrlEx::StartEdit(int row, int column)
{
    if (!m_grid)
        return;
    if (m_editor)
        FinishEdit(IInPlaceEditor::EEnd::Close);
    const QModelIndex cell = m_grid->index(row, column);
    if (!cell.isValid())
        return;
    m_editCell = cell;
    const std::optional<SEditCtrl> record = m_grid->FindCellRecord(row, column);
    if (!record)
        return;
    HideRange();
    IInPlaceEditor* editor = CreateInPlaceEditor(record->nType, viewport());
    if (!editor)
        return;

    scrollTo(cell);
    m_editor = editor;
    editor->SetEndHandler([this, editor](IInPlaceEditor::EEnd how) {
        if (m_editor == editor)
            FinishEdit(how);
    });
    QWidget* widget = editor->Widget();
    widget->setFont(font());
    editor->Place(EditorRect(cell));
    editor->SetList(record->strList);
    editor->Begin(m_grid->CellText(row, column));
    widget->show();
    widget->setFocus(Qt::OtherFocusReason);
    // A press anywhere else in the window (a toolbar button that takes no focus) ends the edit first.
    QCoreApplication::instance()->installEventFilter(this);
    editor->Opened();
}

void CMFCListCtrlEx::EditNextCell()
{
    if (!m_grid || !m_editCell.isValid())
        return;
    const int row = m_editCell.row();
    for (int column = m_editCell.column() + 1; column < m_grid->ColumnCount(); ++column) {
        if (m_grid->FindCellType(row, column) >= 0) {
            StartEdit(row, column);
            return;
        }
    }
}

void CMFCListCtrlEx::EndEdit()
{
    FinishEdit(IInPlaceEditor::EEnd::Close);
}

QWidget* CMFCListCtrlEx::Editor() const
{
    return m_editor ? m_editor->Widget() : nullptr;
}

void CMFCListCtrlEx::FinishEdit(IInPlaceEditor::EEnd how)
{
    if (!m_editor)
        return;
    const SEditResult result = CloseEditor();
    // The cell is followed through insertions and deletions; a cell that is gone gets nothing.
    if (result.commit && m_grid && m_editCell.isValid())
        m_grid->CommitEdit(m_editCell.row(), m_editCell.column(), result.text);
    if (how == IInPlaceEditor::EEnd::EditNextCell)
        EditNextCell();
}

CMFCListCtrlEx::SEditResult CMFCListCtrlEx::CloseEditor()
{
    IInPlaceEditor* editor = m_editor;
    if (!editor)
        return {};
    m_editor = nullptr;
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
    editor->SetEndHandler({});
    const SEditResult result{editor->Text(), editor->Commits()};
    QWidget* widget = editor->Widget();
    if (IsWithinEditor(widget, QApplication::focusWidget()))
        setFocus(Qt::OtherFocusReason);
    widget->hide();
    widget->deleteLater();
    return result;
}

QRect CMFCListCtrlEx::EditorRect(const QModelIndex& cell) const
{
    QRect rect = visualRect(cell);
    const std::optional<SEditCtrl> record = m_grid ? m_grid->FindCellRecord(cell.row(), cell.column()) : std::nullopt;
    if (record && record->nSpanTo > cell.column()) {
        const QRect last = visualRect(m_grid->index(cell.row(), record->nSpanTo));
        if (last.isValid())
            rect.setRight(last.right());
    }
    return rect;
}

void CMFCListCtrlEx::PlaceEditor()
{
    if (m_editor && m_editCell.isValid())
        m_editor->Place(EditorRect(m_editCell));
}

void CMFCListCtrlEx::OnModelShapeChanged()
{
    if (!m_editor)
        return;
    if (m_editCell.isValid())
        PlaceEditor();
    else
        CloseEditor(); // its row was deleted or the table rebuilt
}

void CMFCListCtrlEx::ApplyColumnWidths(int first, int last)
{
    if (!model())
        return;
    for (int column = first; column <= last; ++column) {
        const QVariant width = model()->headerData(column, Qt::Horizontal, CGridModel::ColumnWidthRole);
        if (width.isValid())
            setColumnWidth(column, width.toInt());
    }
}

void CMFCListCtrlEx::OnSelectionChanged(const QItemSelection& selected)
{
    if (m_grid && !selected.isEmpty())
        m_grid->SetSelectionMark(selected.first().top());
}

// ---- cell range ----

void CMFCListCtrlEx::SelectCell(int row, int column, bool resetAnchor)
{
    const QRect before = m_rangeShown ? RangeRect() : QRect();
    if (resetAnchor) {
        m_anchorRow = row;
        m_anchorColumn = column;
    } else if (m_currentRow == row && m_currentColumn == column) {
        return;
    }
    m_currentRow = row;
    m_currentColumn = column;
    m_rangeShown = true;
    viewport()->update(before.united(RangeRect()).adjusted(-2, -2, 2, 2));
}

SCellRange CMFCListCtrlEx::SelectedRange() const
{
    return RangeBetween(m_anchorRow, m_anchorColumn, m_currentRow, m_currentColumn);
}

bool CMFCListCtrlEx::IsCellSelected(int row, int column) const
{
    return m_rangeShown && SelectedRange().Contains(row, column);
}

QRect CMFCListCtrlEx::RangeRect() const
{
    if (!m_grid || !HasAnchor())
        return QRect();
    return visualRect(m_grid->index(m_anchorRow, m_anchorColumn))
        .united(visualRect(m_grid->index(m_currentRow, m_currentColumn)));
}

void CMFCListCtrlEx::HideRange()
{
    if (!m_rangeShown)
        return;
    m_rangeShown = false;
    viewport()->update();
}

void CMFCListCtrlEx::ResetRange()
{
    HideRange();
    m_anchorRow = m_anchorColumn = m_currentRow = m_currentColumn = -1;
    StopMouseSelecting();
}

void CMFCListCtrlEx::StopMouseSelecting()
{
    m_mouseSelecting = false;
    m_dragScroll.stop();
}

void CMFCListCtrlEx::DragSelectTo(const QPoint& point)
{
    if (!m_grid || !m_mouseSelecting || m_editor) {
        m_dragScroll.stop();
        return;
    }
    const int lastRow = m_grid->RowCount() - 1;
    const int lastColumn = m_grid->ColumnCount() - 1;
    if (lastRow < 0 || lastColumn < 0)
        return;
    m_dragPoint = point;
    // No further right than the last column and no lower than the last row.
    const QPoint limited(std::min(point.x(), columnViewportPosition(lastColumn)),
                         std::min(point.y(), rowViewportPosition(lastRow)));
    const QRect area = viewport()->rect();
    int row = rowAt(std::clamp(limited.y(), 0, area.bottom()));
    int column = columnAt(std::clamp(limited.x(), 0, area.right()));
    if (row < 0)
        row = lastRow; // below the rows, inside the viewport
    if (column < 0)
        column = lastColumn;
    if (limited.y() < area.top())
        row = std::max(row - 1, 0);
    else if (limited.y() > area.bottom())
        row = std::min(row + 1, lastRow);
    if (limited.x() < area.left())
        column = std::max(column - 1, 0);
    else if (limited.x() > area.right())
        column = std::min(column + 1, lastColumn);

    SelectCell(row, column, false);
    scrollTo(m_grid->index(row, column));
    if (area.contains(limited))
        m_dragScroll.stop();
    else if (!m_dragScroll.isActive())
        m_dragScroll.start();
}

// ---- clipboard and context menu ----

void CMFCListCtrlEx::Copy()
{
    if (!m_grid || !HasAnchor())
        return;
    QGuiApplication::clipboard()->setText(CopyRangeText(*m_grid, SelectedRange()));
}

void CMFCListCtrlEx::CopyWholeRows()
{
    if (!m_grid || !HasAnchor())
        return;
    const SCellRange range = SelectedRange();
    QGuiApplication::clipboard()->setText(CopyWholeRowsText(*m_grid, range.firstRow, range.lastRow));
}

void CMFCListCtrlEx::Paste()
{
    if (!m_grid || !HasAnchor())
        return;
    // An open editor would write its older text over the pasted one.
    EndEdit();
    const SCellRange range = SelectedRange();
    PasteText(*m_grid, range.firstRow, range.firstColumn, QGuiApplication::clipboard()->text());
}

void CMFCListCtrlEx::RunContextCommand(int command)
{
    switch (command) {
    case kCopyCommand: Copy(); break;
    case kCopyWholeRowCommand: CopyWholeRows(); break;
    case kPasteCommand: Paste(); break;
    default: break;
    }
}

void CMFCListCtrlEx::FillContextMenu(QMenu& menu, int row, int column) const
{
    const int type = m_grid ? m_grid->FindCellType(row, column) : -1;
    for (int command : ContextMenuCommands(type))
        menu.addAction(ContextCommandText(command))->setData(command);
}

void CMFCListCtrlEx::SetMultiLineDrawing(bool on)
{
    m_multiLineDrawing = on;
    viewport()->update();
}

// ---- sorting ----

void CMFCListCtrlEx::OnHeaderClicked(int column)
{
    if (!m_grid || column < 0 || column >= m_grid->ColumnCount())
        return;
    EndEdit();
    const Qt::SortOrder order = m_grid->SortColumn() == column && m_grid->SortOrder() == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    m_grid->SetSortMarker(column, order);
    ShowSortMarker(column, order);
    if (isSignalConnected(QMetaMethod::fromSignal(&CMFCListCtrlEx::sortRequested)))
        Q_EMIT sortRequested(column, order);
    else
        m_grid->SortRows(column, order, 0, m_grid->RowCount());
    Q_EMIT columnClicked(column);
}

void CMFCListCtrlEx::ShowSortMarker(int column, Qt::SortOrder order)
{
    QHeaderView* header = horizontalHeader();
    header->setSortIndicatorShown(column >= 0);
    header->setSortIndicator(column, order);
}

// ---- events ----

void CMFCListCtrlEx::mousePressEvent(QMouseEvent* event)
{
    // An editor open until now has already ended: the press gave the grid the focus.
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (event->button() == Qt::RightButton)
        m_rightPressCell = pressed;
    if (m_grid && pressed.isValid() && !m_editor) {
        const bool left = event->button() == Qt::LeftButton;
        const bool right = event->button() == Qt::RightButton;
        if (left || (right && !IsCellSelected(pressed.row(), pressed.column()))) {
            m_mouseSelecting = true;
            setFocus(Qt::MouseFocusReason);
            const bool extend = (event->modifiers() & Qt::ShiftModifier) && HasAnchor();
            SelectCell(pressed.row(), pressed.column(), !extend);
        }
    }

    // The press selects the row (and takes the focus from an open editor, which ends it).
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || m_editor || !m_grid)
        return;
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (!cell.isValid())
        return;
    StartEdit(cell.row(), cell.column());
    if (m_grid->FindCellType(cell.row(), cell.column()) == CET_CHECK) {
        StopMouseSelecting();
        m_grid->ToggleCheck(cell.row(), cell.column());
    }
}

void CMFCListCtrlEx::mouseMoveEvent(QMouseEvent* event)
{
    // While the range follows the mouse, the row selection stays where the press put it.
    if (m_mouseSelecting && !m_editor && (event->buttons() & (Qt::LeftButton | Qt::RightButton))) {
        DragSelectTo(event->position().toPoint());
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void CMFCListCtrlEx::mouseReleaseEvent(QMouseEvent* event)
{
    StopMouseSelecting();
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::RightButton)
        return;
    // The menu waits for the release, so that a right drag can choose a range first; a release over
    // another cell than the pressed one ends such a drag and opens nothing.
    const QPersistentModelIndex pressed = m_rightPressCell;
    m_rightPressCell = QPersistentModelIndex();
    const QPoint point = event->position().toPoint();
    if (pressed.isValid() && indexAt(point) == pressed)
        ShowContextMenu(pressed, viewport()->mapToGlobal(point));
}

void CMFCListCtrlEx::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        Copy();
        return;
    }
    if (!m_editor && m_grid && currentIndex().isValid() && EditFromKey(event)) {
        event->accept();
        return;
    }
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    // The arrow keys move the current cell; the range shows where it is (Shift stretches the range).
    const QModelIndex after = currentIndex();
    if (m_grid && after.isValid() && after != before) {
        const bool extend = (event->modifiers() & Qt::ShiftModifier) && HasAnchor();
        SelectCell(after.row(), after.column(), !extend);
    }
}

bool CMFCListCtrlEx::EditFromKey(QKeyEvent* event)
{
    const QModelIndex cell = currentIndex();
    const int type = m_grid->FindCellType(cell.row(), cell.column());
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (type == CET_CHECK) {
        if (event->key() != Qt::Key_Space || modifiers != Qt::NoModifier)
            return false;
        m_grid->ToggleCheck(cell.row(), cell.column());
        return true;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (event->key() == Qt::Key_F2 || (enter && modifiers == Qt::NoModifier)) {
        StartEdit(cell.row(), cell.column());
        return true;
    }
    // A typed character starts the editor and replaces the cell's text, as in a spreadsheet.
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint() &&
                       !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!typed || type < 0)
        return false;
    StartEdit(cell.row(), cell.column());
    if (!m_editor)
        return true;
    QWidget* target = QApplication::focusWidget();
    if (!IsWithinEditor(m_editor->Widget(), target))
        target = m_editor->Widget();
    QKeyEvent typedKey(QEvent::KeyPress, event->key(), event->modifiers(), text);
    QApplication::sendEvent(target, &typedKey);
    return true;
}

void CMFCListCtrlEx::focusOutEvent(QFocusEvent* event)
{
    StopMouseSelecting();
    QTableView::focusOutEvent(event);
}

void CMFCListCtrlEx::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse's menu opens on the right button's release (mouseReleaseEvent); the menu key's here.
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse || !model())
        return;
    const QModelIndex cell = currentIndex();
    ShowContextMenu(cell, viewport()->mapToGlobal(visualRect(cell).center()));
}

void CMFCListCtrlEx::ShowContextMenu(const QModelIndex& cell, const QPoint& globalPos)
{
    if (!m_grid || !cell.isValid())
        return;
    QMenu menu(this);
    FillContextMenu(menu, cell.row(), cell.column());
    if (QAction* chosen = menu.exec(globalPos))
        RunContextCommand(chosen->data().toInt());
}

void CMFCListCtrlEx::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (!m_rangeShown)
        return;
    const QRect frame = RangeRect();
    if (frame.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(frame).adjusted(1, 1, -1, -1));
}

void CMFCListCtrlEx::scrollContentsBy(int dx, int dy)
{
    // The editor stays over its cell only while nothing moves.
    if (m_editor)
        FinishEdit(IInPlaceEditor::EEnd::Close);
    QTableView::scrollContentsBy(dx, dy);
}

void CMFCListCtrlEx::updateGeometries()
{
    QTableView::updateGeometries();
    PlaceEditor();
}

bool CMFCListCtrlEx::eventFilter(QObject* watched, QEvent* event)
{
    if (m_editor && watched->isWidgetType() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        auto* target = static_cast<QWidget*>(watched);
        QWidget* editorWidget = m_editor->Widget();
        if (target->window() == window() && target != editorWidget && !editorWidget->isAncestorOf(target)) {
            FinishEdit(IInPlaceEditor::EEnd::Close);
        }
    }
    return QTableView::eventFilter(watched, event);
}
