#pragma once

#include <QObject>
#include <QString>
#include <QVector>

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

    CPluTable(CGridModel& grid, CSettings& settings, IPrompt& prompt, QObject* parent = nullptr);

    CGridModel& Grid() { return m_grid; }
    const CGridModel& Grid() const { return m_grid; }

    int PluMode() const { return m_pluMode; }
    int LimitMode() const { return m_limitMode; }
    int UnexportedChanges() const { return m_unexportedChanges; }
    void SetUnexportedChanges(int value) { m_unexportedChanges = value; }

    // The columns of a layout, in index order.
    static QVector<SPluColumn> Columns(int pluMode, int limitMode);

    // Start-up: enters the stored layout (PLUMODE, LIMMODE) and clears UnexportedChanges.
    void EnterStoredMode();

    void RebuildTable();
    void AppendNewRow();
    void OnCellCommitted(int row);
    void DeleteMarkedRow();
    void NewTable();
    // The Pricing/Counting commands. With unexported changes they ask first; Cancel keeps everything.
    void SetPluMode(int mode);
    // The Lim command; asks like SetPluMode when askFirst and there are unexported changes.
    // Import switches without asking (it asked once at its start).
    void ToggleLimitMode(bool askFirst = true);

    // Asks the question of New (beep, string 126, OK/Cancel) when there are unexported changes;
    // true when the caller may go on.
    bool ConfirmDiscard();

Q_SIGNALS:
    // The layout changed: the Setting menu's checks follow it.
    void modeChanged(int pluMode, int limitMode);

private:
    CGridModel& m_grid;
    CSettings& m_settings;
    IPrompt& m_prompt;
    int m_pluMode = 0;
    int m_limitMode = 0;
    int m_unexportedChanges = 0;
};
