// The lexical check that guards the workbook library's XML parser: whatever passes the check must not
// stop the program inside the parser, which may only throw. The bytes are handed over in a buffer of
// exactly their size without a terminator, as the library's own .ods reader does, so that a read past
// the end is seen by AddressSanitizer or by the parser's own assertions.

#include "exchange/SaxNoOpHandler.h"
#include "exchange/XmlLexicalCheck.h"

#include <orcus/sax_parser.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::unique_ptr<char[]> exact(new char[size == 0 ? 1 : size]);
    std::copy(data, data + size, exact.get());
    const std::string_view xml(exact.get(), size);
    if (FindXmlLexicalFault(xml))
        return 0;
    SSaxNoOpHandler handler;
    try {
        orcus::sax_parser<SSaxNoOpHandler> parser(xml.data(), xml.size(), handler);
        parser.parse();
    } catch (const std::exception&) {
        // a malformed document the parser reports: fine
    }
    return 0;
}
