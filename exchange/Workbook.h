#pragma once

#include "exchange/ImportLimits.h"

#include <QString>
#include <QStringView>

#include <memory>

// The spreadsheet files the program exchanges.
enum class EWorkbookFormat
{
    Xls,  // BIFF8 in an OLE2 container
    Xlsx, // Office Open XML
    Ods,  // OpenDocument (read only)
};

// A cell as Import sees it: a number, or text (empty for an empty cell). Booleans read as the
// numbers 1 and 0; error values read as empty text.
struct SWorkbookCell
{
    bool isNumber = false;
    double number = 0;
    QString text;
};

// Reads the first sheet of a workbook.
class IWorkbookReader
{
public:
    virtual ~IWorkbookReader() = default;

    // Reads the file and takes its first sheet. False when the file is not a readable workbook of
    // the reader's format or has no sheet; ErrorString() then says why.
    virtual bool Load(const QString& path) = 0;
    virtual QString ErrorString() const = 0;

    // One past the last used row and column of the first sheet, counting from 0 (0 for an empty sheet).
    virtual int LastRow() const = 0;
    virtual int LastCol() const = 0;

    // Once Load has returned, Cell may be called from several threads at once.
    virtual SWorkbookCell Cell(int row, int column) const = 0;
    // The same into a cell whose text may keep its room from one call to the next.
    virtual void ReadCell(int row, int column, SWorkbookCell& into) const { into = Cell(row, column); }
};

// Writes a new workbook of text cells.
class IWorkbookWriter
{
public:
    virtual ~IWorkbookWriter() = default;

    virtual bool AddSheet(const QString& name) = 0;
    // Writes a text cell into the last added sheet. Cells come row by row, left to right; empty
    // text leaves the cell empty.
    virtual bool WriteText(int row, int column, QStringView text) = 0;
    // Writes the file; false when it could not be written completely.
    virtual bool Save() = 0;
    virtual QString ErrorString() const = 0;
};

// The number of rows a sheet of the format holds.
int MaxSheetRows(EWorkbookFormat format);

// The longest text a cell holds, in UTF-16 code units.
constexpr int kMaxCellTextLength = 32767;
// Why a writer refuses a text longer than that, naming the cell (row and column from 0).
QString CellTextTooLongError(int row, int column);

// A reader that keeps to the limits: it reads the cells of the first limits.maxColumns columns only,
// and refuses a package whose parts unpack to more than limits.maxPartBytes.
std::unique_ptr<IWorkbookReader> CreateWorkbookReader(EWorkbookFormat format,
                                                      const SImportLimits& limits = SImportLimits());
// A writer of the format that saves to the path; none for .ods, which is read only.
std::unique_ptr<IWorkbookWriter> CreateWorkbookWriter(EWorkbookFormat format, const QString& path);
