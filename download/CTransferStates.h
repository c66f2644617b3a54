#pragma once

#include "download/TransferState.h"
#include "grid/IRowMarks.h"

#include <QObject>

#include <optional>
#include <unordered_map>

class CDownloadSession;
class CGridModel;
class CPluTable;
class CRowChecks;

// What the downloads did with each row: acknowledged, refused, no answer, or not sent. The grid shows it as the
// row's mark, and a download that failed can go on at the row it stopped at. A row's state goes when its cells
// change; all states go when the rows are replaced (New, Import) or the layout changes. States follow their rows
// when the rows are sorted.
class CTransferStates final : public QObject, public IRowMarks
{
    Q_OBJECT

public:
    // checks tells which rows a download sends; both it and the grid must outlive this object.
    CTransferStates(CGridModel& grid, const CPluTable& table, const CRowChecks& checks, QObject* parent = nullptr);
    ~CTransferStates() override;

    // Takes the states from every download of the session.
    void Follow(const CDownloadSession& session);

    std::optional<ETransferState> State(int row) const;
    // The row the last download failed at, when the next one may go on there: every row before it that a download
    // would send is acknowledged and unchanged since, and there is at least one. -1 otherwise.
    int ResumeRow() const;
    void Clear();

    // IRowMarks
    std::optional<SRowMark> RowMark(int row) const override;

private:
    void OnStarted(int firstRow, int rowCount);
    void OnRowTransferred(int row, ETransferState state);
    void OnFinished(bool success, int failedRow);
    void OnCellsChanged(int firstRow, int lastRow);

    CGridModel& m_grid;
    const CRowChecks& m_checks;
    std::unordered_map<quint64, ETransferState> m_states; // by row id
    quint64 m_failedRowId = 0;                            // 0 when the last download did not fail at a row
};
