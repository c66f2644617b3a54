// The acknowledgement parser fed the scale's bytes in random deliveries. For every delivery:
//   - a verdict comes exactly when the delivery holds an LF, and only its first line is judged;
//   - the verdict is the one a parser fed the same bytes one at a time gives, once the bytes after
//     the delivery's first LF are taken away (they are dropped), so splitting never changes a verdict;
//   - a line whose start is known ("SP" "OK", "SP" and anything else, or other bytes) gets the verdict
//     its first four bytes call for.

#include "download/CAckParser.h"
#include "fuzz/FuzzSupport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
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
    case EVerdict::Ignored: return "ignored";
    }
    return "?";
}

// The verdict that the bytes of one line call for, when they decide it; None when they do not (a
// line of 20 bytes or more after its STX wraps around, and a short one after an STX keeps older bytes).
EVerdict Expected(const std::string& line)
{
    const size_t stx = line.rfind('\x02');
    std::string head;
    if (stx == std::string::npos) {
        if (line.size() >= 20)
            return EVerdict::None;
        head = line + std::string(4, '\0'); // the buffer is cleared after every judged line
    } else {
        head = line.substr(stx + 1);
        if (head.size() < 4 || head.size() >= 20)
            return EVerdict::None;
    }
    if (head[0] != 'S' || head[1] != 'P')
        return EVerdict::Ignored;
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
        bool hasLineEnd = false;
        EVerdict single = EVerdict::None;
        for (const char byte : bytes) {
            const EVerdict step = byteByByte.Feed(&byte, 1);
            if (byte == '\n') {
                FUZZ_CHECK(step != EVerdict::None, where);
                const EVerdict expected = Expected(line);
                if (expected != EVerdict::None)
                    FUZZ_CHECK(step == expected, where + ": " + Name(step) + ", expected " + Name(expected));
                single = step;
                hasLineEnd = true;
                line.clear();
                break; // the rest of the delivery is dropped
            }
            FUZZ_CHECK(step == EVerdict::None, where);
            line += byte;
        }
        FUZZ_CHECK((verdict != EVerdict::None) == hasLineEnd, where + ": " + Name(verdict));
        FUZZ_CHECK(verdict == single, where + ": " + Name(verdict) + " in one delivery, " + Name(single) +
                                          " byte by byte");
    }
    return 0;
}
