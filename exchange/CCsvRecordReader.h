#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

class CStdioFileEx;

// Splits the lines of a spreadsheet's text file into records of fields. The separator is a comma, a
// semicolon or a tab: a first line "sep=X", as spreadsheet programs write it, names it and is no record;
// otherwise the first line decides, by the one of the three that it holds outside quotes (a comma when
// it holds none or several of them).
//
// An unquoted field is kept exactly as written, spaces and quote characters included. A field that
// starts with a double quote ends at the closing quote and may hold separators and line breaks; "" inside
// it stands for one quote, and text after the closing quote is kept as written.
class CCsvRecordReader
{
public:
    explicit CCsvRecordReader(CStdioFileEx& file);

    // The next record; false at the end of the file, and when a quoted field is still open there:
    // UnclosedQuoteLine() then names the line where its quote opened.
    bool ReadRecord(QStringList& fields);

    // The separator in use; known once the first record has been read.
    QChar Separator() const { return m_separator; }
    // The line (from 1) where a quote opened that the file never closes; 0 when there is none.
    int UnclosedQuoteLine() const { return m_unclosedQuoteLine; }

    // Splits one line that holds a whole record; a quoted field left open ends with the line.
    static QStringList SplitLine(QStringView line, QChar separator = QLatin1Char(','));
    // The separator that a header line uses.
    static QChar DetectSeparator(QStringView header);
    // The X of a line "sep=X" (the word in any case), which names the separator.
    static std::optional<QChar> DeclaredSeparator(QStringView line);

private:
    CCsvRecordReader() = default;

    enum class EState
    {
        FieldStart,
        Unquoted,
        Quoted,
        QuoteInQuoted,
    };

    // The first line that holds a record, with the separator settled; false when the file has none.
    bool ReadFirstLine(QString& line);
    bool ReadLine(QString& line);
    // Adds the line's fields; false when a quoted field is still open at its end.
    bool Feed(QStringView line, QStringList& fields);

    CStdioFileEx* m_file = nullptr;
    QChar m_separator = QLatin1Char(',');
    bool m_started = false;
    int m_line = 0; // of the last line read, from 1
    int m_quoteLine = 0;
    int m_unclosedQuoteLine = 0;
    EState m_state = EState::FieldStart;
    QString m_field;
    QString m_lineText;
};
