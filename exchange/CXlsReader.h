#pragma once

#include "exchange/CSheetCells.h"
#include "exchange/Workbook.h"

#include <QByteArrayView>

#include <string>
#include <vector>

// Reads the first sheet of an .xls workbook: the "Workbook" stream of the compound file (opened with
// libgsf) in the BIFF8 format of Excel 97 and later. Every length in a record is checked against the
// record before it is used, so a damaged file is refused with a reason rather than read past its end.
//
// Cells: numbers (NUMBER, RK, MULRK, and formula results) read as numbers, also when formatted as
// dates; texts (LABEL, RSTRING, LABELSST, formula results) as text; booleans as 1 and 0; error values
// as empty text. The used range is the sheet's DIMENSIONS record, widened to any cell outside it.
class CXlsReader final : public IWorkbookReader
{
public:
    explicit CXlsReader(const SImportLimits& limits = SImportLimits());

    bool Load(const QString& path) override;
    QString ErrorString() const override { return m_error; }
    int LastRow() const override { return m_cells.LastRow(); }
    int LastCol() const override { return m_cells.LastCol(); }
    SWorkbookCell Cell(int row, int column) const override { return m_cells.Cell(row, column); }
    void ReadCell(int row, int column, SWorkbookCell& into) const override { m_cells.ReadCell(row, column, into); }

    // Reads the first sheet from the bytes of a Workbook stream; false when they are not one.
    bool ReadWorkbookStream(QByteArrayView stream);

private:
    struct SRecord;
    class CRecordWalker;

    // Reads the globals: the first sheet's position and the shared strings. False after setting m_error.
    bool ReadGlobals(QByteArrayView stream, quint32& firstSheet);
    bool ReadSharedStrings(const std::vector<QByteArrayView>& segments);
    bool ReadSheet(QByteArrayView stream, quint32 position);
    bool Fail(const QString& reason);

    SImportLimits m_limits;
    CSheetCells m_cells;
    // The shared strings, one after another; string i is m_sharedText[m_sharedStart[i], m_sharedStart[i + 1]).
    std::u16string m_sharedText;
    std::vector<quint32> m_sharedStart;
    QString m_error;
};
