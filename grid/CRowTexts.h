#pragma once

#include <QString>
#include <QStringView>
#include <QVector>

#include <initializer_list>
#include <vector>

// The texts of one row's cells kept in a single string, so that a long table costs one allocation a
// row instead of one a cell. The string starts with the cell count and each cell's end (two code units
// each), then holds the texts one after the other. A row without texts allocates nothing.
class CRowTexts
{
public:
    CRowTexts() = default;
    CRowTexts(std::initializer_list<QString> texts);
    CRowTexts(const QVector<QString>& texts); // NOLINT: a row is its texts

    CRowTexts& operator=(const QVector<QString>& texts);
    CRowTexts& operator=(std::initializer_list<QString> texts);
    // The texts are copied: they need to live only for the call.
    CRowTexts& operator=(const std::vector<QStringView>& texts);

    // The cells held; those beyond read as empty.
    int size() const;
    bool isEmpty() const { return size() == 0; }
    QStringView View(int column) const;
    QString operator[](int column) const { return View(column).toString(); }

    // Sets one cell, holding more cells when it lies beyond the last; an empty text beyond the last
    // cell changes nothing.
    void Set(int column, const QString& text);
    // A new empty cell before column (for a column inserted into the grid), and the removal of one.
    void InsertCell(int column);
    void RemoveCell(int column);

    QVector<QString> ToVector(int count) const;

private:
    static constexpr int kHeaderUnitsPerCell = 2;

    int End(int column) const;
    int Start(int column) const { return column == 0 ? 0 : End(column - 1); }
    const QChar* TextBegin() const { return m_data.constData() + 1 + size() * kHeaderUnitsPerCell; }
    void Assign(const QVector<QString>& texts);
    template <typename Texts>
    void AssignTexts(const Texts& texts);

    QString m_data;
};
