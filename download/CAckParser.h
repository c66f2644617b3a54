#pragma once

#include <array>

// Reads the scale's answers: a line of "SP" "OK" acknowledges the record in flight, "SP" with
// anything else refuses it, other lines are ignored. A line ends at LF and may start with STX.
// Runs on the serial line's receive thread; the buffer is its own.
class CAckParser
{
public:
    enum class EVerdict
    {
        None,         // no line ended in this delivery
        Acknowledged, // "SP" "OK"
        Refused,      // "SP" and anything else
        Ignored,      // a line that does not start with "SP"
    };

    // Feeds one delivery. At most one line is judged per delivery: the bytes after its LF
    // are dropped, so two acknowledgements in one delivery count once.
    EVerdict Feed(const char* bytes, int count);

    void Reset();

private:
    static constexpr int kBufferSize = 20;

    EVerdict Judge() const;

    std::array<char, kBufferSize> m_line{};
    int m_position = 0;
};
