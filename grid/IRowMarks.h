#pragma once

#include <QString>

#include <optional>

// What a row's mark says about the row as a whole: how an operation on it went.
enum class ERowMark
{
    Done = 0,       // went through
    Failed = 1,     // was turned down
    Unanswered = 2, // went out, but nothing came back
    Pending = 3     // has not been done
};

struct SRowMark
{
    ERowMark kind = ERowMark::Pending;
    QString text; // for the row's tooltip
};

// A source of row marks that the grid model shows in the row number column (a small sign and a tooltip line),
// beside the cell marks, without knowing their meaning.
class IRowMarks
{
public:
    virtual ~IRowMarks() = default;
    virtual std::optional<SRowMark> RowMark(int row) const = 0;
};
