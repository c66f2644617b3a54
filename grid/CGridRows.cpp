#include "grid/CGridRows.h"

#include "grid/RowReorder.h"

#include <QObject>

#include <algorithm>
#include <iterator>
#include <utility>

CGridRows::~CGridRows()
{
    for (SGridRow& row : m_rows)
        DeleteWindows(row);
}

void CGridRows::Insert(int index, std::vector<SGridRow> rows)
{
    for (SGridRow& row : rows)
        row.id = m_nextId++;
    if (m_rows.empty())
        m_rows = std::move(rows);
    else
        m_rows.insert(m_rows.begin() + index, std::make_move_iterator(rows.begin()),
                      std::make_move_iterator(rows.end()));
}

void CGridRows::InsertEmpty(int index, int count)
{
    Insert(index, std::vector<SGridRow>(static_cast<std::size_t>(count)));
}

void CGridRows::Remove(int index)
{
    DeleteWindows(m_rows[std::size_t(index)]);
    m_rows.erase(m_rows.begin() + index);
}

void CGridRows::Clear()
{
    for (SGridRow& row : m_rows)
        DeleteWindows(row);
    m_rows.clear();
    m_rows.shrink_to_fit();
}

void CGridRows::Reorder(int first, const std::vector<int>& order)
{
    ReorderRows(m_rows, first, order);
}

void CGridRows::InsertColumn(int column)
{
    for (SGridRow& row : m_rows) {
        row.cells.InsertCell(column);
        for (SEditCtrl& record : row.records) {
            if (record.nCol >= column)
                ++record.nCol;
        }
    }
}

void CGridRows::RemoveColumn(int column)
{
    for (SGridRow& row : m_rows) {
        row.cells.RemoveCell(column);
        // The records of a deleted column go with it; those to its right move left.
        auto& records = row.records;
        for (SEditCtrl& record : records) {
            if (record.nCol == column) {
                delete record.pWnd;
                record.pWnd = nullptr;
            }
        }
        records.erase(std::remove_if(records.begin(), records.end(),
                                     [column](const SEditCtrl& record) { return record.nCol == column; }),
                      records.end());
        for (SEditCtrl& record : records) {
            if (record.nCol > column)
                --record.nCol;
        }
    }
}

const SEditCtrl* CGridRows::OwnRecord(int row, int column) const
{
    for (const SEditCtrl& record : m_rows[std::size_t(row)].records) {
        if (record.nCol == column)
            return &record;
    }
    return nullptr;
}

void CGridRows::SetOwnRecord(int row, const SEditCtrl& record)
{
    DropOwnRecord(row, record.nCol);
    m_rows[std::size_t(row)].records.push_back(record);
}

void CGridRows::DropOwnRecord(int row, int column)
{
    auto& records = m_rows[std::size_t(row)].records;
    for (auto it = records.begin(); it != records.end(); ++it) {
        if (it->nCol == column) {
            delete it->pWnd;
            records.erase(it);
            return;
        }
    }
}

bool CGridRows::SetColor(int row, const SColoredRow& color)
{
    m_rows[std::size_t(row)].color = color;
    return true;
}

void CGridRows::DeleteWindows(SGridRow& row)
{
    for (SEditCtrl& record : row.records) {
        delete record.pWnd;
        record.pWnd = nullptr;
    }
}
