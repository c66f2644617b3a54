#pragma once

#include "grid/CRowTexts.h"
#include "grid/GridRecords.h"
#include "grid/IGridRows.h"

#include <optional>
#include <vector>

// One row of the grid with everything that belongs to it, so that texts, editors, colours and
// check states move with their row on insertion, deletion and sorting.
struct SGridRow
{
    CRowTexts cells;                  // by column; missing cells read as empty text
    std::vector<SEditCtrl> records;   // at most one per column, only where the cell differs from its
                                      // column's record; nRow is filled in when read
    std::optional<SColoredRow> color; // nRow is filled in when read
    int number = 0;                   // shown in the row number column; 0 shows nothing
    quint64 id = 0;                   // distinct for every row the store ever held
};

// The grid's own rows: any texts, any records, any colours. A grid whose owner gives it no rows of
// its own keeps its rows here.
class CGridRows final : public IGridRows
{
public:
    CGridRows() = default;
    CGridRows(const CGridRows&) = delete;
    CGridRows& operator=(const CGridRows&) = delete;
    ~CGridRows() override;

    // Rows made beforehand, each given a new id; an empty store takes them as they are, so that a
    // long table is not held twice.
    void Insert(int index, std::vector<SGridRow> rows);

    int Count() const override { return int(m_rows.size()); }
    void InsertEmpty(int index, int count) override;
    void Remove(int index) override;
    void Clear() override;
    void Reorder(int first, const std::vector<int>& order) override;
    void InsertColumn(int column) override;
    void RemoveColumn(int column) override;

    quint64 Id(int row) const override { return m_rows[std::size_t(row)].id; }
    int Number(int row) const override { return m_rows[std::size_t(row)].number; }
    void SetNumber(int row, int number) override { m_rows[std::size_t(row)].number = number; }
    QStringView Text(int row, int column) const override { return m_rows[std::size_t(row)].cells.View(column); }
    void SetText(int row, int column, const QString& text) override
    {
        m_rows[std::size_t(row)].cells.Set(column, text);
    }

    const SEditCtrl* OwnRecord(int row, int column) const override;
    void SetOwnRecord(int row, const SEditCtrl& record) override;
    void DropOwnRecord(int row, int column) override;

    std::optional<SColoredRow> Color(int row) const override { return m_rows[std::size_t(row)].color; }
    bool SetColor(int row, const SColoredRow& color) override;

private:
    static void DeleteWindows(SGridRow& row);

    std::vector<SGridRow> m_rows;
    quint64 m_nextId = 1;
};
