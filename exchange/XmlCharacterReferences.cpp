#include "exchange/XmlCharacterReferences.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint32_t kLastCodePoint = 0x10FFFF;

int DigitValue(char c, int base)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Whether the text after "&#" is digits of the base and ";", naming a value that Unicode has.
bool IsValidReferenceBody(std::string_view body)
{
    int base = 10;
    if (!body.empty() && body.front() == 'x') {
        base = 16;
        body.remove_prefix(1);
    }
    std::uint32_t value = 0;
    std::size_t digits = 0;
    for (; digits < body.size(); ++digits) {
        const int digit = DigitValue(body[digits], base);
        if (digit < 0)
            break;
        value = value * std::uint32_t(base) + std::uint32_t(digit);
        if (value > kLastCodePoint)
            return false; // stops before the value could overflow
    }
    return digits > 0 && digits < body.size() && body[digits] == ';';
}

} // namespace

std::size_t FindInvalidCharacterReference(std::string_view xml)
{
    const char* const begin = xml.data();
    const char* const end = begin + xml.size();
    for (const char* at = begin; at < end;) {
        const void* found = std::memchr(at, '&', std::size_t(end - at));
        if (!found)
            break;
        const char* amp = static_cast<const char*>(found);
        if (amp + 1 < end && amp[1] == '#'
            && !IsValidReferenceBody(std::string_view(amp + 2, std::size_t(end - amp - 2))))
            return std::size_t(amp - begin);
        at = amp + 1;
    }
    return std::string_view::npos;
}
