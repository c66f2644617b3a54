#include "app/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <utility>

namespace CodePage {
namespace {

QByteArray IconvName(int codePage)
{
    switch (codePage) {
    case kUtf8: return QByteArrayLiteral("UTF-8");
    case 936: return QByteArrayLiteral("CP936");
    case 950: return QByteArrayLiteral("CP950");
    case 1252: return QByteArrayLiteral("CP1252");
    default: return QByteArrayLiteral("CP") + QByteArray::number(codePage);
    }
}

// An iconv descriptor of one direction, opened the first time a thread needs it and kept until the
// thread ends: opening one loads a conversion module, which costs far more than a short conversion.
class CIconv
{
public:
    CIconv(const QByteArray& to, const QByteArray& from)
        : m_handle(iconv_open(to.constData(), from.constData()))
    {
    }
    ~CIconv()
    {
        if (IsOpen())
            iconv_close(m_handle);
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;

    bool IsOpen() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return m_handle; }
    void Reset() { iconv(m_handle, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_handle;
};

enum class EDirection
{
    FromUtf16,
    ToUtf16
};

// The thread's converter for the code page and direction; an unsupported code page is remembered too,
// so that it is not looked for again. Descriptors are not shared between threads.
CIconv& Converter(int codePage, EDirection direction)
{
    thread_local std::map<std::pair<int, EDirection>, std::unique_ptr<CIconv>> converters;
    std::unique_ptr<CIconv>& converter = converters[{codePage, direction}];
    if (!converter) {
        const QByteArray utf16 = QByteArrayLiteral("UTF-16LE");
        converter = direction == EDirection::FromUtf16 ? std::make_unique<CIconv>(IconvName(codePage), utf16)
                                                       : std::make_unique<CIconv>(utf16, IconvName(codePage));
    }
    if (converter->IsOpen())
        converter->Reset();
    return *converter;
}

// Length in UTF-16 code units of the character that starts at i.
int CharacterLength(QStringView text, qsizetype i)
{
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return 2;
    return 1;
}

// The longest byte sequence of one character in any code page.
constexpr int kLongestCharacter = 16;

// Converts one character (1 or 2 code units) into buffer; the byte count, 0 when the code page lacks it.
int EncodeCharacter(CIconv& converter, QStringView character, char (&buffer)[kLongestCharacter])
{
    converter.Reset();
    char* input = const_cast<char*>(reinterpret_cast<const char*>(character.utf16()));
    size_t inputLeft = size_t(character.size()) * 2;
    char* output = buffer;
    size_t outputLeft = sizeof buffer;
    if (iconv(converter.Handle(), &input, &inputLeft, &output, &outputLeft) == size_t(-1))
        return 0;
    // Flush any shift state.
    iconv(converter.Handle(), nullptr, nullptr, &output, &outputLeft);
    return int(output - buffer);
}

// One character as UTF-8, byte for byte as iconv writes it, without a call into it; 0 for half of a
// surrogate pair, which iconv refuses.
int EncodeUtf8Character(QStringView character, char (&buffer)[kLongestCharacter])
{
    char32_t code = character[0].unicode();
    if (character.size() == 2)
        code = QChar::surrogateToUcs4(character[0], character[1]);
    else if (character[0].isSurrogate())
        return 0;
    if (code < 0x80) {
        buffer[0] = char(code);
        return 1;
    }
    if (code < 0x800) {
        buffer[0] = char(0xC0 | (code >> 6));
        buffer[1] = char(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        buffer[0] = char(0xE0 | (code >> 12));
        buffer[1] = char(0x80 | ((code >> 6) & 0x3F));
        buffer[2] = char(0x80 | (code & 0x3F));
        return 3;
    }
    buffer[0] = char(0xF0 | (code >> 18));
    buffer[1] = char(0x80 | ((code >> 12) & 0x3F));
    buffer[2] = char(0x80 | ((code >> 6) & 0x3F));
    buffer[3] = char(0x80 | (code & 0x3F));
    return 4;
}

SEncoded EncodeImpl(QStringView text, int codePage, int maxBytes)
{
    SEncoded encoded;
    QByteArray& result = encoded.bytes;
    if (codePage == kUtf8 && maxBytes < 0) {
        // Lone surrogates are replaced, as iconv would refuse them.
        for (qsizetype i = 0; i < text.size();) {
            const int length = CharacterLength(text, i);
            if (length == 1 && text[i].isSurrogate()) {
                result += '?';
                encoded.replaced = true;
            } else {
                result += text.mid(i, length).toUtf8();
            }
            i += length;
        }
        encoded.unitsEncoded = text.size();
        return encoded;
    }
    CIconv* converter = nullptr;
    // Bytes go straight into the result, which grows by doubling; it is cut to its length at the end.
    result.resize(maxBytes >= 0 ? std::min<qsizetype>(maxBytes, text.size() * 4) : text.size() + 16);
    qsizetype used = 0;
    char buffer[kLongestCharacter];
    for (qsizetype i = 0; i < text.size();) {
        const int length = CharacterLength(text, i);
        const QStringView character = text.mid(i, length);
        i += length;
        int size = 0;
        if (character.size() == 1 && character[0].unicode() < 0x80) {
            buffer[0] = char(character[0].unicode());
            size = 1;
        } else if (codePage == kUtf8) {
            size = EncodeUtf8Character(character, buffer);
        } else {
            if (!converter)
                converter = &Converter(codePage, EDirection::FromUtf16);
            if (converter->IsOpen())
                size = EncodeCharacter(*converter, character, buffer);
        }
        const bool replaced = size == 0;
        if (replaced) {
            buffer[0] = '?';
            size = 1;
        }
        if (maxBytes >= 0 && used + size > maxBytes)
            break;
        if (used + size > result.size())
            result.resize(std::max(2 * result.size(), used + size));
        std::copy(buffer, buffer + size, result.data() + used);
        used += size;
        encoded.replaced = encoded.replaced || replaced;
        encoded.unitsEncoded = i;
    }
    result.truncate(used);
    return encoded;
}

} // namespace

bool IsSupported(int codePage)
{
    if (codePage == kUtf8)
        return true;
    return Converter(codePage, EDirection::FromUtf16).IsOpen();
}

QByteArray Encode(QStringView text, int codePage)
{
    return EncodeImpl(text, codePage, -1).bytes;
}

QByteArray EncodeLimited(QStringView text, int codePage, int maxBytes)
{
    return EncodeImpl(text, codePage, std::max(maxBytes, 0)).bytes;
}

SEncoded EncodeReported(QStringView text, int codePage, int maxBytes)
{
    return EncodeImpl(text, codePage, std::max(maxBytes, 0));
}

bool IsValidUtf8(QByteArrayView bytes)
{
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        int follow = 0;
        unsigned minimum = 0;
        unsigned value = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            follow = 1, minimum = 0x80, value = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            follow = 2, minimum = 0x800, value = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            follow = 3, minimum = 0x10000, value = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= follow; ++k) {
            if (i + k >= n)
                return false;
            const auto d = static_cast<unsigned char>(bytes[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (d & 0x3F);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += follow + 1;
    }
    return true;
}

QString Decode(QByteArrayView bytes, int codePage)
{
    if (codePage == kUtf8)
        return QString::fromUtf8(bytes); // invalid sequences become U+FFFD
    CIconv& converter = Converter(codePage, EDirection::ToUtf16);
    if (!converter.IsOpen())
        return QString::fromLatin1(bytes);
    QString result;
    result.reserve(bytes.size());
    char* input = const_cast<char*>(bytes.data());
    size_t inputLeft = size_t(bytes.size());
    QByteArray buffer(8192, Qt::Uninitialized);
    while (inputLeft > 0) {
        char* output = buffer.data();
        size_t outputLeft = size_t(buffer.size());
        const size_t converted = iconv(converter.Handle(), &input, &inputLeft, &output, &outputLeft);
        const int producedUnits = int((output - buffer.data()) / 2);
        result.append(reinterpret_cast<const QChar*>(buffer.constData()), producedUnits);
        if (converted != size_t(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // An invalid or truncated sequence: one replacement character for its first byte.
        result.append(QChar(QChar::ReplacementCharacter));
        ++input;
        --inputLeft;
        converter.Reset();
    }
    return result;
}

} // namespace CodePage
