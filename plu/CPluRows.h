#pragma once

#include "grid/CRowTexts.h"
#include "grid/GridRecords.h"
#include "grid/IGridRows.h"

#include <QtGlobal>

#include <unordered_map>
#include <vector>

// One row of the PLU table: its texts, whether it still waits for its PLU No. and value, and the
// Quantity pricing mark.
struct SPluRow
{
    CRowTexts cells;      // by column; Sr.No. and the Quantity pricing column hold no text here
    bool checked = false; // the Quantity pricing mark, shown as "√" or "×"
    bool entry = false;   // the entry row the user types a new PLU into: red until it is complete
    int number = 0;       // Sr.No.
    quint64 id = 0;       // distinct for every row the table ever held
};

// The PLU table's rows, as the grid model shows them: the entry flag decides the background, the mark
// is the check column's state and text, and every other cell has its column's editor. A row holds no
// editor records, so a long table costs its texts and a few bytes a row; the rare cell that is given
// an editor of its own (or has its editor taken away) keeps that record beside the rows.
class CPluRows final : public IGridRows
{
public:
    // Row backgrounds, packed 0x00BBGGRR.
    static constexpr quint32 kEntryRowColor = PackRgb(240, 100, 100);
    static constexpr quint32 kCompleteRowColor = PackRgb(255, 255, 255);

    CPluRows() = default;
    CPluRows(const CPluRows&) = delete;
    CPluRows& operator=(const CPluRows&) = delete;
    ~CPluRows() override { Clear(); }

    // The Quantity pricing column of the layout in force, -1 when it has none.
    void SetCheckColumn(int column) { m_checkColumn = column; }
    int CheckColumn() const { return m_checkColumn; }

    const SPluRow& Row(int row) const { return m_rows[std::size_t(row)]; }
    bool IsEntry(int row) const { return Row(row).entry; }
    void SetEntry(int row, bool entry) { m_rows[std::size_t(row)].entry = entry; }
    // Rows made beforehand (Import, the entry row), each given a new id; an empty table takes them as
    // they are, so that a long import is not held twice. The views hear of it from the grid model
    // (CGridModel::InsertStoredRows).
    void Insert(int index, std::vector<SPluRow> rows);

    // IGridRows
    int Count() const override { return int(m_rows.size()); }
    // New rows are entry rows.
    void InsertEmpty(int index, int count) override;
    void Remove(int index) override;
    void Clear() override;
    void Reorder(int first, const std::vector<int>& order) override;
    void InsertColumn(int column) override;
    void RemoveColumn(int column) override;
    quint64 Id(int row) const override { return Row(row).id; }
    int Number(int row) const override { return Row(row).number; }
    void SetNumber(int row, int number) override { m_rows[std::size_t(row)].number = number; }
    QStringView Text(int row, int column) const override;
    // The check column takes "√" as the mark set and any other text as the mark cleared.
    void SetText(int row, int column, const QString& text) override;
    const SEditCtrl* OwnRecord(int row, int column) const override;
    void SetOwnRecord(int row, const SEditCtrl& record) override;
    void DropOwnRecord(int row, int column) override;
    std::optional<SColoredRow> Color(int row) const override;
    bool SetColor(int, const SColoredRow&) override { return false; }

private:
    static void DeleteWindows(std::vector<SEditCtrl>& records);
    const SEditCtrl* OtherRecord(int row, int column) const;
    void DropOtherRecord(int row, int column);

    std::vector<SPluRow> m_rows;
    // Records other than a plain set mark, by row id.
    std::unordered_map<quint64, std::vector<SEditCtrl>> m_otherRecords;
    quint64 m_nextId = 1;
    int m_checkColumn = -1;
};
