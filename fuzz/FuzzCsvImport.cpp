// Import of a text file of comma-, semicolon- or tab-separated fields: any bytes, in any language's code page, in every
// layout. The first byte chooses the layout, the current limits setting and the language; the rest is the file.

#include "app/Language.h"
#include "app/StringTable.h"
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
    static const int kLanguages[] = {Language::kEnglishUnitedStates, Language::kSimplifiedChinese,
                                     Language::kTraditionalChineseHongKong, 1031};
    const EPluMode pluMode = (data[0] & 1) ? EPluMode::Counting : EPluMode::Pricing;
    const ELimitMode limitMode = ((data[0] >> 1) & 1) ? ELimitMode::On : ELimitMode::Off;
    Language::SetLanguageInForce(kLanguages[(data[0] >> 2) & 3]);
    const QString path = FuzzSupport::ScratchFile(QStringLiteral("table.csv"), data + 1, size - 1);
    const SImportResult result = ReadImportFile(path, pluMode, limitMode, FuzzSupport::Limits());
    FuzzSupport::CheckImport(result, path, pluMode);
    // A text file always opens, so only a quote that is never closed may refuse it, in the language of messages.
    const QString unclosedQuote = MessageString(StringId::ImportUnclosedQuote);
    const QString unclosedQuoteEnd = unclosedQuote.mid(unclosedQuote.indexOf(QStringLiteral("%1")) + 2);
    FUZZ_CHECK(result.ok || result.error.contains(unclosedQuoteEnd), result.error.toStdString());
    return 0;
}
