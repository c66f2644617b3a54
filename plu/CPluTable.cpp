#include "plu/CPluTable.h"

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "app/StringTable.h"
#include "grid/CGridModel.h"

#include <utility>
#include <vector>

namespace {

constexpr int kBeepHz = 1000;
constexpr int kBeepMs = 100;

} // namespace

CPluTable::CPluTable(CGridModel& grid, CSettings& settings, IPrompt& prompt, QObject* parent)
    : QObject(parent)
    , m_grid(grid)
    , m_settings(settings)
    , m_prompt(prompt)
{
    m_grid.SetRowStore(&m_rows);
    connect(&m_grid, &CGridModel::cellChanged, this, [this](int row, int) { OnCellCommitted(row); });
    m_grid.SetRowAppender([this] { AppendNewRow(); });
}

CPluTable::~CPluTable()
{
    // The grid may outlive the table; it then holds rows of its own, and its pastes stop at the last row.
    m_grid.SetRowAppender({});
    m_grid.SetRowStore(nullptr);
}

const std::vector<SPluField>& CPluTable::Columns(EPluMode mode, ELimitMode limits)
{
    return PluLayout::Fields(mode, limits);
}

void CPluTable::EnterStoredMode()
{
    // Anything but pricing builds the counting layout, so that is what the stored value becomes.
    m_pluMode = PluLayout::PluModeFromSetting(m_settings.ReadInt(ESetting::PluMode));
    m_settings.WriteInt(ESetting::PluMode, PluLayout::SettingOf(m_pluMode));
    m_limitMode = ELimitMode::Off;
    if (PluLayout::LimitModeFromSetting(m_settings.ReadInt(ESetting::LimMode)) == ELimitMode::On) {
        m_limitMode = ELimitMode::On;
        m_settings.WriteInt(ESetting::LimMode, PluLayout::SettingOf(m_limitMode));
    }
    RebuildTable();
    m_unexportedChanges = 0;
    Q_EMIT modeChanged(m_pluMode, m_limitMode);
}

void CPluTable::RebuildTable()
{
    m_grid.ClearRows();
    for (int count = m_grid.ColumnCount(); count > 0; --count)
        m_grid.DeleteColumn(0);

    const std::vector<SPluField>& columns = Columns();
    for (int column = 0; column < int(columns.size()); ++column)
        m_grid.InsertColumn(column, LoadString(columns[std::size_t(column)].titleId),
                            columns[std::size_t(column)].width);

    // Only the columns of the new layout may compare as numbers.
    m_grid.ClearColumnTypes();
    for (int column = 0; column < int(columns.size()); ++column) {
        const SPluField& field = columns[std::size_t(column)];
        if (field.sortType != CST_TEXT)
            m_grid.SetColumnType(column, field.sortType);
        // Every data cell is edited in place, the check mark by a click; Sr.No. is the row's place.
        if (field.field == EPluField::SrNo)
            continue;
        SEditCtrl record;
        record.nCol = column;
        record.nType = field.kind == EFieldKind::Check ? CET_CHECK : CET_EDIT;
        m_grid.SetColumnRecord(column, record);
    }
    m_grid.SetRowNumberColumn(kSrNoColumn);
    m_grid.SetCheckColumn(PluLayout::CheckColumn(m_pluMode));
    m_rows.SetCheckColumn(PluLayout::CheckColumn(m_pluMode));
    AppendNewRow();
    m_unexportedChanges = 0;
}

void CPluTable::AppendNewRow()
{
    const int row = RowCount();
    // The whole row is made at once, so that a long table costs one insertion per row.
    std::vector<SPluRow> rows(1);
    rows.front().entry = true;
    rows.front().number = row + 1;
    m_grid.InsertStoredRows(row, 1, [this, row, &rows] { m_rows.Insert(row, std::move(rows)); });
}

void CPluTable::ReplaceRows(std::vector<SPluRow> rows)
{
    m_grid.ClearRows();
    for (std::size_t row = 0; row < rows.size(); ++row)
        rows[row].number = int(row) + 1;
    const int count = int(rows.size());
    m_grid.InsertStoredRows(0, count, [this, &rows] { m_rows.Insert(0, std::move(rows)); });
    AppendNewRow();
}

QVector<QString> CPluTable::RowTexts(int row) const
{
    QVector<QString> texts(int(Columns().size()));
    for (int column = 0; column < texts.size(); ++column)
        texts[column] = CellText(row, column);
    return texts;
}

QString CPluTable::CellText(int row, int column) const
{
    if (row < 0 || row >= RowCount() || column < 0)
        return QString();
    if (column == kSrNoColumn)
        return m_rows.Number(row) > 0 ? QString::number(m_rows.Number(row)) : QString();
    return m_rows.Text(row, column).toString();
}

QStringView CPluTable::StoredText(int row, int column) const
{
    if (row < 0 || row >= RowCount() || column < 0 || column == kSrNoColumn)
        return QStringView();
    return m_rows.Text(row, column);
}

void CPluTable::RemoveEntryRow()
{
    const int last = RowCount() - 1;
    if (IsEntryRow(last))
        m_grid.DeleteRow(last);
}

void CPluTable::OnCellCommitted(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    if (m_rows.Text(row, kPluNoColumn).isEmpty() || m_rows.Text(row, kValueColumn).isEmpty())
        return;
    if (m_rows.IsEntry(row)) {
        m_rows.SetEntry(row, false);
        m_grid.StoredRowsChanged(row, row);
    }
    m_unexportedChanges = 1;
    if (row == RowCount() - 1)
        AppendNewRow();
}

void CPluTable::DeleteMarkedRow()
{
    const int row = m_grid.SelectionMark();
    if (row < 0)
        m_prompt.ShowMessage(ApplicationCaption(), LoadString(StringId::Unselected), IPrompt::EIcon::None);
    else
        m_grid.DeleteRow(row);
    m_grid.RenumberRows();
}

void CPluTable::NewTable()
{
    if (ConfirmDiscard())
        RebuildTable();
}

void CPluTable::SetPluMode(EPluMode mode)
{
    if (mode == m_pluMode)
        return;
    if (!ConfirmDiscard(StringId::NotExportedModeChange))
        return;
    m_pluMode = mode;
    m_settings.WriteInt(ESetting::PluMode, PluLayout::SettingOf(m_pluMode));
    RebuildTable();
    Q_EMIT modeChanged(m_pluMode, m_limitMode);
}

void CPluTable::ToggleLimitMode(bool askFirst)
{
    if (askFirst && !ConfirmDiscard(StringId::NotExportedModeChange))
        return;
    m_limitMode = m_limitMode == ELimitMode::On ? ELimitMode::Off : ELimitMode::On;
    m_settings.WriteInt(ESetting::LimMode, PluLayout::SettingOf(m_limitMode));
    RebuildTable();
    Q_EMIT modeChanged(m_pluMode, m_limitMode);
}

void CPluTable::SortByColumn(int column, Qt::SortOrder order)
{
    // The entry rows at the end (one, or more after Add) stay there, below the sorted PLUs.
    int endRow = RowCount();
    while (endRow > 0 && IsEntryRow(endRow - 1))
        --endRow;
    // Sr.No. holds positions: compared as numbers, the rows keep (or reverse) their order, and
    // renumbering numbers them by their new places.
    if (column == kSrNoColumn)
        m_grid.SortRowsAs(CST_INTEGER, column, order, 0, endRow);
    else
        m_grid.SortRows(column, order, 0, endRow);
    m_grid.RenumberRows();
}

bool CPluTable::ConfirmDiscard(unsigned questionId)
{
    if (m_unexportedChanges == 0)
        return true;
    m_prompt.Beep(kBeepHz, kBeepMs);
    return m_prompt.AskOkCancel(QString(), LoadString(questionId), IPrompt::EIcon::Warning);
}
