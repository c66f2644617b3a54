#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdio>
#include <vector>

// A text file read line by line into UTF-16 text whatever its encoding: UTF-16 little-endian with a
// byte-order mark, UTF-8 with a mark, UTF-8 without one, or 8-bit text in a code page. It also writes
// text, as UTF-16 with a mark or in a code page.
//
// A line ends with LF, CR LF or a lone CR (as old Mac files have it), and comes back without its line
// end, whatever its length.
class CStdioFileEx
{
public:
    // Open flags. Without kTypeBinary a file is read in text mode.
    static constexpr unsigned kModeRead = 0x0000;
    static constexpr unsigned kModeWrite = 0x0001;
    static constexpr unsigned kModeReadWrite = 0x0002;
    static constexpr unsigned kModeCreate = 0x1000;
    static constexpr unsigned kModeNoTruncate = 0x2000;
    static constexpr unsigned kTypeText = 0x4000;
    static constexpr unsigned kTypeBinary = 0x8000;
    // Writing only: WriteString writes UTF-16 little-endian, with the mark at the start of the file.
    static constexpr unsigned kModeWriteUnicode = 0x20000;

    // The code page of 8-bit text that stands for the 8-bit code page of the language in force.
    static constexpr int kDefaultCodePage = -1;

    CStdioFileEx() = default;
    ~CStdioFileEx();
    CStdioFileEx(const CStdioFileEx&) = delete;
    CStdioFileEx& operator=(const CStdioFileEx&) = delete;

    // Opens the file. For reading in text mode it first looks at the file's first bytes: FF FE makes
    // it a UTF-16 file (read in binary), EF BB makes the code page UTF-8. A file without a mark whose
    // bytes are all well-formed UTF-8, some of them not ASCII, is read as UTF-8 when the code page is
    // the default. False when the file cannot be opened; ErrorString() says why.
    bool Open(const QString& path, unsigned flags);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    // The next line without its line end (LF, CR LF or CR); false at the end of the file or after a read error.
    bool ReadString(QString& line);
    // Writes the text without adding a line end; false when it could not be written.
    bool WriteString(QStringView text);

    // The bytes taken from the file so far.
    qint64 BytesRead() const { return m_position; }
    // Whether reading stopped because of an error rather than the end of the file.
    bool HasReadError() const { return m_readError; }
    QString ErrorString() const { return m_errorString; }

    bool IsUnicode() const { return m_unicodeMark; }
    unsigned Flags() const { return m_flags; }
    int CodePage() const { return m_codePage; }
    void SetCodePage(int codePage) { m_codePage = codePage; }
    // The code page that 8-bit text is decoded and encoded in: the default resolved.
    int EffectiveCodePage() const;

private:
    void ProbeMark(const QByteArray& encodedPath);
    bool LooksLikeUtf8(const QByteArray& encodedPath);
    bool FillBuffer();
    bool ReadLineBytes(QByteArray& bytes);
    bool ReadUnicodeLine(QString& line);
    bool ReadEightBitLine(QString& line);
    // The error text from a pattern ("cannot open: %1") and the errno of the moment.
    void SetErrorFromErrno(unsigned pattern);

    std::FILE* m_file = nullptr;
    bool m_unicodeMark = false;
    unsigned m_flags = 0;
    int m_codePage = kDefaultCodePage;

    std::vector<char> m_buffer;
    size_t m_bufferPos = 0;
    size_t m_bufferEnd = 0;
    qint64 m_position = 0; // bytes taken from the file so far
    bool m_atEnd = false;
    bool m_skipLineFeed = false; // a line ended with CR: an LF that follows belongs to it
    bool m_readError = false;
    QString m_errorString;
};
