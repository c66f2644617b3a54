#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "exchange/ImportLimits.h"
#include "plu/PluLayout.h"

struct SImportResult;

// What the fuzz targets share: the Qt application, a scratch folder for the files Import reads, the
// properties every import must keep. Workbook packages are built with the tests' HandMadePackage.
namespace FuzzSupport {

// Starts the QCoreApplication once and fixes the language in force.
void Initialize();

// Writes the bytes to a file of that name in the process's scratch folder and returns its path.
QString ScratchFile(const QString& name, const std::uint8_t* data, std::size_t size);
QString ScratchFile(const QString& name, const QByteArray& bytes);

// Reports a broken property and stops the process so that the fuzzer keeps the input.
[[noreturn]] void Broken(const char* property, const std::string& detail);

// The bounds the import targets read with: the real ones but for a lower row bound, so that inputs
// claiming tens of thousands of rows are refused at once instead of slowing the search down (the
// bounds themselves have tests of their own).
SImportLimits Limits();

// An import either fails with a message naming the file, or gives rows numbered from 1, each with at
// most the layout's columns (pricing 9, counting 6, counting with limits 8), within Limits()' row
// bound, and a limits setting that fits the layout.
void CheckImport(const SImportResult& result, const QString& path, EPluMode pluMode);

} // namespace FuzzSupport

#define FUZZ_CHECK(condition, detail)                                                                                  \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            FuzzSupport::Broken(#condition, detail);                                                                   \
    } while (0)
