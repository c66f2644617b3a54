// Import of an .xls workbook. The first byte chooses the layout, the current limits setting (bits 0
// and 1) and what the rest is (bit 2): a whole .xls file, or the workbook stream inside one, which is
// put into a well-formed compound file so that mutations reach the records rather than the container.

#include "exchange/CXlsWriter.h"
#include "exchange/PluImport.h"
#include "fuzz/FuzzSupport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const EPluMode pluMode = (data[0] & 1) ? EPluMode::Counting : EPluMode::Pricing;
    const ELimitMode limitMode = ((data[0] >> 1) & 1) ? ELimitMode::On : ELimitMode::Off;
    QString path;
    if (data[0] & 4) {
        path = FuzzSupport::ScratchFile(QStringLiteral("table.xls"), QByteArray());
        QString error;
        const QByteArray stream(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
        if (!CXlsWriter::WriteCompoundFile(path, stream, &error))
            FuzzSupport::Broken("compound file", error.toStdString());
    } else {
        path = FuzzSupport::ScratchFile(QStringLiteral("table.xls"), data + 1, size - 1);
    }
    FuzzSupport::CheckImport(ReadImportFile(path, pluMode, limitMode, FuzzSupport::Limits()), path, pluMode);
    return 0;
}
