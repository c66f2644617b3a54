#include "exchange/CCsvRecordReader.h"

#include "exchange/CStdioFileEx.h"

CCsvRecordReader::CCsvRecordReader(CStdioFileEx& file)
    : m_file(&file)
{
}

bool CCsvRecordReader::Feed(QStringView line, QStringList& fields)
{
    for (const QChar c : line) {
        switch (m_state) {
        case EState::FieldStart:
            if (c == QLatin1Char('"')) {
                m_state = EState::Quoted;
            } else if (c == QLatin1Char(',')) {
                fields.append(QString());
            } else {
                m_field.append(c);
                m_state = EState::Unquoted;
            }
            break;
        case EState::Unquoted:
            if (c == QLatin1Char(',')) {
                fields.append(m_field);
                m_field.clear();
                m_state = EState::FieldStart;
            } else {
                m_field.append(c);
            }
            break;
        case EState::Quoted:
            if (c == QLatin1Char('"'))
                m_state = EState::QuoteInQuoted;
            else
                m_field.append(c);
            break;
        case EState::QuoteInQuoted:
            if (c == QLatin1Char('"')) {
                m_field.append(c);
                m_state = EState::Quoted;
            } else if (c == QLatin1Char(',')) {
                fields.append(m_field);
                m_field.clear();
                m_state = EState::FieldStart;
            } else {
                m_field.append(c);
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
    QString line;
    if (!m_file || !m_file->ReadString(line))
        return false;
    while (!Feed(line, fields)) {
        if (!m_file->ReadString(line)) {
            fields.append(m_field);
            m_field.clear();
            m_state = EState::FieldStart;
            break;
        }
        // The line break belongs to the quoted field.
        m_field.append(QLatin1Char('\n'));
    }
    return true;
}

QStringList CCsvRecordReader::SplitLine(QStringView line)
{
    CCsvRecordReader reader;
    QStringList fields;
    if (!reader.Feed(line, fields))
        fields.append(reader.m_field);
    return fields;
}
