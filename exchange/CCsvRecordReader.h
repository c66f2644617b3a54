#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class CStdioFileEx;

// Splits the lines of a comma-separated file into records of fields. The comma is the only separator
// and an unquoted field is kept exactly as written, spaces and quote characters included. A field that
// starts with a double quote ends at the closing quote and may hold commas and line breaks; "" inside
// it stands for one quote, and text after the closing quote is kept as written.
class CCsvRecordReader
{
public:
    explicit CCsvRecordReader(CStdioFileEx& file);

    // The next record; false at the end of the file. A quoted field left open at the end of the file
    // ends there.
    bool ReadRecord(QStringList& fields);

    // Splits one line that holds a whole record.
    static QStringList SplitLine(QStringView line);

private:
    CCsvRecordReader() = default;

    enum class EState
    {
        FieldStart,
        Unquoted,
        Quoted,
        QuoteInQuoted,
    };

    // Adds the line's fields; false when a quoted field is still open at its end.
    bool Feed(QStringView line, QStringList& fields);

    CStdioFileEx* m_file = nullptr;
    EState m_state = EState::FieldStart;
    QString m_field;
};
