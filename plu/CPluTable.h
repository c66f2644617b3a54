#pragma once

#include "app/StringTable.h"
#include "grid/CGridModel.h"
#include "grid/GridRecords.h"
#include "plu/CPluRows.h"
#include "plu/PluLayout.h"

#include <QObject>
#include <QString>
#include <QVector>
#include <QtGlobal>

#include <vector>

class CSettings;
class IPrompt;

// The PLU table: its two layouts (pricing, counting with or without limits), its rows with the entry
// row at the end, row numbering, and the flag of changes not yet exported. The table holds its rows
// (CPluRows) and hands them to the grid model, which shows them: the layout's editors are column
// records shared by every row, the entry flag gives a row its colour.
class CPluTable : public QObject
{
    Q_OBJECT

public:
    // Column indexes shared by both layouts.
    static constexpr int kSrNoColumn = PluLayout::kSrNoColumn;
    static constexpr int kPluNoColumn = PluLayout::kPluNoColumn;
    static constexpr int kValueColumn = PluLayout::kValueColumn; // unit price or unit weight
    // Row backgrounds, packed 0x00BBGGRR.
    static constexpr quint32 kEntryRowColor = CPluRows::kEntryRowColor;
    static constexpr quint32 kCompleteRowColor = CPluRows::kCompleteRowColor;

    // The table listens to the grid's cellChanged itself: every edit the user makes reaches
    // OnCellCommitted without the owner's help. The grid shows the table's rows from now until the
    // table is destroyed; it starts empty; call EnterStoredMode.
    CPluTable(CGridModel& grid, CSettings& settings, IPrompt& prompt, QObject* parent = nullptr);
    ~CPluTable() override;

    CGridModel& Grid() { return m_grid; }
    const CGridModel& Grid() const { return m_grid; }

    EPluMode PluMode() const { return m_pluMode; }
    ELimitMode LimitMode() const { return m_limitMode; }
    int UnexportedChanges() const { return m_unexportedChanges; }
    void SetUnexportedChanges(int value) { m_unexportedChanges = value; }

    // The columns of a layout, in index order.
    static const std::vector<SPluField>& Columns(EPluMode mode, ELimitMode limits);
    const std::vector<SPluField>& Columns() const { return Columns(m_pluMode, m_limitMode); }

    // The rows, entry row included, and their texts by column (Sr.No. as the row's number).
    int RowCount() const { return m_rows.Count(); }
    QVector<QString> RowTexts(int row) const;
    QString CellText(int row, int column) const;
    // The text the cell holds, without a copy: valid until the row changes. Sr.No. holds none (CellText
    // gives its number).
    QStringView StoredText(int row, int column) const;
    // A row still waiting for its PLU No. and value: the one the user types a new PLU into.
    bool IsEntryRow(int row) const { return row >= 0 && row < RowCount() && m_rows.IsEntry(row); }
    QString ColumnTitle(int column) const { return m_grid.ColumnTitle(column); }

    // Replaces every row with rows laid out for the layout in force (Import), in one insertion, and
    // appends the entry row. Sr.No. follows the rows' positions; every data cell gets the layout's
    // editor.
    void ReplaceRows(std::vector<SPluRow> rows);
    // The empty entry row at the end, when there is one, is removed (a table written to a file
    // by the command line does not carry it).
    void RemoveEntryRow();

    // Start-up: enters the stored layout (PLUMODE, LIMMODE), clears UnexportedChanges and emits
    // modeChanged so that the Setting menu shows the stored layout.
    void EnterStoredMode();

    // Empties the grid and builds the columns of the layout in force, with one entry row. The rows
    // that held unexported changes are gone, so the flag is cleared.
    void RebuildTable();
    // Appends an empty, red, numbered entry row whose data cells are editable (the Add command).
    void AppendNewRow();
    // A row with a PLU No. and a unit price or weight turns white and counts as an unexported change;
    // completing the last row appends a new entry row.
    void OnCellCommitted(int row);
    // Deletes the grid's marked row ("Unselected" when there is none) and renumbers the rows.
    void DeleteMarkedRow();
    // The New command: asks first when there are unexported changes.
    void NewTable();
    // The Pricing/Counting commands. With unexported changes they ask first; Cancel keeps everything.
    void SetPluMode(EPluMode mode);
    // The Lim command; asks like SetPluMode when askFirst and there are unexported changes.
    // Import switches without asking (it asked once at its start).
    void ToggleLimitMode(bool askFirst = true);

    // A header click: sorts the rows by the column's sort type, keeping the entry rows at the end
    // last, then renumbers Sr.No. 1..n. The rows take their editors, entry flags and marks along.
    void SortByColumn(int column, Qt::SortOrder order);

    // Asks whether the rows may go (beep, the question, OK/Cancel) when there are unexported changes;
    // true when the caller may go on. Each command asks what it will do: New (126), a mode change
    // (132), Import (133).
    bool ConfirmDiscard(unsigned questionId = StringId::NotExportedNew);

Q_SIGNALS:
    // The layout changed (EnterStoredMode, SetPluMode, ToggleLimitMode): the Setting menu's checks
    // follow it. Not emitted when a question was cancelled or the mode was already in force.
    void modeChanged(EPluMode pluMode, ELimitMode limitMode);

private:
    CPluRows m_rows;
    CGridModel& m_grid;
    CSettings& m_settings;
    IPrompt& m_prompt;
    EPluMode m_pluMode = EPluMode::Pricing;
    ELimitMode m_limitMode = ELimitMode::Off;
    int m_unexportedChanges = 0;
};
