#include "plu/CPluRows.h"

#include "grid/RowReorder.h"

#include <QObject>
#include <QString>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

const QString& CheckMarkText(bool checked)
{
    static const QString kChecked = CheckedText();
    static const QString kUnchecked = UncheckedText();
    return checked ? kChecked : kUnchecked;
}

// The record of a set mark, beside the check column's own (the mark cleared).
const SEditCtrl& SetMarkRecord()
{
    static const SEditCtrl record = [] {
        SEditCtrl mark;
        mark.nType = CET_CHECK;
        mark.nCheck = 1;
        return mark;
    }();
    return record;
}

} // namespace

void CPluRows::Insert(int index, std::vector<SPluRow> rows)
{
    for (SPluRow& row : rows) {
        row.id = m_nextId++;
        // The mark is the row's flag; a text there would only repeat it.
        if (m_checkColumn >= 0 && !row.cells.View(m_checkColumn).isEmpty())
            row.cells.Set(m_checkColumn, QString());
    }
    if (m_rows.empty())
        m_rows = std::move(rows);
    else
        m_rows.insert(m_rows.begin() + index, std::make_move_iterator(rows.begin()),
                      std::make_move_iterator(rows.end()));
}

void CPluRows::InsertEmpty(int index, int count)
{
    std::vector<SPluRow> rows(static_cast<std::size_t>(count));
    for (SPluRow& row : rows)
        row.entry = true;
    Insert(index, std::move(rows));
}

void CPluRows::Remove(int index)
{
    const auto found = m_otherRecords.find(Id(index));
    if (found != m_otherRecords.end()) {
        DeleteWindows(found->second);
        m_otherRecords.erase(found);
    }
    m_rows.erase(m_rows.begin() + index);
}

void CPluRows::Clear()
{
    for (auto& entry : m_otherRecords)
        DeleteWindows(entry.second);
    m_otherRecords.clear();
    m_rows.clear();
    m_rows.shrink_to_fit();
}

void CPluRows::Reorder(int first, const std::vector<int>& order)
{
    ReorderRows(m_rows, first, order);
}

void CPluRows::InsertColumn(int column)
{
    for (SPluRow& row : m_rows)
        row.cells.InsertCell(column);
    for (auto& entry : m_otherRecords) {
        for (SEditCtrl& record : entry.second) {
            if (record.nCol >= column)
                ++record.nCol;
        }
    }
    if (m_checkColumn >= column)
        ++m_checkColumn;
}

void CPluRows::RemoveColumn(int column)
{
    for (SPluRow& row : m_rows) {
        row.cells.RemoveCell(column);
        if (column == m_checkColumn)
            row.checked = false;
    }
    for (auto it = m_otherRecords.begin(); it != m_otherRecords.end();) {
        auto& records = it->second;
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
        it = records.empty() ? m_otherRecords.erase(it) : std::next(it);
    }
    if (column == m_checkColumn)
        m_checkColumn = -1;
    else if (m_checkColumn > column)
        --m_checkColumn;
}

QStringView CPluRows::Text(int row, int column) const
{
    if (column == m_checkColumn)
        return CheckMarkText(Row(row).checked);
    return Row(row).cells.View(column);
}

void CPluRows::SetText(int row, int column, const QString& text)
{
    SPluRow& stored = m_rows[std::size_t(row)];
    if (column == m_checkColumn)
        stored.checked = text == CheckMarkText(true);
    else
        stored.cells.Set(column, text);
}

const SEditCtrl* CPluRows::OwnRecord(int row, int column) const
{
    if (const SEditCtrl* other = OtherRecord(row, column))
        return other;
    return column == m_checkColumn && Row(row).checked ? &SetMarkRecord() : nullptr;
}

void CPluRows::SetOwnRecord(int row, const SEditCtrl& record)
{
    DropOwnRecord(row, record.nCol);
    SPluRow& stored = m_rows[std::size_t(row)];
    if (record.nCol == m_checkColumn) {
        stored.checked = record.nType == CET_CHECK && record.nCheck == 1;
        if (stored.checked && SetMarkRecord().SameAs(record))
            return;
    }
    // Anything else, a locked mark among them, is a record of the cell's own.
    m_otherRecords[stored.id].push_back(record);
}

void CPluRows::DropOwnRecord(int row, int column)
{
    DropOtherRecord(row, column);
    if (column == m_checkColumn)
        m_rows[std::size_t(row)].checked = false;
}

std::optional<SColoredRow> CPluRows::Color(int row) const
{
    return SColoredRow{row, 0, Row(row).entry ? kEntryRowColor : kCompleteRowColor};
}

const SEditCtrl* CPluRows::OtherRecord(int row, int column) const
{
    if (m_otherRecords.empty())
        return nullptr;
    const auto found = m_otherRecords.find(Id(row));
    if (found == m_otherRecords.end())
        return nullptr;
    for (const SEditCtrl& record : found->second) {
        if (record.nCol == column)
            return &record;
    }
    return nullptr;
}

void CPluRows::DropOtherRecord(int row, int column)
{
    if (m_otherRecords.empty())
        return;
    const auto found = m_otherRecords.find(Id(row));
    if (found == m_otherRecords.end())
        return;
    auto& records = found->second;
    for (auto it = records.begin(); it != records.end(); ++it) {
        if (it->nCol == column) {
            delete it->pWnd;
            records.erase(it);
            break;
        }
    }
    if (records.empty())
        m_otherRecords.erase(found);
}

void CPluRows::DeleteWindows(std::vector<SEditCtrl>& records)
{
    for (SEditCtrl& record : records) {
        delete record.pWnd;
        record.pWnd = nullptr;
    }
}
