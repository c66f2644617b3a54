#include "download/CAckParser.h"

CAckParser::EVerdict CAckParser::Feed(const char* bytes, int count)
{
    for (int i = 0; i < count; ++i) {
        const char byte = bytes[i];
        ++m_lineLength;
        if (byte == '\x02') {
            m_position = 0;
            m_lineLength = 1;
        } else if (byte == '\n') {
            const EVerdict verdict = Judge();
            const int length = m_lineLength;
            StartLine();
            if (verdict == EVerdict::None)
                continue;
            m_lastLineLength = length;
            return verdict;
        } else {
            m_line[std::size_t(m_position)] = byte;
            // A line longer than the buffer overwrites its own start.
            m_position = (m_position + 1) % kBufferSize;
        }
    }
    return EVerdict::None;
}

void CAckParser::Reset()
{
    StartLine();
    m_lastLineLength = 0;
}

void CAckParser::StartLine()
{
    // Cleared so that a short line is judged by its own bytes, never by those of an older line.
    m_line.fill('\0');
    m_position = 0;
    m_lineLength = 0;
}

CAckParser::EVerdict CAckParser::Judge() const
{
    if (m_line[0] != 'S' || m_line[1] != 'P')
        return EVerdict::None;
    return m_line[2] == 'O' && m_line[3] == 'K' ? EVerdict::Acknowledged : EVerdict::Refused;
}
