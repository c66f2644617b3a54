#include "grid/CGridModel.h"

#include "grid/CellCompare.h"

#include <QObject>

#include <algorithm>
#include <numeric>
#include <utility>

CGridModel::CGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

CGridModel::~CGridModel() = default;

void CGridModel::SetRowStore(IGridRows* rows)
{
    beginResetModel();
    m_rows = rows ? rows : &m_ownRows;
    endResetModel();
    SetSelectionMark(-1);
}

// ---- columns ----

int CGridModel::InsertColumn(int index, const QString& title, int width)
{
    index = std::clamp(index, 0, ColumnCount());
    beginInsertColumns(QModelIndex(), index, index);
    m_columns.insert(m_columns.begin() + index, SColumn{title, width, std::nullopt});
    if (m_rowNumberColumn >= index)
        ++m_rowNumberColumn;
    if (m_checkColumn >= index)
        ++m_checkColumn;
    m_rows->InsertColumn(index);
    endInsertColumns();
    return index;
}

bool CGridModel::DeleteColumn(int index)
{
    if (index < 0 || index >= ColumnCount())
        return false;
    beginRemoveColumns(QModelIndex(), index, index);
    m_columns.erase(m_columns.begin() + index);
    for (int* column : {&m_rowNumberColumn, &m_checkColumn}) {
        if (*column == index)
            *column = -1;
        else if (*column > index)
            --*column;
    }
    m_rows->RemoveColumn(index);
    endRemoveColumns();
    return true;
}

QString CGridModel::ColumnTitle(int column) const
{
    return column >= 0 && column < ColumnCount() ? m_columns[column].title : QString();
}

int CGridModel::ColumnWidth(int column) const
{
    return column >= 0 && column < ColumnCount() ? m_columns[column].width : 0;
}

// ---- rows ----

int CGridModel::InsertRow(int index, const QString& firstCellText)
{
    std::vector<SGridRow> rows(1);
    rows.front().cells.Set(0, firstCellText);
    index = std::clamp(index, 0, RowCount());
    InsertRows(index, std::move(rows));
    return index;
}

void CGridModel::InsertRows(int index, std::vector<SGridRow> rows)
{
    if (rows.empty())
        return;
    index = std::clamp(index, 0, RowCount());
    for (SGridRow& row : rows) {
        auto& records = row.records;
        records.erase(std::remove_if(records.begin(), records.end(),
                                     [this](const SEditCtrl& record) {
                                         const SEditCtrl* shared = ColumnRecord(record.nCol);
                                         return shared && shared->SameAs(record);
                                     }),
                      records.end());
    }
    const int count = int(rows.size());
    InsertStoredRows(index, count, [this, index, &rows] {
        if (m_rows == &m_ownRows) {
            m_ownRows.Insert(index, std::move(rows));
            return;
        }
        m_rows->InsertEmpty(index, int(rows.size()));
        for (std::size_t at = 0; at < rows.size(); ++at) {
            SGridRow& row = rows[at];
            const int stored = index + int(at);
            for (int column = 0; column < row.cells.size(); ++column) {
                if (column != m_rowNumberColumn)
                    m_rows->SetText(stored, column, row.cells[column]);
            }
            for (const SEditCtrl& record : row.records)
                m_rows->SetOwnRecord(stored, record);
            if (row.color)
                m_rows->SetColor(stored, *row.color);
            m_rows->SetNumber(stored, row.number);
        }
    });
}

void CGridModel::InsertStoredRows(int index, int count, const std::function<void()>& insert)
{
    if (count <= 0)
        return;
    index = std::clamp(index, 0, RowCount());
    beginInsertRows(QModelIndex(), index, index + count - 1);
    [[maybe_unused]] const int before = RowCount();
    insert();
    Q_ASSERT(RowCount() == before + count);
    if (m_selectionMark >= index)
        m_selectionMark += count;
    endInsertRows();
}

void CGridModel::StoredRowsChanged(int firstRow, int lastRow)
{
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, RowCount() - 1);
    if (firstRow > lastRow || ColumnCount() == 0)
        return;
    Q_EMIT dataChanged(index(firstRow, 0), index(lastRow, ColumnCount() - 1));
}

bool CGridModel::DeleteRow(int index)
{
    if (index < 0 || index >= RowCount())
        return false;
    beginRemoveRows(QModelIndex(), index, index);
    m_rows->Remove(index);
    endRemoveRows();
    if (m_selectionMark == index)
        SetSelectionMark(-1);
    else if (m_selectionMark > index)
        SetSelectionMark(m_selectionMark - 1);
    return true;
}

void CGridModel::ClearRows()
{
    SetSortMarker(-1, Qt::AscendingOrder);
    beginResetModel();
    m_rows->Clear();
    endResetModel();
    SetSelectionMark(-1);
}

quint64 CGridModel::RowId(int row) const
{
    Q_ASSERT(IsRow(row));
    return m_rows->Id(row);
}

int CGridModel::RowOfId(quint64 id) const
{
    for (int row = 0; row < RowCount(); ++row) {
        if (m_rows->Id(row) == id)
            return row;
    }
    return -1;
}

void CGridModel::SetCellText(int row, int column, const QString& text)
{
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount() || column == m_rowNumberColumn)
        return;
    m_rows->SetText(row, column, text);
    const QModelIndex changed = index(row, column);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

int CGridModel::SetColumnTexts(int column, int firstRow, const QVector<QString>& texts)
{
    if (column < 0 || column >= ColumnCount() || firstRow < 0 || firstRow >= RowCount() || texts.isEmpty())
        return 0;
    const int lastRow = std::min(RowCount() - 1, firstRow + int(texts.size()) - 1);
    int firstChanged = -1;
    int lastChanged = -1;
    int changed = 0;
    for (int row = firstRow; row <= lastRow; ++row) {
        const QString& text = texts[row - firstRow];
        if (column == m_rowNumberColumn || m_rows->Text(row, column) == text)
            continue;
        m_rows->SetText(row, column, text);
        if (firstChanged < 0)
            firstChanged = row;
        lastChanged = row;
        ++changed;
    }
    if (firstChanged < 0)
        return 0;
    Q_EMIT dataChanged(index(firstChanged, column), index(lastChanged, column), {Qt::DisplayRole, Qt::EditRole});
    return changed;
}

QString CGridModel::CellText(int row, int column) const
{
    if (row < 0 || row >= RowCount() || column < 0)
        return QString();
    if (column == m_rowNumberColumn) {
        const int number = m_rows->Number(row);
        return number > 0 ? QString::number(number) : QString();
    }
    return m_rows->Text(row, column).toString();
}

QVector<QString> CGridModel::RowTexts(int row) const
{
    QVector<QString> texts(ColumnCount());
    if (!IsRow(row))
        return texts;
    for (int column = 0; column < ColumnCount(); ++column)
        texts[column] = CellText(row, column);
    return texts;
}

// ---- cell records ----

void CGridModel::SetRowNumberColumn(int column)
{
    m_rowNumberColumn = column;
    if (column >= 0 && column < ColumnCount() && RowCount() > 0)
        Q_EMIT dataChanged(index(0, column), index(RowCount() - 1, column), {Qt::DisplayRole, Qt::EditRole});
}

void CGridModel::RenumberRows()
{
    int firstChanged = -1;
    int lastChanged = -1;
    for (int row = 0; row < RowCount(); ++row) {
        if (m_rows->Number(row) == row + 1)
            continue;
        m_rows->SetNumber(row, row + 1);
        if (firstChanged < 0)
            firstChanged = row;
        lastChanged = row;
    }
    if (firstChanged >= 0 && m_rowNumberColumn >= 0 && m_rowNumberColumn < ColumnCount())
        Q_EMIT dataChanged(index(firstChanged, m_rowNumberColumn), index(lastChanged, m_rowNumberColumn),
                           {Qt::DisplayRole, Qt::EditRole});
}

void CGridModel::SetColumnRecord(int column, const SEditCtrl& record)
{
    if (column < 0 || column >= ColumnCount())
        return;
    Q_ASSERT(record.pWnd == nullptr);
    m_columns[std::size_t(column)].record = record;
    m_columns[std::size_t(column)].record->nCol = column;
    if (RowCount() > 0)
        Q_EMIT dataChanged(index(0, column), index(RowCount() - 1, column),
                           {CellTypeRole, CheckStateValueRole, LockedRole});
}

void CGridModel::ClearColumnRecords()
{
    for (SColumn& column : m_columns)
        column.record.reset();
}

const SEditCtrl* CGridModel::ColumnRecord(int column) const
{
    if (column < 0 || column >= ColumnCount() || !m_columns[std::size_t(column)].record)
        return nullptr;
    return &*m_columns[std::size_t(column)].record;
}

void CGridModel::SetCellEditable(int row, int column)
{
    SEditCtrl record;
    record.nRow = row;
    record.nCol = column;
    SetCellRecord(record);
}

void CGridModel::SetCheckCell(int row, int checked)
{
    if (m_checkColumn < 0)
        return;
    SEditCtrl record;
    record.nRow = row;
    record.nCol = m_checkColumn;
    record.nCheck = checked;
    record.nType = CET_CHECK;
    SetCellRecord(record);
    SetCellText(row, m_checkColumn, checked == 1 ? CheckedText() : UncheckedText());
}

void CGridModel::SetCellRecord(const SEditCtrl& record)
{
    if (!IsRow(record.nRow))
        return;
    StoreRecord(record.nRow, record);
    const QModelIndex changed = index(record.nRow, record.nCol);
    if (changed.isValid())
        Q_EMIT dataChanged(changed, changed, {CellTypeRole, CheckStateValueRole, LockedRole});
}

void CGridModel::StoreRecord(int row, const SEditCtrl& record)
{
    m_rows->DropOwnRecord(row, record.nCol);
    const SEditCtrl* shared = ColumnRecord(record.nCol);
    if (shared && shared->SameAs(record))
        return;
    m_rows->SetOwnRecord(row, record);
}

void CGridModel::RemoveCellRecord(int row, int column)
{
    if (!IsRow(row))
        return;
    m_rows->DropOwnRecord(row, column);
    if (ColumnRecord(column)) {
        SEditCtrl none;
        none.nCol = column;
        none.nType = CET_NONE;
        m_rows->SetOwnRecord(row, none);
    }
}

int CGridModel::FindCellType(int row, int column) const
{
    const SEditCtrl* record = FindRecord(row, column);
    return record ? record->nType : -1;
}

std::optional<SEditCtrl> CGridModel::FindCellRecord(int row, int column) const
{
    const SEditCtrl* record = FindRecord(row, column);
    if (!record)
        return std::nullopt;
    SEditCtrl copy = *record;
    copy.nRow = row;
    copy.nCol = column;
    return copy;
}

const SEditCtrl* CGridModel::FindRecord(int row, int column) const
{
    if (!IsRow(row))
        return nullptr;
    if (const SEditCtrl* own = m_rows->OwnRecord(row, column))
        return own->nType == CET_NONE ? nullptr : own;
    return ColumnRecord(column);
}

// ---- row colours ----

void CGridModel::SetRowColor(int row, quint32 background)
{
    SetRowColors(row, 0, background);
}

void CGridModel::SetRowColors(int row, quint32 text, quint32 background)
{
    if (!IsRow(row))
        return;
    if (m_rows->SetColor(row, SColoredRow{row, text, background}))
        NotifyRowChanged(row);
}

std::optional<SColoredRow> CGridModel::RowColor(int row) const
{
    if (!IsRow(row))
        return std::nullopt;
    std::optional<SColoredRow> color = m_rows->Color(row);
    if (color)
        color->nRow = row;
    return color;
}

// ---- column sort types ----

void CGridModel::SetColumnType(int column, int type)
{
    int position = -1;
    if (GetColumnType(column, &position) >= 0)
        m_columnTypes.erase(m_columnTypes.begin() + position);
    m_columnTypes.push_back(SColumnTypes{type, column});
}

int CGridModel::GetColumnType(int column, int* index) const
{
    for (std::size_t i = 0; i < m_columnTypes.size(); ++i) {
        if (m_columnTypes[i].nColumn == column) {
            if (index)
                *index = int(i);
            return m_columnTypes[i].nType;
        }
    }
    return -1;
}

void CGridModel::ClearColumnTypes()
{
    m_columnTypes.clear();
}

void CGridModel::SetSortMarker(int column, Qt::SortOrder order)
{
    if (m_sortColumn == column && m_sortOrder == order)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    Q_EMIT sortMarkerChanged(column, order);
}

bool CGridModel::AppendOwnersRow()
{
    if (!m_appendRow)
        return false;
    const int before = RowCount();
    m_appendRow();
    return RowCount() > before;
}

void CGridModel::SetSelectionMark(int row)
{
    if (m_selectionMark == row)
        return;
    m_selectionMark = row;
    Q_EMIT selectionMarkChanged(row);
}

// ---- edits ----

bool CGridModel::CommitEdit(int row, int column, const QString& text)
{
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return false;
    if (CellText(row, column) == text)
        return false;
    SetCellText(row, column, text);
    NotifyCellChanged(row, column);
    return true;
}

void CGridModel::SetCellTextAndNotify(int row, int column, const QString& text)
{
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return;
    SetCellText(row, column, text);
    NotifyCellChanged(row, column);
}

bool CGridModel::ToggleCheck(int row, int column)
{
    const SEditCtrl* found = FindRecord(row, column);
    if (!found || found->nType != CET_CHECK || found->nLocked == 1)
        return false;
    SEditCtrl record = *found;
    record.nRow = row;
    record.nCol = column;
    record.nCheck = record.nCheck == 1 ? 0 : 1;
    const bool checked = record.nCheck == 1;
    StoreRecord(row, record);
    NotifyRowChanged(row);
    // The owner hears of the click before the cell's text changes.
    NotifyCellChanged(row, column);
    SetCellText(row, column, checked ? CheckedText() : UncheckedText());
    return true;
}

void CGridModel::SortRows(int column, Qt::SortOrder order, int firstRow, int endRow)
{
    SortRowsAs(std::max(GetColumnType(column), 0), column, order, firstRow, endRow);
}

void CGridModel::SortRowsAs(int type, int column, Qt::SortOrder order, int firstRow, int endRow)
{
    firstRow = std::clamp(firstRow, 0, RowCount());
    endRow = std::clamp(endRow, firstRow, RowCount());
    const int count = endRow - firstRow;
    if (count < 2)
        return;

    // Each text is read once; the rows are then ordered by their keys.
    std::vector<SCellSortKey> keys;
    keys.reserve(std::size_t(count));
    for (int row = firstRow; row < endRow; ++row)
        keys.push_back(MakeSortKey(CellText(row, column), type));
    std::vector<int> sorted(static_cast<std::size_t>(count)); // [new position] = old position, both from firstRow
    std::iota(sorted.begin(), sorted.end(), 0);
    std::stable_sort(sorted.begin(), sorted.end(), [&keys, type, order](int a, int b) {
        const int result = CompareSortKeys(keys[std::size_t(a)], keys[std::size_t(b)], type);
        return order == Qt::AscendingOrder ? result < 0 : result > 0;
    });
    if (std::is_sorted(sorted.begin(), sorted.end()))
        return; // already in order: nothing moves

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(static_cast<std::size_t>(RowCount()));
    std::iota(newRowOf.begin(), newRowOf.end(), 0);
    for (int position = 0; position < count; ++position)
        newRowOf[std::size_t(firstRow + sorted[std::size_t(position)])] = firstRow + position;
    m_rows->Reorder(firstRow, sorted);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(this->index(newRowOf[std::size_t(index.row())], index.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    // The mark stays on the row the user selected, so that Delete removes that row.
    if (m_selectionMark >= 0 && m_selectionMark < RowCount())
        SetSelectionMark(newRowOf[std::size_t(m_selectionMark)]);
}

// ---- cell marks ----

void CGridModel::NotifyMarksChanged(int firstRow, int lastRow)
{
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, RowCount() - 1);
    if (firstRow > lastRow || ColumnCount() == 0)
        return;
    Q_EMIT dataChanged(index(firstRow, 0), index(lastRow, ColumnCount() - 1), {CellMarkRole, Qt::ToolTipRole});
}

void CGridModel::NotifyRowMarksChanged(int firstRow, int lastRow)
{
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, RowCount() - 1);
    if (firstRow > lastRow || m_rowNumberColumn < 0 || m_rowNumberColumn >= ColumnCount())
        return;
    Q_EMIT dataChanged(index(firstRow, m_rowNumberColumn), index(lastRow, m_rowNumberColumn),
                       {RowMarkRole, Qt::ToolTipRole});
}

std::optional<SRowMark> CGridModel::RowMark(int row, int column) const
{
    if (!m_rowMarks || column != m_rowNumberColumn)
        return std::nullopt;
    return m_rowMarks->RowMark(row);
}

QString CGridModel::ToolTip(int row, int column) const
{
    const QString text = CellText(row, column).left(79);
    const std::optional<SCellMark> mark = m_cellMarks ? m_cellMarks->Mark(row, column) : std::nullopt;
    const std::optional<SRowMark> rowMark = RowMark(row, column);
    if (!mark && !rowMark)
        return text;
    // A tooltip of a few lines: the row's mark and the reasons first, then the cell's text.
    constexpr int kShownReasons = 3;
    QStringList lines;
    if (rowMark)
        lines.append(rowMark->text);
    if (mark) {
        lines += mark->lines.mid(0, kShownReasons);
        if (mark->lines.size() > kShownReasons)
            lines.append(QStringLiteral("\u2026"));
    }
    if (!text.isEmpty())
        lines.append(text);
    return lines.join(QLatin1Char('\n'));
}

// ---- QAbstractItemModel ----

int CGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int CGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant CGridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return CellText(row, column);
    case Qt::ToolTipRole: return ToolTip(row, column);
    case CellMarkRole: {
        const std::optional<SCellMark> mark = m_cellMarks ? m_cellMarks->Mark(row, column) : std::nullopt;
        return mark ? QVariant(int(mark->kind)) : QVariant();
    }
    case RowMarkRole: {
        const std::optional<SRowMark> mark = RowMark(row, column);
        return mark ? QVariant(int(mark->kind)) : QVariant();
    }
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case CellTypeRole: return FindCellType(row, column);
    case CheckStateValueRole:
    case LockedRole: {
        const SEditCtrl* record = FindRecord(row, column);
        if (!record)
            return QVariant();
        return role == CheckStateValueRole ? record->nCheck : record->nLocked;
    }
    case RowTextColorRole:
    case RowBackgroundColorRole: {
        const std::optional<SColoredRow> color = m_rows->Color(row);
        if (!color)
            return QVariant();
        return role == RowTextColorRole ? color->crText : color->crBk;
    }
    case RowIdRole: return m_rows->Id(row);
    case SortRole: return SortValue(row, column);
    default: return QVariant();
    }
}

bool CGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    CommitEdit(index.row(), index.column(), value.toString());
    return true;
}

QVariant CGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= ColumnCount())
        return QVariant();
    switch (role) {
    // The whole title, for a header too narrow to show it.
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return m_columns[section].title;
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case ColumnWidthRole: return m_columns[section].width;
    default: return QVariant();
    }
}

Qt::ItemFlags CGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int type = FindCellType(index.row(), index.column());
    if (type >= 0 && type != CET_CHECK && type != CET_WINDOW)
        result |= Qt::ItemIsEditable;
    return result;
}

// ---- helpers ----

QVariant CGridModel::SortValue(int row, int column) const
{
    const int type = std::max(GetColumnType(column), 0);
    return SortKeyValue(MakeSortKey(CellText(row, column), type), type);
}

void CGridModel::NotifyRowChanged(int row)
{
    if (ColumnCount() == 0)
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount() - 1));
}

void CGridModel::NotifyCellChanged(int row, int column)
{
    Q_EMIT cellChanged(row, column);
}
