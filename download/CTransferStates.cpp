#include "download/CTransferStates.h"

#include "download/CDownloadSession.h"
#include "download/CRowChecks.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"

namespace {

ERowMark MarkOf(ETransferState state)
{
    switch (state) {
    case ETransferState::Acknowledged: return ERowMark::Done;
    case ETransferState::Refused: return ERowMark::Failed;
    case ETransferState::NoAnswer: return ERowMark::Unanswered;
    case ETransferState::NotSent: return ERowMark::Pending;
    }
    Q_UNREACHABLE();
}

} // namespace

CTransferStates::CTransferStates(CGridModel& grid, const CPluTable& table, const CRowChecks& checks, QObject* parent)
    : QObject(parent)
    , m_grid(grid)
    , m_checks(checks)
{
    connect(&m_grid, &QAbstractItemModel::modelReset, this, &CTransferStates::Clear);
    connect(&m_grid, &QAbstractItemModel::columnsInserted, this, &CTransferStates::Clear);
    connect(&m_grid, &QAbstractItemModel::columnsRemoved, this, &CTransferStates::Clear);
    connect(&table, &CPluTable::modeChanged, this, &CTransferStates::Clear);
    connect(&m_grid, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
                // Marks and tooltips change without the cells; renumbering changes only Sr.No., which is not sent.
                const bool texts = roles.isEmpty() || roles.contains(Qt::DisplayRole) || roles.contains(Qt::EditRole);
                const bool onlySrNo = bottomRight.column() == CPluTable::kSrNoColumn;
                if (texts && !onlySrNo)
                    OnCellsChanged(topLeft.row(), bottomRight.row());
            });
    m_grid.SetRowMarks(this);
}

CTransferStates::~CTransferStates()
{
    m_grid.SetRowMarks(nullptr);
}

void CTransferStates::Follow(const CDownloadSession& session)
{
    connect(&session, &CDownloadSession::started, this, &CTransferStates::OnStarted);
    connect(&session, &CDownloadSession::rowTransferred, this, &CTransferStates::OnRowTransferred);
    connect(&session, &CDownloadSession::finished, this,
            [this](bool success, int failedRow, const QString&) { OnFinished(success, failedRow); });
}

std::optional<ETransferState> CTransferStates::State(int row) const
{
    if (row < 0 || row >= m_grid.RowCount())
        return std::nullopt;
    const auto found = m_states.find(m_grid.RowId(row));
    if (found == m_states.end())
        return std::nullopt;
    return found->second;
}

int CTransferStates::ResumeRow() const
{
    if (m_failedRowId == 0)
        return -1;
    const int failedRow = m_grid.RowOfId(m_failedRowId);
    if (failedRow <= 0 || m_checks.RowCount() != m_grid.RowCount())
        return -1;
    bool anyAcknowledged = false;
    for (int row = 0; row < failedRow; ++row) {
        if (m_checks.Check(row).outcome == EPluRecordOutcome::Skipped)
            continue;
        if (State(row) != ETransferState::Acknowledged)
            return -1;
        anyAcknowledged = true;
    }
    return anyAcknowledged ? failedRow : -1;
}

void CTransferStates::Clear()
{
    m_failedRowId = 0;
    if (m_states.empty())
        return;
    m_states.clear();
    m_grid.NotifyRowMarksChanged(0, m_grid.RowCount() - 1);
}

std::optional<SRowMark> CTransferStates::RowMark(int row) const
{
    const std::optional<ETransferState> state = State(row);
    if (!state)
        return std::nullopt;
    return SRowMark{MarkOf(*state), TransferStateText(*state)};
}

void CTransferStates::OnStarted(int firstRow, int rowCount)
{
    m_failedRowId = 0;
    // A download from the first row starts a new record; one that goes on keeps what the rows before it got.
    if (firstRow == 0)
        m_states.clear();
    const int lastRow = std::min(rowCount, m_grid.RowCount()) - 1;
    const bool checked = m_checks.RowCount() == m_grid.RowCount();
    for (int row = firstRow; row <= lastRow; ++row) {
        const quint64 id = m_grid.RowId(row);
        if (checked && m_checks.Check(row).outcome == EPluRecordOutcome::Skipped)
            m_states.erase(id);
        else
            m_states[id] = ETransferState::NotSent;
    }
    m_grid.NotifyRowMarksChanged(firstRow, m_grid.RowCount() - 1);
}

void CTransferStates::OnRowTransferred(int row, ETransferState state)
{
    if (row < 0 || row >= m_grid.RowCount())
        return;
    m_states[m_grid.RowId(row)] = state;
    m_grid.NotifyRowMarksChanged(row, row);
}

void CTransferStates::OnFinished(bool success, int failedRow)
{
    m_failedRowId = !success && failedRow >= 0 && failedRow < m_grid.RowCount() ? m_grid.RowId(failedRow) : 0;
}

void CTransferStates::OnCellsChanged(int firstRow, int lastRow)
{
    if (m_states.empty())
        return;
    bool changed = false;
    for (int row = std::max(firstRow, 0); row <= lastRow && row < m_grid.RowCount(); ++row)
        changed = m_states.erase(m_grid.RowId(row)) > 0 || changed;
    if (changed)
        m_grid.NotifyRowMarksChanged(firstRow, lastRow);
}
