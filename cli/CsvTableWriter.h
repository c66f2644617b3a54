#pragma once

#include <QString>

class CPluTable;

namespace Cli {

// Writes the table as UTF-8 comma-separated text with the columns Export writes, header first;
// a field with a comma, a quote or a line break is quoted. Written beside the target and renamed
// over it when complete. False with the reason on failure.
bool WriteTableAsCsv(const CPluTable& table, const QString& path, QString* error);

} // namespace Cli
