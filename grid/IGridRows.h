#pragma once

#include "grid/GridRecords.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>
#include <vector>

// The rows a CGridModel shows and edits: each row's cell texts, number and id, and the editor records
// and colour where a row differs from its columns. The model keeps the columns, decides what a cell
// shows and tells the views of every change; a store only holds. CGridRows holds anything the grid can
// describe; an owner with rows of its own (the PLU table) gives the model a store that holds just what
// its rows need, and may decide its rows' colours itself.
class IGridRows
{
public:
    virtual ~IGridRows() = default;

    virtual int Count() const = 0;
    // Empty rows, each with an id no row of this store had before.
    virtual void InsertEmpty(int index, int count) = 0;
    virtual void Remove(int index) = 0;
    virtual void Clear() = 0;
    // Rows first, first + 1, ... take the rows that stood at first + order[0], first + order[1], ...
    virtual void Reorder(int first, const std::vector<int>& order) = 0;
    // Every row gains an empty cell before the column, or loses the column's cell and records.
    virtual void InsertColumn(int column) = 0;
    virtual void RemoveColumn(int column) = 0;

    virtual quint64 Id(int row) const = 0;
    // The row's number for a numbering column; 0 shows nothing.
    virtual int Number(int row) const = 0;
    virtual void SetNumber(int row, int number) = 0;
    virtual QStringView Text(int row, int column) const = 0;
    virtual void SetText(int row, int column, const QString& text) = 0;

    // The cell's own record (its nRow and nCol need not be filled in), nullptr when the cell has its
    // column's. A record of type CET_NONE takes the column's record away.
    virtual const SEditCtrl* OwnRecord(int row, int column) const = 0;
    // Replaces the cell's own record (nCol says which); the store owns the record's window.
    virtual void SetOwnRecord(int row, const SEditCtrl& record) = 0;
    // The cell has its column's record again.
    virtual void DropOwnRecord(int row, int column) = 0;

    virtual std::optional<SColoredRow> Color(int row) const = 0;
    // False when this store decides its rows' colours itself.
    virtual bool SetColor(int row, const SColoredRow& color) = 0;
};
