#include "exchange/CStdioFileEx.h"

#include "app/CodePage.h"
#include "app/Language.h"
#include "app/StringTable.h"
#include "app/SystemErrorText.h"

#include <QFile>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr size_t kBufferSize = 64 * 1024;
constexpr char kDosEndOfFile = '\x1A';

// Opens with POSIX flags so that "write without create" and "create without truncating" keep their meaning.
std::FILE* OpenStream(const QByteArray& encodedPath, unsigned flags)
{
    int access = O_RDONLY;
    const char* mode = "rb";
    if (flags & CStdioFileEx::kModeReadWrite) {
        access = O_RDWR;
        mode = "r+b";
    } else if (flags & CStdioFileEx::kModeWrite) {
        access = O_WRONLY;
        mode = "wb";
    }
    if (flags & CStdioFileEx::kModeCreate) {
        access |= O_CREAT;
        if (!(flags & CStdioFileEx::kModeNoTruncate))
            access |= O_TRUNC;
    }
    const int fd = ::open(encodedPath.constData(), access | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, mode);
    if (!file) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
}

// Length of the UTF-8 sequence that a lead byte starts; 0 for a byte that cannot start one.
int Utf8SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

// Where a chunk can be cut so that no UTF-8 sequence is split: before a last sequence that is incomplete.
qsizetype CompleteUtf8Prefix(const QByteArray& bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: the lead is further back
        const int length = Utf8SequenceLength(byte);
        return length > back ? size - back : size;
    }
    return size;
}

// Removes one line end: CR LF, or a single CR or LF.
void RemoveLineEnd(QString& line)
{
    if (line.size() >= 2 && line.endsWith(QLatin1String("\r\n")))
        line.chop(2);
    else if (!line.isEmpty() && (line.back() == QLatin1Char('\r') || line.back() == QLatin1Char('\n')))
        line.chop(1);
}

} // namespace

CStdioFileEx::~CStdioFileEx()
{
    Close();
}

int CStdioFileEx::EffectiveCodePage() const
{
    if (m_codePage == kDefaultCodePage)
        return Language::AnsiCodePage(Language::LanguageInForce());
    return m_codePage;
}

bool CStdioFileEx::Open(const QString& path, unsigned flags)
{
    Close();
    m_unicodeMark = false;
    m_readError = false;
    m_errorString.clear();
    const QByteArray encodedPath = QFile::encodeName(path);
    const bool writing = (flags & (kModeWrite | kModeReadWrite | kModeCreate)) != 0;
    const bool textMode = !(flags & kTypeBinary);
    if (textMode && !writing) {
        ProbeMark(encodedPath);
        if (m_unicodeMark)
            flags = (flags & ~kTypeText) | kTypeBinary;
        else if (m_codePage == kDefaultCodePage && LooksLikeUtf8(encodedPath))
            m_codePage = CodePage::kUtf8;
    }
    m_flags = flags;
    m_file = OpenStream(encodedPath, flags);
    if (!m_file) {
        SetErrorFromErrno(StringId::FileCannotOpen);
        return false;
    }
    m_buffer.resize(kBufferSize);
    m_bufferPos = m_bufferEnd = 0;
    m_position = 0;
    m_atEnd = false;
    m_skipLineFeed = false;
    return true;
}

void CStdioFileEx::Close()
{
    if (!m_file)
        return;
    if (std::fclose(m_file) != 0 && m_errorString.isEmpty())
        SetErrorFromErrno(StringId::FileCannotClose);
    m_file = nullptr;
    m_buffer.clear();
    m_buffer.shrink_to_fit();
}

void CStdioFileEx::ProbeMark(const QByteArray& encodedPath)
{
    std::FILE* probe = OpenStream(encodedPath, kModeRead);
    if (!probe)
        return;
    unsigned char mark[2] = {0, 0};
    const size_t count = std::fread(mark, 1, 2, probe);
    std::fclose(probe);
    if (count < 2)
        return;
    const unsigned value = mark[0] | (unsigned(mark[1]) << 8);
    if (value == 0xFEFF)
        m_unicodeMark = true;
    else if (value == 0xBBEF)
        m_codePage = CodePage::kUtf8;
}

// A spreadsheet program on Linux saves CSV as UTF-8 without a mark. Text in the 8-bit code pages
// (GBK, Big5, Windows-1252) with any non-ASCII character is almost never well-formed UTF-8, so a file
// that is well-formed UTF-8 throughout and not plain ASCII is taken to be UTF-8.
bool CStdioFileEx::LooksLikeUtf8(const QByteArray& encodedPath)
{
    std::FILE* probe = OpenStream(encodedPath, kModeRead);
    if (!probe)
        return false;
    bool nonAscii = false;
    bool valid = true;
    QByteArray pending;
    std::vector<char> chunk(kBufferSize);
    for (;;) {
        const size_t count = std::fread(chunk.data(), 1, chunk.size(), probe);
        if (count == 0)
            break;
        pending.append(chunk.data(), qsizetype(count));
        const qsizetype complete = CompleteUtf8Prefix(pending);
        const QByteArrayView head(pending.constData(), complete);
        if (!nonAscii) {
            for (const char byte : head) {
                if (static_cast<unsigned char>(byte) >= 0x80) {
                    nonAscii = true;
                    break;
                }
            }
        }
        if (!CodePage::IsValidUtf8(head)) {
            valid = false;
            break;
        }
        pending.remove(0, complete);
    }
    const bool readFailed = std::ferror(probe) != 0;
    std::fclose(probe);
    return valid && !readFailed && pending.isEmpty() && nonAscii;
}

bool CStdioFileEx::FillBuffer()
{
    if (m_bufferPos < m_bufferEnd)
        return true;
    if (m_atEnd || !m_file)
        return false;
    const size_t count = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    m_bufferPos = 0;
    m_bufferEnd = count;
    if (count == 0) {
        m_atEnd = true;
        if (std::ferror(m_file)) {
            m_readError = true;
            SetErrorFromErrno(StringId::FileReadError);
        }
        return false;
    }
    return true;
}

// The bytes of one line with its line end (LF, CR LF or a lone CR), or up to the end of the file;
// false when none were left.
bool CStdioFileEx::ReadLineBytes(QByteArray& bytes)
{
    bytes.clear();
    bool any = false;
    while (FillBuffer()) {
        const char* begin = m_buffer.data() + m_bufferPos;
        const size_t available = m_bufferEnd - m_bufferPos;
        if (m_skipLineFeed) {
            m_skipLineFeed = false;
            if (*begin == '\n') {
                ++m_bufferPos;
                ++m_position;
                continue;
            }
        }
        const void* lineFeed = std::memchr(begin, '\n', available);
        const size_t lineFeedAt = lineFeed ? size_t(static_cast<const char*>(lineFeed) - begin) : available;
        const void* carriageReturn = std::memchr(begin, '\r', lineFeedAt);
        const size_t carriageReturnAt =
            carriageReturn ? size_t(static_cast<const char*>(carriageReturn) - begin) : available;
        size_t take = available;
        bool ended = false;
        if (carriageReturn && carriageReturnAt + 1 != lineFeedAt) {
            take = carriageReturnAt + 1;
            ended = true;
            // Its LF may begin the next buffer.
            m_skipLineFeed = take == available;
        } else if (lineFeed) {
            take = lineFeedAt + 1;
            ended = true;
        }
        bytes.append(begin, qsizetype(take));
        m_bufferPos += take;
        m_position += qint64(take);
        any = true;
        if (ended)
            break;
    }
    return any;
}

bool CStdioFileEx::ReadString(QString& line)
{
    if (!m_file)
        return false;
    if (m_unicodeMark && m_position == 0) {
        // Drop the mark.
        for (int i = 0; i < 2 && FillBuffer(); ++i) {
            ++m_bufferPos;
            ++m_position;
        }
    }
    const bool read = m_unicodeMark ? ReadUnicodeLine(line) : ReadEightBitLine(line);
    if (read)
        RemoveLineEnd(line);
    return read;
}

bool CStdioFileEx::ReadUnicodeLine(QString& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        if (!FillBuffer())
            break;
        const unsigned char low = static_cast<unsigned char>(m_buffer[m_bufferPos++]);
        ++m_position;
        if (!FillBuffer())
            break; // an odd byte at the end of the file is not a character
        const unsigned char high = static_cast<unsigned char>(m_buffer[m_bufferPos++]);
        ++m_position;
        const char16_t unit = char16_t(low | (high << 8));
        const bool skip = m_skipLineFeed && unit == u'\n';
        m_skipLineFeed = false;
        if (skip)
            continue; // the LF of a CR LF pair
        any = true;
        if (unit == u'\n')
            break;
        if (unit == u'\r') {
            m_skipLineFeed = true;
            break;
        }
        line.append(QChar(unit));
    }
    return any;
}

bool CStdioFileEx::ReadEightBitLine(QString& line)
{
    QByteArray bytes;
    if (!ReadLineBytes(bytes))
        return false;
    if (!(m_flags & kTypeBinary)) {
        // Text mode: a CR LF pair arrives as LF, and a DOS end-of-file mark as the last byte is no text.
        if (bytes.endsWith("\r\n")) {
            bytes.chop(2);
            bytes.append('\n');
        } else if (m_atEnd && m_bufferPos == m_bufferEnd && bytes.endsWith(kDosEndOfFile)) {
            bytes.chop(1);
            if (bytes.isEmpty())
                return false;
        }
    }
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    line = CodePage::Decode(bytes, EffectiveCodePage());
    return true;
}

bool CStdioFileEx::WriteString(QStringView text)
{
    if (!m_file)
        return false;
    QByteArray bytes;
    if (m_flags & kModeWriteUnicode) {
        if (std::ftell(m_file) == 0)
            bytes.append("\xFF\xFE", 2);
        const qsizetype start = bytes.size();
        bytes.resize(start + text.size() * 2);
        qToLittleEndian<quint16>(text.utf16(), text.size(), bytes.data() + start);
    } else {
        bytes = CodePage::Encode(text, EffectiveCodePage());
    }
    if (bytes.isEmpty())
        return true;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_file) != size_t(bytes.size()) ||
        std::fflush(m_file) != 0) {
        SetErrorFromErrno(StringId::FileWriteError);
        return false;
    }
    return true;
}

void CStdioFileEx::SetErrorFromErrno(unsigned pattern)
{
    const int error = errno;
    m_errorString = MessageString(pattern).arg(SystemErrorText(error));
}
