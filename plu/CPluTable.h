#pragma once

#include "app/StringTable.h"
#include "grid/GridRecords.h"

#include <QObject>
#include <QString>
#include <QVector>
#include <QtGlobal>

class CGridModel;
class CSettings;
class IPrompt;

// A column of a PLU table layout.
struct SPluColumn
{
    unsigned titleId; // string ID of the title
    int width;        // pixels
    int sortType;     // EColumnSortType
};

// The PLU table: its two layouts (pricing, counting with or without limits), the entry row at the
// end, row numbering and colours, and the flag of changes not yet exported. The rows live in the
// grid model; this class says what they hold.
class CPluTable : public QObject
{
    Q_OBJECT

public:
    static constexpr int kPricing = 0;
    static constexpr int kCounting = 1;
    // Column indexes shared by both layouts.
    static constexpr int kSrNoColumn = 0;
    static constexpr int kPluNoColumn = 1;
    static constexpr int kValueColumn = 2; // unit price or unit weight
    // Row backgrounds, packed 0x00BBGGRR.
    static constexpr quint32 kEntryRowColor = PackRgb(240, 100, 100);
    static constexpr quint32 kCompleteRowColor = PackRgb(255, 255, 255);

    // The table listens to the grid's cellChanged itself: every edit the user makes reaches
    // OnCellCommitted without the owner's help. The grid starts empty; call EnterStoredMode.
    CPluTable(CGridModel& grid, CSettings& settings, IPrompt& prompt, QObject* parent = nullptr);
    ~CPluTable() override;

    CGridModel& Grid() { return m_grid; }
    const CGridModel& Grid() const { return m_grid; }

    int PluMode() const { return m_pluMode; }
    int LimitMode() const { return m_limitMode; }
    int UnexportedChanges() const { return m_unexportedChanges; }
    void SetUnexportedChanges(int value) { m_unexportedChanges = value; }

    // The columns of a layout, in index order.
    static QVector<SPluColumn> Columns(int pluMode, int limitMode);

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
    void SetPluMode(int mode);
    // The Lim command; asks like SetPluMode when askFirst and there are unexported changes.
    // Import switches without asking (it asked once at its start).
    void ToggleLimitMode(bool askFirst = true);

    // A header click: sorts the rows by the column's sort type, keeping the entry rows (the red rows
    // at the end) last, then renumbers Sr.No. 1..n. The rows take their editors, colours and check marks along.
    void SortByColumn(int column, Qt::SortOrder order);

    // Asks whether the rows may go (beep, the question, OK/Cancel) when there are unexported changes;
    // true when the caller may go on. Each command asks what it will do: New (126), a mode change
    // (132), Import (133).
    bool ConfirmDiscard(unsigned questionId = StringId::NotExportedNew);

Q_SIGNALS:
    // The layout changed (EnterStoredMode, SetPluMode, ToggleLimitMode): the Setting menu's checks
    // follow it. Not emitted when a question was cancelled or the mode was already in force.
    void modeChanged(int pluMode, int limitMode);

private:
    // A row still waiting for its PLU No. and value: the one the user types a new PLU into.
    bool IsEntryRow(int row) const;
    // Sets every row's Sr.No. to its position; rows that already hold theirs are left alone.
    void Renumber();
    // The decimal text of a row number, shared by every cell that shows it, so that renumbering a
    // long table allocates nothing.
    const QString& NumberText(int number);

    CGridModel& m_grid;
    CSettings& m_settings;
    IPrompt& m_prompt;
    int m_pluMode = 0;
    int m_limitMode = 0;
    int m_unexportedChanges = 0;
    QVector<QString> m_numberTexts; // [i] holds the text of i + 1
};
