#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

class QObject;

// What a click on a cell opens (the cell's editor kind).
enum ECellEditType
{
    CET_NONE = -1,       // a cell's own record: no editor, although its column has a record
    CET_EDIT = 0,        // single-line editor
    CET_MULTILINE = 1,   // multi-line editor
    CET_COMBO = 2,       // editable drop-down
    CET_DROPLIST = 3,    // list-only drop-down, opened at once
    CET_MULTICOLUMN = 4, // multi-column list-only drop-down
    CET_WINDOW = 5,      // a window of the owner's stands over the cell
    CET_DATE = 6,        // month calendar
    CET_RICHEDIT = 7,    // rich-text editor
    CET_CHECK = 8,       // a click toggles the check mark
};

// How a column compares its texts when the rows are sorted by it.
enum EColumnSortType
{
    CST_TEXT = 0,
    CST_INTEGER = 1,
    CST_REAL = 2,
    CST_DATE = 3,
    CST_TEXT_REVERSED = 4,
};

// The editor record of one cell; a cell without one is not editable.
struct SEditCtrl
{
    // Whether two records make a cell behave the same (where they stand aside).
    bool SameAs(const SEditCtrl& other) const
    {
        return nSpanTo == other.nSpanTo && strList == other.strList && nCheck == other.nCheck &&
               nLocked == other.nLocked && nType == other.nType && pWnd == other.pWnd;
    }

    int nRow = 0;
    int nCol = 0;
    int nSpanTo = 0; // last column the editor covers; 0 for the cell alone
    QString strList; // combo items separated by "$"
    int nCheck = 0;  // check cells: 1 checked
    int nLocked = 0; // check cells: 1 ignores clicks
    int nType = CET_EDIT;
    QObject* pWnd = nullptr; // CET_WINDOW only; owned by the grid
};

// Colours are packed 0x00BBGGRR.
struct SColoredRow
{
    int nRow = 0;
    quint32 crText = 0;
    quint32 crBk = 0xFFFFFF;
};

struct SColumnTypes
{
    int nType = CST_TEXT;
    int nColumn = 0;
};

constexpr quint32 PackRgb(int red, int green, int blue)
{
    return quint32(red & 0xFF) | (quint32(green & 0xFF) << 8) | (quint32(blue & 0xFF) << 16);
}
constexpr int RedOf(quint32 color)
{
    return int(color & 0xFF);
}
constexpr int GreenOf(quint32 color)
{
    return int((color >> 8) & 0xFF);
}
constexpr int BlueOf(quint32 color)
{
    return int((color >> 16) & 0xFF);
}

// Texts of a check cell; the view compares without making a string.
inline QStringView CheckedMark()
{
    return u"\u221A";
} // "√"
inline QString CheckedText()
{
    return CheckedMark().toString();
}
inline QString UncheckedText()
{
    return QString(QChar(0x00D7));
} // "×"
