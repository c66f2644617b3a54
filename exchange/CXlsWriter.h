#pragma once

#include "exchange/CBiffWorkbookStream.h"
#include "exchange/CWorkbookWriter.h"

#include <memory>

// Writes an .xls workbook: the BIFF8 stream built by CBiffWorkbookStream, stored as the "Workbook"
// stream of an OLE2 compound file written with libgsf.
class CXlsWriter final : public CWorkbookWriter
{
public:
    explicit CXlsWriter(const QString& path);

    bool AddSheet(const QString& name) override;
    bool Save() override;

    // Stores a Workbook stream in a compound file at the path.
    static bool WriteCompoundFile(const QString& path, const QByteArray& workbook, QString* error);

private:
    bool HasSheet() const override { return m_stream != nullptr; }
    bool WriteCellText(int row, int column, QStringView text) override;

    QString m_path;
    std::unique_ptr<CBiffWorkbookStream> m_stream;
};
