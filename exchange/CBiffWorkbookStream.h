#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>

#include <vector>

// The "Workbook" stream of an .xls file (BIFF8) with one sheet of text cells: the workbook globals
// (code page UTF-16, window, fonts, the 16 style formats and one cell format, the Normal style, the
// sheet's entry and a shared string table) followed by the sheet (dimensions, one LABELSST record per
// cell, window). Every distinct text is stored once in the shared string table.
class CBiffWorkbookStream
{
public:
    static constexpr int kMaxRows = 65536;
    static constexpr int kMaxColumns = 256;
    // The longest record body; longer shared string tables go on in CONTINUE records.
    static constexpr int kMaxRecordData = 8224;

    explicit CBiffWorkbookStream(const QString& sheetName = QStringLiteral("Sheet1"));

    // Adds a text cell; false when the position lies outside an .xls sheet.
    bool AddText(int row, int column, QStringView text);
    int CellCount() const { return int(m_cells.size()); }

    QByteArray Build() const;

private:
    struct SCell
    {
        quint16 row;
        quint16 column;
        quint32 string;
    };

    QString m_sheetName;
    std::vector<SCell> m_cells;
    std::vector<QString> m_strings;
    QHash<QString, quint32> m_stringIndex;
};
