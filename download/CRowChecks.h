#pragma once

#include "download/PluRecord.h"
#include "grid/ICellMarks.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <vector>

class CGridModel;
class CPluTable;

// What a download would make of each row of the PLU table, known before the download: the rows it
// would stop at (rejected), the texts it would not send as typed (warnings), and the rows whose PLU
// No. an earlier row already holds (the scale keeps only the later record). Kept current as cells are
// committed, rows imported, inserted, deleted or sorted and the layout changes; a change rebuilds the
// records of the changed rows only. Skipped rows (no PLU No. or no value) carry no mark.
class CRowChecks final : public QObject, public ICellMarks
{
    Q_OBJECT

public:
    struct SRowCheck
    {
        quint64 rowId = 0;
        EPluRecordOutcome outcome = EPluRecordOutcome::Skipped;
        QString reason; // rejected
        int rejectedColumn = -1;
        QStringList warnings; // sendable
        QVector<int> warningColumns;
        qint64 pluNumber = -1; // sendable
        int repeatsRow = -1;   // sendable: the earlier row with the same PLU No., -1 when none
        QByteArray bytes;      // sendable, when the records are kept
    };

    struct SSummary
    {
        int sendable = 0;
        int skipped = 0;
        int rejected = 0;
        int withWarnings = 0;
        int repeated = 0; // sendable rows whose PLU No. an earlier row already holds
    };

    enum class ERecords
    {
        Drop, // the grid needs the marks only
        Keep  // each sendable row's check holds its record's bytes too
    };

    // Checks every row now, with the code pages a download started now would use.
    CRowChecks(CGridModel& grid, const CPluTable& table, ERecords records = ERecords::Drop, QObject* parent = nullptr);
    // Checks every row now, with the given code pages (as SetCodePages takes them).
    CRowChecks(CGridModel& grid, const CPluTable& table, ERecords records, int textCodePage, int goodsIdCodePage);
    ~CRowChecks() override;

    // The code pages of the records' texts (the encoding selector's choice and the Goods Id's).
    void SetCodePages(int textCodePage, int goodsIdCodePage);

    // Checks every row again: for a table that was filled before the checks followed it.
    void CheckAll();

    int RowCount() const { return int(m_checks.size()); }
    const SRowCheck& Check(int row) const;
    // The rejection reason, the warnings and the repeat of one row, in that order.
    QStringList Notes(int row) const;
    SSummary Summary() const;

    // ICellMarks
    std::optional<SCellMark> Mark(int row, int column) const override;

private:
    // Follows the grid and the table, then checks every row.
    void Start();
    SRowCheck CheckRow(int row) const;
    void CheckRows(int firstRow, int lastRow);
    void OnRowsInserted(int firstRow, int lastRow);
    void OnRowsRemoved(int firstRow, int lastRow);
    void OnRowsMoved();
    // Finds the repeated PLU numbers again in every row and repaints the rows whose marks changed,
    // together with the rows firstChanged to lastChanged.
    void UpdateRepeats(int firstChanged, int lastChanged);
    // The same after rows firstRow to lastRow got new checks while no row moved: only the rows that
    // share a PLU No. with them, before or after, are looked at. oldPlus holds their former PLU Nos.
    void UpdateRepeatsOf(int firstRow, int lastRow, const std::vector<int>& oldPlus);
    // Sets a row's repeat from its PLU No.'s rows and widens [*first, *last] when it changed.
    void SetRepeat(int row, int plu, int* first, int* last);
    QString RepeatNote(const SRowCheck& check) const;

    CGridModel& m_grid;
    const CPluTable& m_table;
    int m_textCodePage = 0;
    int m_goodsIdCodePage = 0;
    ERecords m_records = ERecords::Drop;
    std::vector<SRowCheck> m_checks; // by row
    // [PLU No.] the sendable rows with that PLU No., in row order: the first is the one repeated.
    std::vector<std::vector<int>> m_rowsOfPlu;
};
