#include "plu/CPluTable.h"

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "app/StringTable.h"
#include "grid/CGridModel.h"

#include <optional>
#include <utility>
#include <vector>

namespace {

// The layout's column whose cells SetCheckCell serves (pricing only).
constexpr int kQuantityPricingColumn = kCheckColumn;

constexpr int kBeepHz = 1000;
constexpr int kBeepMs = 100;

} // namespace

CPluTable::CPluTable(CGridModel& grid, CSettings& settings, IPrompt& prompt, QObject* parent)
    : QObject(parent)
    , m_grid(grid)
    , m_settings(settings)
    , m_prompt(prompt)
{
    connect(&m_grid, &CGridModel::cellChanged, this, [this](int row, int) { OnCellCommitted(row); });
    m_grid.SetRowAppender([this] { AppendNewRow(); });
}

CPluTable::~CPluTable()
{
    // The grid may outlive the table; its pastes then stop at the last row.
    m_grid.SetRowAppender({});
}

QVector<SPluColumn> CPluTable::Columns(int pluMode, int limitMode)
{
    if (pluMode == kPricing) {
        return {
            {StringId::SrNo, 50, CST_TEXT},
            {StringId::PluNo, 60, CST_TEXT},
            {StringId::UnitPrice, 90, CST_REAL},
            {StringId::GoodsId, 90, CST_TEXT},
            {StringId::GoodsName, 150, CST_TEXT},
            {StringId::Specification, 100, CST_TEXT},
            {StringId::Remark, 100, CST_TEXT},
            {StringId::ExpirationDays, 80, CST_INTEGER},
            {StringId::QuantityPricing, 80, CST_TEXT},
        };
    }
    QVector<SPluColumn> columns{
        {StringId::SrNo, 50, CST_TEXT},
        {StringId::PluNo, 60, CST_TEXT},
        {StringId::UnitWeight, 80, CST_REAL},
        {StringId::GoodsId, 90, CST_TEXT},
        {StringId::GoodsName, 130, CST_TEXT},
        {StringId::Specification, 100, CST_TEXT},
    };
    if (limitMode == 1) {
        columns.append({StringId::Hi, 90, CST_REAL});
        columns.append({StringId::Lo, 90, CST_REAL});
    }
    return columns;
}

void CPluTable::EnterStoredMode()
{
    // Anything but pricing builds the counting layout, so that is what the stored value becomes.
    m_pluMode = m_settings.ReadInt(ESetting::PluMode) == kPricing ? kPricing : kCounting;
    m_settings.WriteInt(ESetting::PluMode, m_pluMode);
    m_limitMode = 0;
    if (m_settings.ReadInt(ESetting::LimMode) == 1) {
        m_limitMode = 1;
        m_settings.WriteInt(ESetting::LimMode, m_limitMode);
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

    const QVector<SPluColumn> columns = Columns(m_pluMode, m_limitMode);
    for (int column = 0; column < columns.size(); ++column)
        m_grid.InsertColumn(column, LoadString(columns[column].titleId), columns[column].width);

    // Only the columns of the new layout may compare as numbers.
    m_grid.ClearColumnTypes();
    for (int column = 0; column < columns.size(); ++column) {
        if (columns[column].sortType != CST_TEXT)
            m_grid.SetColumnType(column, columns[column].sortType);
    }
    AppendNewRow();
    m_unexportedChanges = 0;
}

void CPluTable::AppendNewRow()
{
    const int row = m_grid.RowCount();
    const int columnCount = int(Columns(m_pluMode, m_limitMode).size());
    const bool pricing = m_pluMode == kPricing;
    const int lastTextColumn = pricing ? kQuantityPricingColumn - 1 : columnCount - 1;

    // The whole row is made at once, so that a long table costs one insertion per row.
    SGridRow entry;
    entry.cells.resize(columnCount);
    entry.cells[kSrNoColumn] = NumberText(row + 1);
    for (int column = kPluNoColumn; column <= lastTextColumn; ++column) {
        SEditCtrl record;
        record.nRow = row;
        record.nCol = column;
        entry.records.push_back(record);
    }
    if (pricing) {
        SEditCtrl check;
        check.nRow = row;
        check.nCol = kQuantityPricingColumn;
        check.nCheck = 0;
        check.nType = CET_CHECK;
        entry.records.push_back(check);
        entry.cells[kQuantityPricingColumn] = UncheckedText();
    }
    entry.color = SColoredRow{row, 0, kEntryRowColor};

    std::vector<SGridRow> rows;
    rows.push_back(std::move(entry));
    m_grid.InsertRows(row, std::move(rows));
}

void CPluTable::OnCellCommitted(int row)
{
    if (row < 0 || row >= m_grid.RowCount())
        return;
    if (m_grid.CellText(row, kPluNoColumn).isEmpty() || m_grid.CellText(row, kValueColumn).isEmpty())
        return;
    m_grid.SetRowColor(row, kCompleteRowColor);
    m_unexportedChanges = 1;
    if (row == m_grid.RowCount() - 1)
        AppendNewRow();
}

void CPluTable::DeleteMarkedRow()
{
    const int row = m_grid.SelectionMark();
    if (row < 0)
        m_prompt.ShowMessage(ApplicationCaption(), LoadString(StringId::Unselected), IPrompt::EIcon::None);
    else
        m_grid.DeleteRow(row);
    Renumber();
}

void CPluTable::NewTable()
{
    if (ConfirmDiscard())
        RebuildTable();
}

void CPluTable::SetPluMode(int mode)
{
    Q_ASSERT(mode == kPricing || mode == kCounting);
    mode = mode == kPricing ? kPricing : kCounting;
    if (mode == m_pluMode)
        return;
    if (!ConfirmDiscard(StringId::NotExportedModeChange))
        return;
    m_pluMode = mode;
    m_settings.WriteInt(ESetting::PluMode, m_pluMode);
    RebuildTable();
    Q_EMIT modeChanged(m_pluMode, m_limitMode);
}

void CPluTable::ToggleLimitMode(bool askFirst)
{
    if (askFirst && !ConfirmDiscard(StringId::NotExportedModeChange))
        return;
    m_limitMode = m_limitMode == 1 ? 0 : 1;
    m_settings.WriteInt(ESetting::LimMode, m_limitMode);
    RebuildTable();
    Q_EMIT modeChanged(m_pluMode, m_limitMode);
}

void CPluTable::SortByColumn(int column, Qt::SortOrder order)
{
    // The entry rows at the end (one, or more after Add) stay there, below the sorted PLUs.
    int endRow = m_grid.RowCount();
    while (endRow > 0 && IsEntryRow(endRow - 1))
        --endRow;
    // Sr.No. holds positions: compared as text, 10 would come before 2 and renumbering would shuffle
    // the rows; compared as numbers, the rows keep (or reverse) their order.
    if (column == kSrNoColumn)
        m_grid.SortRowsAs(CST_INTEGER, column, order, 0, endRow);
    else
        m_grid.SortRows(column, order, 0, endRow);
    Renumber();
}

bool CPluTable::IsEntryRow(int row) const
{
    const std::optional<SColoredRow> color = m_grid.RowColor(row);
    return color && color->crBk == kEntryRowColor;
}

bool CPluTable::ConfirmDiscard(unsigned questionId)
{
    if (m_unexportedChanges == 0)
        return true;
    m_prompt.Beep(kBeepHz, kBeepMs);
    return m_prompt.AskOkCancel(QString(), LoadString(questionId), IPrompt::EIcon::Warning);
}

void CPluTable::Renumber()
{
    const int rowCount = m_grid.RowCount();
    if (rowCount == 0)
        return;
    NumberText(rowCount);
    m_grid.SetColumnTexts(kSrNoColumn, 0, m_numberTexts);
}

const QString& CPluTable::NumberText(int number)
{
    Q_ASSERT(number > 0);
    if (number > m_numberTexts.size()) {
        for (int next = int(m_numberTexts.size()) + 1; next <= number; ++next)
            m_numberTexts.append(QString::number(next));
    }
    return m_numberTexts[number - 1];
}
