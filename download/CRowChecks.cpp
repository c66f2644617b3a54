#include "download/CRowChecks.h"

#include "app/ForEachChunk.h"
#include "app/Language.h"
#include "app/StringTable.h"
#include "download/TextCodePage.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"

#include <algorithm>
#include <unordered_map>

namespace {

// The encoding selector's "default" entry, which the window starts with.
constexpr int kDefaultEncoding = 0;

// The PLU No. under which a row is sent, -1 when it is not sent.
int SentPlu(const CRowChecks::SRowCheck& check)
{
    const bool sent =
        check.outcome == EPluRecordOutcome::Sendable && check.pluNumber >= 0 && check.pluNumber <= kHighestPluNumber;
    return sent ? int(check.pluNumber) : -1;
}

} // namespace

CRowChecks::CRowChecks(CGridModel& grid, const CPluTable& table, ERecords records, QObject* parent)
    : QObject(parent)
    , m_grid(grid)
    , m_table(table)
    , m_records(records)
    , m_rowsOfPlu(std::size_t(kHighestPluNumber) + 1)
{
    const int language = Language::LanguageInForce();
    m_textCodePage = TextCodePageForEncoding(kDefaultEncoding, language);
    m_goodsIdCodePage = Language::AnsiCodePage(language);
    Start();
}

CRowChecks::CRowChecks(CGridModel& grid, const CPluTable& table, ERecords records, int textCodePage,
                       int goodsIdCodePage)
    : m_grid(grid)
    , m_table(table)
    , m_textCodePage(textCodePage)
    , m_goodsIdCodePage(goodsIdCodePage)
    , m_records(records)
    , m_rowsOfPlu(std::size_t(kHighestPluNumber) + 1)
{
    Start();
}

void CRowChecks::Start()
{
    connect(&m_grid, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { OnRowsInserted(first, last); });
    connect(&m_grid, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { OnRowsRemoved(first, last); });
    connect(&m_grid, &QAbstractItemModel::layoutChanged, this, [this] { OnRowsMoved(); });
    connect(&m_grid, &QAbstractItemModel::modelReset, this, [this] { CheckAll(); });
    connect(&m_grid, &QAbstractItemModel::columnsInserted, this, [this] { CheckAll(); });
    connect(&m_grid, &QAbstractItemModel::columnsRemoved, this, [this] { CheckAll(); });
    connect(&m_grid, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
                const bool texts = roles.isEmpty() || roles.contains(Qt::DisplayRole) || roles.contains(Qt::EditRole);
                // Sr.No. never reaches the scale; renumbering a long table must stay quick.
                const bool onlySrNo = bottomRight.column() == CPluTable::kSrNoColumn;
                if (texts && !onlySrNo)
                    CheckRows(topLeft.row(), bottomRight.row());
            });
    connect(&m_table, &CPluTable::modeChanged, this, [this] { CheckAll(); });
    m_grid.SetCellMarks(this);
    CheckAll();
}

CRowChecks::~CRowChecks()
{
    m_grid.SetCellMarks(nullptr);
}

void CRowChecks::SetCodePages(int textCodePage, int goodsIdCodePage)
{
    if (textCodePage == m_textCodePage && goodsIdCodePage == m_goodsIdCodePage)
        return;
    m_textCodePage = textCodePage;
    m_goodsIdCodePage = goodsIdCodePage;
    CheckAll();
}

const CRowChecks::SRowCheck& CRowChecks::Check(int row) const
{
    Q_ASSERT(row >= 0 && row < RowCount());
    return m_checks[std::size_t(row)];
}

CRowChecks::SRowCheck CRowChecks::CheckRow(int row) const
{
    SPluRecord record = BuildPluRecord(m_grid.RowTexts(row), m_table.PluMode(), m_table.LimitMode(),
                                       unsigned(m_textCodePage), m_goodsIdCodePage);
    SRowCheck check;
    check.rowId = m_grid.RowId(row);
    check.outcome = record.outcome;
    check.reason = std::move(record.reason);
    check.rejectedColumn = record.column;
    check.warnings = std::move(record.warnings);
    check.warningColumns = std::move(record.warningColumns);
    check.pluNumber = record.pluNumber;
    if (m_records == ERecords::Keep)
        check.bytes = std::move(record.bytes);
    return check;
}

void CRowChecks::CheckAll()
{
    m_checks.clear();
    m_checks.resize(std::size_t(m_grid.RowCount()));
    // Each row's check reads only its row and the layout: a long table is checked on several threads.
    ForEachChunk(m_grid.RowCount(), [this](int first, int end) {
        for (int row = first; row < end; ++row)
            m_checks[std::size_t(row)] = CheckRow(row);
    });
    UpdateRepeats(0, RowCount() - 1);
}

void CRowChecks::CheckRows(int firstRow, int lastRow)
{
    if (RowCount() != m_grid.RowCount()) {
        CheckAll();
        return;
    }
    std::vector<int> oldPlus;
    oldPlus.reserve(std::size_t(lastRow - firstRow + 1));
    for (int row = firstRow; row <= lastRow; ++row) {
        SRowCheck& check = m_checks[std::size_t(row)];
        oldPlus.push_back(SentPlu(check));
        const int repeatsRow = check.repeatsRow;
        check = CheckRow(row);
        check.repeatsRow = repeatsRow;
    }
    UpdateRepeatsOf(firstRow, lastRow, oldPlus);
}

void CRowChecks::OnRowsInserted(int firstRow, int lastRow)
{
    if (firstRow > RowCount() || RowCount() + (lastRow - firstRow + 1) != m_grid.RowCount()) {
        CheckAll();
        return;
    }
    std::vector<SRowCheck> inserted;
    inserted.reserve(std::size_t(lastRow - firstRow + 1));
    for (int row = firstRow; row <= lastRow; ++row)
        inserted.push_back(CheckRow(row));
    const bool appended = firstRow == RowCount();
    m_checks.insert(m_checks.begin() + firstRow, std::make_move_iterator(inserted.begin()),
                    std::make_move_iterator(inserted.end()));
    // Rows added at the end (an import, a new entry row) move no other row.
    if (appended)
        UpdateRepeatsOf(firstRow, lastRow, std::vector<int>(std::size_t(lastRow - firstRow + 1), -1));
    else
        UpdateRepeats(firstRow, lastRow);
}

void CRowChecks::OnRowsRemoved(int firstRow, int lastRow)
{
    if (lastRow >= RowCount() || RowCount() - (lastRow - firstRow + 1) != m_grid.RowCount()) {
        CheckAll();
        return;
    }
    m_checks.erase(m_checks.begin() + firstRow, m_checks.begin() + lastRow + 1);
    UpdateRepeats(RowCount(), RowCount() - 1);
}

void CRowChecks::OnRowsMoved()
{
    // Sorting keeps every row's cells: the checks follow their rows, only the repeats change.
    std::unordered_map<quint64, std::size_t> byId;
    byId.reserve(m_checks.size());
    for (std::size_t i = 0; i < m_checks.size(); ++i)
        byId.emplace(m_checks[i].rowId, i);
    std::vector<SRowCheck> moved;
    moved.reserve(std::size_t(m_grid.RowCount()));
    for (int row = 0; row < m_grid.RowCount(); ++row) {
        const auto found = byId.find(m_grid.RowId(row));
        moved.push_back(found != byId.end() ? std::move(m_checks[found->second]) : CheckRow(row));
    }
    m_checks = std::move(moved);
    // The repeats' notes name rows by position: every row may need repainting.
    UpdateRepeats(0, RowCount() - 1);
}

void CRowChecks::UpdateRepeats(int firstChanged, int lastChanged)
{
    for (std::vector<int>& rows : m_rowsOfPlu)
        rows.clear();
    for (int row = 0; row < RowCount(); ++row) {
        const int plu = SentPlu(m_checks[std::size_t(row)]);
        if (plu >= 0)
            m_rowsOfPlu[std::size_t(plu)].push_back(row);
    }
    for (int row = 0; row < RowCount(); ++row)
        SetRepeat(row, SentPlu(m_checks[std::size_t(row)]), &firstChanged, &lastChanged);
    m_grid.NotifyMarksChanged(firstChanged, lastChanged);
}

void CRowChecks::UpdateRepeatsOf(int firstRow, int lastRow, const std::vector<int>& oldPlus)
{
    std::vector<bool> touched(m_rowsOfPlu.size(), false);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int oldPlu = oldPlus[std::size_t(row - firstRow)];
        const int plu = SentPlu(m_checks[std::size_t(row)]);
        if (plu == oldPlu)
            continue;
        if (oldPlu >= 0) {
            std::vector<int>& rows = m_rowsOfPlu[std::size_t(oldPlu)];
            rows.erase(std::lower_bound(rows.begin(), rows.end(), row));
            touched[std::size_t(oldPlu)] = true;
        }
        if (plu >= 0) {
            std::vector<int>& rows = m_rowsOfPlu[std::size_t(plu)];
            rows.insert(std::lower_bound(rows.begin(), rows.end(), row), row);
            touched[std::size_t(plu)] = true;
        }
    }
    int first = firstRow;
    int last = lastRow;
    for (int row = firstRow; row <= lastRow; ++row)
        SetRepeat(row, SentPlu(m_checks[std::size_t(row)]), &first, &last);
    for (std::size_t plu = 0; plu < touched.size(); ++plu) {
        if (!touched[plu])
            continue;
        for (const int row : m_rowsOfPlu[plu])
            SetRepeat(row, int(plu), &first, &last);
    }
    m_grid.NotifyMarksChanged(first, last);
}

void CRowChecks::SetRepeat(int row, int plu, int* first, int* last)
{
    const int repeats =
        plu >= 0 && m_rowsOfPlu[std::size_t(plu)].front() != row ? m_rowsOfPlu[std::size_t(plu)].front() : -1;
    SRowCheck& check = m_checks[std::size_t(row)];
    if (repeats == check.repeatsRow)
        return;
    check.repeatsRow = repeats;
    *first = std::min(*first, row);
    *last = std::max(*last, row);
}

QString CRowChecks::RepeatNote(const SRowCheck& check) const
{
    return MessageString(StringId::PluRepeated)
        .arg(MessageString(StringId::PluNo))
        .arg(check.pluNumber)
        .arg(check.repeatsRow + 1);
}

QStringList CRowChecks::Notes(int row) const
{
    const SRowCheck& check = Check(row);
    QStringList notes;
    if (!check.reason.isEmpty())
        notes.append(check.reason);
    notes += check.warnings;
    if (check.repeatsRow >= 0)
        notes.append(RepeatNote(check));
    return notes;
}

CRowChecks::SSummary CRowChecks::Summary() const
{
    SSummary summary;
    for (const SRowCheck& check : m_checks) {
        switch (check.outcome) {
        case EPluRecordOutcome::Skipped: ++summary.skipped; break;
        case EPluRecordOutcome::Rejected: ++summary.rejected; break;
        case EPluRecordOutcome::Sendable: ++summary.sendable; break;
        }
        if (!check.warnings.isEmpty())
            ++summary.withWarnings;
        if (check.repeatsRow >= 0)
            ++summary.repeated;
    }
    return summary;
}

std::optional<SCellMark> CRowChecks::Mark(int row, int column) const
{
    // While the grid tells of a change, the view may ask before the checks have followed it.
    if (row < 0 || row >= RowCount() || row >= m_grid.RowCount())
        return std::nullopt;
    if (m_checks[std::size_t(row)].rowId != m_grid.RowId(row))
        return std::nullopt;
    const SRowCheck& check = m_checks[std::size_t(row)];
    if (check.outcome == EPluRecordOutcome::Rejected && column == check.rejectedColumn)
        return SCellMark{ECellMark::Rejected, {check.reason}};
    if (check.repeatsRow >= 0 && column == CPluTable::kPluNoColumn)
        return SCellMark{ECellMark::Repeated, {RepeatNote(check)}};
    SCellMark mark;
    for (int i = 0; i < check.warningColumns.size(); ++i) {
        if (check.warningColumns[i] == column)
            mark.lines.append(check.warnings[i]);
    }
    if (mark.lines.isEmpty())
        return std::nullopt;
    return mark;
}
