// The lexical check that guards the workbook library's XML parser: whatever passes the check must not
// stop the program inside the parser, which may only throw. The bytes are handed over in a buffer of
// exactly their size without a terminator, as the library's own .ods reader does, so that a read past
// the end is seen by AddressSanitizer or by the parser's own assertions.

#include "exchange/XmlLexicalCheck.h"

#include <orcus/sax_parser.hpp>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string_view>

namespace {

struct SNoOpHandler
{
    void doctype(const orcus::sax::doctype_declaration&) {}
    void start_declaration(std::string_view) {}
    void end_declaration(std::string_view) {}
    void start_element(const orcus::sax::parser_element&) {}
    void end_element(const orcus::sax::parser_element&) {}
    void characters(std::string_view, bool) {}
    void attribute(const orcus::sax::parser_attribute&) {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::unique_ptr<char[]> exact(new char[size == 0 ? 1 : size]);
    std::copy(data, data + size, exact.get());
    const std::string_view xml(exact.get(), size);
    if (FindXmlLexicalFault(xml))
        return 0;
    SNoOpHandler handler;
    try {
        orcus::sax_parser<SNoOpHandler> parser(xml.data(), xml.size(), handler);
        parser.parse();
    } catch (const std::exception&) {
        // a malformed document the parser reports: fine
    }
    return 0;
}
