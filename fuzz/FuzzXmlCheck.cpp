// The lexical check that guards the workbook library's XML parser: whatever passes the check must not
// stop the program inside the parser, which may only throw. The bytes are handed over in a buffer of
// exactly their size without a terminator, as the library's own .ods reader does, so that a read past
// the end is seen by AddressSanitizer or by the parser's own assertions. The check that follows the
// bytes of a part as they unpack must find what the check of the whole document finds.

#include "FuzzSupport.h"

#include "exchange/SaxNoOpHandler.h"
#include "exchange/XmlLexicalCheck.h"

#include <orcus/sax_parser.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace {

// Bytes that arrive `first` at once, then `step` at a time, as many as the check waits for.
class CArrivingInSteps : public IXmlArrivals
{
public:
    CArrivingInSteps(std::size_t whole, std::size_t first, std::size_t step)
        : m_whole(whole)
        , m_next(first)
        , m_step(step)
    {
    }
    SXmlArrived WaitFor(std::size_t size) override
    {
        while (m_size < size && m_size < m_whole) {
            m_size = std::min(m_whole, std::max(m_next, m_size + 1));
            m_next = m_size + m_step;
        }
        return SXmlArrived{m_size, m_size == m_whole, false};
    }

private:
    std::size_t m_whole;
    std::size_t m_next;
    std::size_t m_step;
    std::size_t m_size = 0;
};

std::string Describe(const std::optional<SXmlLexicalFault>& fault)
{
    return fault ? std::to_string(fault->what) + " at " + std::to_string(fault->offset) : std::string("none");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::unique_ptr<char[]> exact(new char[size == 0 ? 1 : size]);
    std::copy(data, data + size, exact.get());
    const std::string_view xml(exact.get(), size);
    const std::optional<SXmlLexicalFault> fault = FindXmlLexicalFault(xml);
    // Cuts where the input's size puts them, so that they fall anywhere as the inputs change.
    CArrivingInSteps arrivals(size, size * 7 / 11, 1 + size % 13);
    const std::optional<SXmlLexicalFault> followed = FindXmlLexicalFault(xml.data(), arrivals);
    if (followed.has_value() != fault.has_value() ||
        (fault && (followed->offset != fault->offset || followed->what != fault->what)))
        FuzzSupport::Broken("the check that follows the bytes finds what the whole check finds",
                            "whole: " + Describe(fault) + ", followed: " + Describe(followed));
    if (fault)
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
