// A stand-in for the PLU table, used by the command tests only while plu/CPluTable.cpp is not part of
// the build (tests/exchange/CMakeLists.txt picks it then). It follows the table's documented
// behaviour as far as Import and Export rely on it: layouts and titles, the entry row, the limits
// toggle stored under LIMMODE, and the question before discarding unexported rows.

#include "plu/CPluTable.h"

#include "app/CSettings.h"
#include "app/IPrompt.h"
#include "app/StringTable.h"
#include "grid/CGridModel.h"

namespace {

constexpr quint32 kNewRowColor = PackRgb(240, 100, 100);

} // namespace

CPluTable::CPluTable(CGridModel& grid, CSettings& settings, IPrompt& prompt, QObject* parent)
    : QObject(parent)
    , m_grid(grid)
    , m_settings(settings)
    , m_prompt(prompt)
{
}

QVector<SPluColumn> CPluTable::Columns(int pluMode, int limitMode)
{
    if (pluMode == kPricing)
        return {{StringId::SrNo, 50, CST_TEXT},          {StringId::PluNo, 60, CST_TEXT},
                {StringId::UnitPrice, 90, CST_REAL},     {StringId::GoodsId, 90, CST_TEXT},
                {StringId::GoodsName, 150, CST_TEXT},    {StringId::Specification, 100, CST_TEXT},
                {StringId::Remark, 100, CST_TEXT},       {StringId::ExpirationDays, 80, CST_INTEGER},
                {StringId::QuantityPricing, 80, CST_TEXT}};
    QVector<SPluColumn> columns = {{StringId::SrNo, 50, CST_TEXT},       {StringId::PluNo, 60, CST_TEXT},
                                   {StringId::UnitWeight, 80, CST_REAL}, {StringId::GoodsId, 90, CST_TEXT},
                                   {StringId::GoodsName, 130, CST_TEXT}, {StringId::Specification, 100, CST_TEXT}};
    if (limitMode)
        columns += {{StringId::Hi, 90, CST_REAL}, {StringId::Lo, 90, CST_REAL}};
    return columns;
}

void CPluTable::EnterStoredMode()
{
    m_pluMode = m_settings.ReadInt(ESetting::PluMode) ? kCounting : kPricing;
    m_limitMode = m_settings.ReadInt(ESetting::LimMode) ? 1 : 0;
    RebuildTable();
    m_unexportedChanges = 0;
}

void CPluTable::RebuildTable()
{
    m_grid.ClearRows();
    while (m_grid.ColumnCount() > 0)
        m_grid.DeleteColumn(0);
    const QVector<SPluColumn> columns = Columns(m_pluMode, m_limitMode);
    m_grid.ClearColumnTypes();
    for (int i = 0; i < columns.size(); ++i) {
        m_grid.InsertColumn(i, LoadString(columns[i].titleId), columns[i].width);
        if (columns[i].sortType != CST_TEXT)
            m_grid.SetColumnType(i, columns[i].sortType);
    }
    AppendNewRow();
}

void CPluTable::AppendNewRow()
{
    const int row = m_grid.RowCount();
    m_grid.InsertRow(row, QString());
    const int columns = int(Columns(m_pluMode, m_limitMode).size());
    for (int column = 1; column < columns && column < kCheckColumn; ++column)
        m_grid.SetCellEditable(row, column);
    if (m_pluMode == kPricing)
        m_grid.SetCheckCell(row, 0);
    m_grid.SetRowColor(row, kNewRowColor);
    m_grid.SetCellText(row, 0, QString::number(row + 1));
}

void CPluTable::SetPluMode(int mode)
{
    if (mode == m_pluMode)
        return;
    m_pluMode = mode;
    m_settings.WriteInt(ESetting::PluMode, mode);
    RebuildTable();
    Q_EMIT modeChanged(m_pluMode, m_limitMode);
}

void CPluTable::ToggleLimitMode(bool askFirst)
{
    if (askFirst && !ConfirmDiscard())
        return;
    m_limitMode = m_limitMode ? 0 : 1;
    m_settings.WriteInt(ESetting::LimMode, m_limitMode);
    RebuildTable();
    Q_EMIT modeChanged(m_pluMode, m_limitMode);
}

bool CPluTable::ConfirmDiscard()
{
    if (!m_unexportedChanges)
        return true;
    m_prompt.Beep(1000, 100);
    return m_prompt.AskOkCancel(QString(), LoadString(StringId::NotExportedNew), IPrompt::EIcon::Warning);
}
