#include "exchange/CCsvRecordReader.h"

#include "exchange/CStdioFileEx.h"

namespace {

constexpr QChar kQuote = QLatin1Char('"');
const QChar kSeparators[] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};

} // namespace

CCsvRecordReader::CCsvRecordReader(CStdioFileEx& file)
    : m_file(&file)
{
}

std::optional<QChar> CCsvRecordReader::DeclaredSeparator(QStringView line)
{
    if (line.size() != 5 || !line.startsWith(u"sep=", Qt::CaseInsensitive))
        return std::nullopt;
    const QChar separator = line[4];
    if (separator == kQuote)
        return std::nullopt;
    return separator;
}

QChar CCsvRecordReader::DetectSeparator(QStringView header)
{
    bool seen[std::size(kSeparators)] = {};
    bool quoted = false;
    for (const QChar c : header) {
        if (c == kQuote) {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        for (size_t i = 0; i < std::size(kSeparators); ++i)
            seen[i] = seen[i] || c == kSeparators[i];
    }
    int count = 0;
    QChar found = kSeparators[0];
    for (size_t i = 0; i < std::size(kSeparators); ++i) {
        if (seen[i]) {
            ++count;
            found = kSeparators[i];
        }
    }
    return count == 1 ? found : kSeparators[0];
}

bool CCsvRecordReader::ReadLine(QString& line)
{
    if (!m_file || !m_file->ReadString(line))
        return false;
    ++m_line;
    return true;
}

bool CCsvRecordReader::ReadFirstLine(QString& line)
{
    m_started = true;
    if (!ReadLine(line))
        return false;
    if (const std::optional<QChar> declared = DeclaredSeparator(line)) {
        m_separator = *declared;
        return ReadLine(line);
    }
    m_separator = DetectSeparator(line);
    return true;
}

bool CCsvRecordReader::Feed(QStringView line, QStringList& fields)
{
    const qsizetype size = line.size();
    qsizetype at = 0;
    while (at < size) {
        switch (m_state) {
        case EState::FieldStart:
            if (line[at] == kQuote) {
                m_state = EState::Quoted;
                m_quoteLine = m_line;
                ++at;
                break;
            }
            m_state = EState::Unquoted;
            [[fallthrough]];
        case EState::Unquoted: {
            qsizetype end = line.indexOf(m_separator, at);
            if (end < 0)
                end = size;
            m_field.append(line.mid(at, end - at));
            at = end;
            if (at < size) {
                fields.append(m_field);
                m_field.clear();
                m_state = EState::FieldStart;
                ++at;
            }
            break;
        }
        case EState::Quoted: {
            qsizetype end = line.indexOf(kQuote, at);
            if (end < 0)
                end = size;
            m_field.append(line.mid(at, end - at));
            at = end;
            if (at < size) {
                m_state = EState::QuoteInQuoted;
                ++at;
            }
            break;
        }
        case EState::QuoteInQuoted:
            if (line[at] == kQuote) {
                m_field.append(kQuote);
                m_state = EState::Quoted;
                ++at;
            } else if (line[at] == m_separator) {
                fields.append(m_field);
                m_field.clear();
                m_state = EState::FieldStart;
                ++at;
            } else {
                m_state = EState::Unquoted;
            }
            break;
        }
    }
    if (m_state == EState::Quoted)
        return false;
    fields.append(m_field);
    m_field.clear();
    m_state = EState::FieldStart;
    return true;
}

bool CCsvRecordReader::ReadRecord(QStringList& fields)
{
    fields.clear();
    m_field.clear();
    m_state = EState::FieldStart;
    if (m_unclosedQuoteLine != 0)
        return false;
    if (!(m_started ? ReadLine(m_lineText) : ReadFirstLine(m_lineText)))
        return false;
    while (!Feed(m_lineText, fields)) {
        if (!ReadLine(m_lineText)) {
            // The rest of the file would otherwise be one cell: nothing of it can be trusted.
            m_unclosedQuoteLine = m_quoteLine;
            fields.clear();
            m_field.clear();
            return false;
        }
        // The line break belongs to the quoted field.
        m_field.append(QLatin1Char('\n'));
    }
    return true;
}

QStringList CCsvRecordReader::SplitLine(QStringView line, QChar separator)
{
    CCsvRecordReader reader;
    reader.m_separator = separator;
    QStringList fields;
    if (!reader.Feed(line, fields))
        fields.append(reader.m_field);
    return fields;
}
