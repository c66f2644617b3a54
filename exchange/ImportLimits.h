#pragma once

#include <QString>
#include <QtGlobal>

// How much of a file Import takes at most. A file beyond a bound is refused with a message that names
// the bound, so that a damaged or hostile file cannot exhaust the memory; tests lower the bounds.
struct SImportLimits
{
    // Rows of a file, the header included: as many as an .xlsx sheet has.
    int maxRows = 1048576;
    // Columns whose cells are read; cells further right are passed over, but still count for the
    // sheet's column extent.
    int maxColumns = 20;
    // A .csv or .xls file larger than this is refused before it is read.
    qint64 maxFileBytes = qint64(256) << 20;
    // An .xlsx or .ods package is refused when one of its parts unpacks to more than this.
    qint64 maxPartBytes = qint64(512) << 20;
};

// "256 MB", "1.5 KB", "12 bytes": a size for messages.
QString DescribeByteCount(qint64 bytes);
