#pragma once

#include <QStringList>

#include <optional>

// What a cell's mark says: the cell holds something that will not be used as typed.
enum class ECellMark
{
    Warning = 0,  // used, but not exactly as typed
    Repeated = 1, // repeats what an earlier row holds
    Rejected = 2  // cannot be used at all
};

struct SCellMark
{
    ECellMark kind = ECellMark::Warning;
    QStringList lines; // the reasons, one a line
};

// A source of cell marks that the grid model shows (a tint and a tooltip) without knowing their meaning.
class ICellMarks
{
public:
    virtual ~ICellMarks() = default;
    virtual std::optional<SCellMark> Mark(int row, int column) const = 0;
};
