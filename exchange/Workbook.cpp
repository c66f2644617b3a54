#include "exchange/Workbook.h"

#include "app/StringTable.h"
#include "exchange/CBiffWorkbookStream.h"
#include "exchange/COdsReader.h"
#include "exchange/CXlsReader.h"
#include "exchange/CXlsWriter.h"
#include "exchange/CXlsxReader.h"
#include "exchange/CXlsxWriter.h"

int MaxSheetRows(EWorkbookFormat format)
{
    return format == EWorkbookFormat::Xls ? CBiffWorkbookStream::kMaxRows : 1048576;
}

QString CellTextTooLongError(int row, int column)
{
    return MessageString(StringId::CellTextTooLong).arg(row + 1).arg(column + 1).arg(kMaxCellTextLength);
}

std::unique_ptr<IWorkbookReader> CreateWorkbookReader(EWorkbookFormat format, const SImportLimits& limits)
{
    switch (format) {
    case EWorkbookFormat::Xls: return std::make_unique<CXlsReader>(limits);
    case EWorkbookFormat::Ods: return std::make_unique<COdsReader>(limits);
    case EWorkbookFormat::Xlsx: break;
    }
    return std::make_unique<CXlsxReader>(limits);
}

std::unique_ptr<IWorkbookWriter> CreateWorkbookWriter(EWorkbookFormat format, const QString& path)
{
    switch (format) {
    case EWorkbookFormat::Xls: return std::make_unique<CXlsWriter>(path);
    case EWorkbookFormat::Xlsx: return std::make_unique<CXlsxWriter>(path);
    case EWorkbookFormat::Ods: break;
    }
    return nullptr;
}
