#pragma once

#include <array>

// Reads the scale's answers: a line of "SP" "OK" acknowledges the record in flight, "SP" with
// anything else refuses it, other lines (blank lines, status lines) are passed over. A line ends
// at LF and may start with STX. Runs on the serial line's receive thread; the buffer is its own.
class CAckParser
{
public:
    enum class EVerdict
    {
        None,         // no "SP" line ended in these bytes
        Acknowledged, // "SP" "OK"
        Refused,      // "SP" and anything else
    };

    // Feeds one delivery. The first "SP" line is judged and the bytes after it in the same
    // delivery are dropped, so two acknowledgements that arrive together count once.
    EVerdict Feed(const char* bytes, int count);
    // The bytes of the last judged line, STX and LF included.
    int LastLineLength() const { return m_lastLineLength; }

    void Reset();

private:
    static constexpr int kBufferSize = 20;

    EVerdict Judge() const;
    void StartLine();

    std::array<char, kBufferSize> m_line{};
    int m_position = 0;
    int m_lineLength = 0;
    int m_lastLineLength = 0;
};
