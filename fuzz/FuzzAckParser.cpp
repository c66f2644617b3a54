// The acknowledgement parser fed the scale's bytes in random deliveries. For every delivery:
//   - a verdict comes exactly when the delivery holds the LF of an "SP" line, and only the first such
//     line is judged; other lines are passed over;
//   - the verdict is the one a parser fed the same bytes one at a time gives, once the bytes after
//     the judged line are taken away (they are dropped), so splitting never changes a verdict;
//   - a line whose start is known ("SP" "OK", "SP" and anything else, or other bytes) gets the verdict
//     its first four bytes call for.

#include "download/CAckParser.h"
#include "fuzz/FuzzSupport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using EVerdict = CAckParser::EVerdict;

const char* Name(EVerdict verdict)
{
    switch (verdict) {
    case EVerdict::None: return "none";
    case EVerdict::Acknowledged: return "acknowledged";
    case EVerdict::Refused: return "refused";
    }
    return "?";
}

// The verdict that the bytes of one line call for (None for a line that is passed over), when they decide
// it; nothing when they do not (a line of 20 bytes or more after its STX wraps around, and a short one
// after an STX keeps older bytes).
std::optional<EVerdict> Expected(const std::string& line)
{
    const size_t stx = line.rfind('\x02');
    std::string head;
    if (stx == std::string::npos) {
        if (line.size() >= 20)
            return std::nullopt;
        head = line + std::string(4, '\0'); // the buffer is cleared after every line
    } else {
        head = line.substr(stx + 1);
        if (head.size() < 4 || head.size() >= 20)
            return std::nullopt;
    }
    if (head[0] != 'S' || head[1] != 'P')
        return EVerdict::None;
    return head[2] == 'O' && head[3] == 'K' ? EVerdict::Acknowledged : EVerdict::Refused;
}

std::string Printable(const std::vector<char>& bytes)
{
    std::string text;
    for (const char byte : bytes) {
        if (byte >= 0x20 && byte < 0x7F) {
            text += byte;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", unsigned(static_cast<unsigned char>(byte)));
            text += escaped;
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    CAckParser inDeliveries;
    CAckParser byteByByte;
    std::string line; // the bytes of the line being gathered, as the one-byte parser saw them
    int delivery = 0;
    while (provider.remaining_bytes() > 0) {
        const size_t length = provider.ConsumeIntegralInRange<size_t>(1, 48);
        const std::vector<char> bytes = provider.ConsumeBytes<char>(length);
        if (bytes.empty())
            break;
        ++delivery;
        const std::string where = "delivery " + std::to_string(delivery) + " \"" + Printable(bytes) + "\"";

        const EVerdict verdict = inDeliveries.Feed(bytes.data(), int(bytes.size()));
        EVerdict single = EVerdict::None;
        for (const char byte : bytes) {
            const EVerdict step = byteByByte.Feed(&byte, 1);
            if (byte != '\n') {
                FUZZ_CHECK(step == EVerdict::None, where);
                line += byte;
                continue;
            }
            const std::optional<EVerdict> expected = Expected(line);
            if (expected)
                FUZZ_CHECK(step == *expected, where + ": " + Name(step) + ", expected " + Name(*expected));
            line.clear();
            if (step != EVerdict::None) {
                single = step;
                break; // the rest of the delivery is dropped
            }
        }
        FUZZ_CHECK(verdict == single,
                   where + ": " + Name(verdict) + " in one delivery, " + Name(single) + " byte by byte");
    }
    return 0;
}
