#include "grid/CMFCListCtrlEx.h"

#include "grid/CGridItemDelegate.h"
#include "grid/InPlaceEditorFactory.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>

#include <optional>

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

    QHeaderView* columns = horizontalHeader();
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    connect(columns, &QHeaderView::sectionResized, this, [this] { PlaceEditor(); });
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
        OnModelShapeChanged();
    });
    for (auto signal :
         {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved, &QAbstractItemModel::columnsRemoved}) {
        m_modelConnections << connect(model, signal, this, [this] { OnModelShapeChanged(); });
    }
    m_modelConnections << connect(model, &QAbstractItemModel::layoutChanged, this, [this] { OnModelShapeChanged(); });
    m_modelConnections << connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
                                  [this](const QItemSelection& selected) { OnSelectionChanged(selected); });
    ApplyColumnWidths(0, model->columnCount() - 1);
}

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
    widget->setGeometry(EditorRect(cell));
    editor->Begin(m_grid->CellText(row, column));
    widget->show();
    widget->setFocus(Qt::OtherFocusReason);
    // A press anywhere else in the window (a toolbar button that takes no focus) ends the edit first.
    QCoreApplication::instance()->installEventFilter(this);
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
    if (widget->hasFocus())
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
        m_editor->Widget()->setGeometry(EditorRect(m_editCell));
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

void CMFCListCtrlEx::mousePressEvent(QMouseEvent* event)
{
    // The press first selects the row (and takes the focus from an open editor, which ends it).
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || m_editor || !m_grid)
        return;
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (!cell.isValid())
        return;
    if (m_grid->FindCellType(cell.row(), cell.column()) == CET_CHECK) {
        m_grid->ToggleCheck(cell.row(), cell.column());
        return;
    }
    StartEdit(cell.row(), cell.column());
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
        if (target->window() == window() && target != editorWidget && !editorWidget->isAncestorOf(target))
            FinishEdit(IInPlaceEditor::EEnd::Close);
    }
    return QTableView::eventFilter(watched, event);
}
