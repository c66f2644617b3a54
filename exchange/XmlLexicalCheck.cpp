#include "exchange/XmlLexicalCheck.h"

#include "app/StringTable.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kLastCodePoint = 0x10FFFF;

// The bytes that end a run of plain bytes inside a tag.
struct STagSpecialBytes
{
    bool table[256] = {};
    constexpr STagSpecialBytes()
    {
        for (const char c : {'>', '<', '[', '"', '\''})
            table[static_cast<unsigned char>(c)] = true;
    }
};
constexpr STagSpecialBytes kTagSpecial;

// The bytes that end an element's name in its tag.
struct SNameEndBytes
{
    bool table[256] = {};
    constexpr SNameEndBytes()
    {
        for (const char c : {' ', '\t', '\n', '\r', '/', '>'})
            table[static_cast<unsigned char>(c)] = true;
    }
};
constexpr SNameEndBytes kNameEnd;

// The bytes that matter inside an attribute value closed by the quote.
struct SValueSpecialBytes
{
    bool table[256] = {};
    constexpr explicit SValueSpecialBytes(char quote)
    {
        for (const char c : {quote, '<', '&'})
            table[static_cast<unsigned char>(c)] = true;
    }
};
constexpr SValueSpecialBytes kDoubleQuotedSpecial('"');
constexpr SValueSpecialBytes kSingleQuotedSpecial('\'');

class CXmlLexer
{
public:
    explicit CXmlLexer(std::string_view xml = std::string_view())
        : m_xml(xml)
    {
    }

    // Also finds where the document may be cut in two.
    void SetSplit(SXmlChildSplit* split) { m_split = split; }

    // The check of a document held whole.
    std::optional<SXmlLexicalFault> Run()
    {
        size_t at = 0;
        while (at < m_xml.size()) {
            const EStep step = Step(at);
            if (step == EStep::Fault)
                return m_fault;
            if (step == EStep::NoMoreMarkup)
                break;
        }
        return Finish();
    }

    // The check of a document whose bytes are still arriving at `data`, one construct at a time on the
    // bytes there so far. A construct checked on a prefix of the document gives the same result as on
    // the whole document whenever it succeeds: each scan in it either looks for its terminator ("<",
    // ">", a quote, "-->", "]]>") and takes the first one, which the prefix and the document share when
    // the prefix holds it; or runs within bounds already found inside the prefix (references up to the
    // next "<", a tag's name up to its ">"). A scan that needs bytes past the cut finds nothing there
    // and ends the construct in a fault or, for the text after the last "<", in the end of the bytes.
    // So does a comparison cut short: "<!-", "<![CDA" or "<" at the cut are not taken for a comment, a
    // CDATA section or a processing instruction, and the tag read instead runs into "[" or the cut. Such
    // an outcome is set aside (a step changes the lexer only when it succeeds) and the construct is
    // checked again on more bytes.
    std::optional<SXmlLexicalFault> Follow(const char* data, IXmlArrivals& arrivals)
    {
        size_t at = 0;
        SXmlArrived arrived = arrivals.WaitFor(1);
        for (;;) {
            if (arrived.stopped)
                return std::nullopt;
            m_xml = std::string_view(data, arrived.size);
            if (at == arrived.size) {
                if (arrived.whole)
                    break;
                arrived = arrivals.WaitFor(at + 1);
                continue;
            }
            size_t next = at;
            const EStep step = Step(next);
            if (step != EStep::Advanced && !arrived.whole) {
                // Waiting until the bytes have grown by as many as this construct has already taken
                // keeps a long comment or text from being read again at every chunk.
                m_fault.reset();
                arrived = arrivals.WaitFor(arrived.size + (arrived.size - at));
                continue;
            }
            if (step == EStep::Fault)
                return m_fault;
            if (step == EStep::NoMoreMarkup)
                break;
            at = next;
        }
        return Finish();
    }

private:
    static constexpr size_t npos = std::string_view::npos;

    size_t Find(char c, size_t from, size_t end = npos) const
    {
        end = std::min(end, m_xml.size());
        if (from >= end)
            return npos;
        const void* found = std::memchr(m_xml.data() + from, c, end - from);
        return found ? size_t(static_cast<const char*>(found) - m_xml.data()) : npos;
    }

    bool StartsWith(size_t at, std::string_view text) const { return m_xml.substr(at, text.size()) == text; }

    void Fault(size_t offset, unsigned what) { m_fault = SXmlLexicalFault{offset, what}; }

    enum class EStep
    {
        Advanced,     // past the next markup
        NoMoreMarkup, // the text from `at` is the rest of the bytes
        Fault,
    };

    // The text from `at` up to the next "<", then the markup there; moves `at` past it. Changes the
    // open elements and the end of the last element tag only when it advances.
    EStep Step(size_t& at)
    {
        const size_t open = Find('<', at);
        if (!CheckReferences(at, open))
            return EStep::Fault;
        if (open == npos)
            return EStep::NoMoreMarkup;
        const size_t next = Markup(open);
        if (next == npos)
            return EStep::Fault;
        at = next;
        return EStep::Advanced;
    }

    std::optional<SXmlLexicalFault> Finish()
    {
        if (!EndsWithTagEnd())
            Fault(m_xml.size(), StringId::XmlNoEndingTag);
        else if (!m_open.empty())
            Fault(m_open.back().second, StringId::XmlElementNotClosed);
        return m_fault;
    }

    // The markup that starts at the "<" at `open`; returns the offset past it, npos on a fault.
    size_t Markup(size_t open)
    {
        // Most markup is element tags: the others all start with "<!" or "<?".
        const char second = open + 1 < m_xml.size() ? m_xml[open + 1] : '\0';
        if (second == '!' || second == '?') {
            if (StartsWith(open, "<!--"))
                return Closed(open, open + 4, "-->", StringId::XmlUnclosedComment);
            if (StartsWith(open, "<![CDATA["))
                return Closed(open, open + 9, "]]>", StringId::XmlUnclosedCdata);
            // The parser reads the inside of a processing instruction as attributes.
            if (second == '?')
                return Tag(open, true, StringId::XmlUnclosedInstruction);
            return Tag(open, false, StringId::XmlUnclosedTag);
        }
        const size_t end = Tag(open, true, StringId::XmlUnclosedTag);
        if (end == npos || !Nest(open, end))
            return npos;
        m_lastMarkupEnd = end;
        return end;
    }

    // The name of the element tag that starts at `from`.
    std::string_view TagName(size_t from, size_t end) const
    {
        size_t at = from;
        while (at < end && !kNameEnd.table[static_cast<unsigned char>(m_xml[at])])
            ++at;
        return m_xml.substr(from, at - from);
    }

    // Whether the end tag whose name starts at `from` names the element.
    bool EndTagNames(size_t from, size_t end, std::string_view name) const
    {
        if (end - from <= name.size())
            return false;
        // Most names are a few letters, which a loop compares faster than a call.
        const char* text = m_xml.data() + from;
        for (size_t i = 0; i < name.size(); ++i) {
            if (text[i] != name[i])
                return false;
        }
        return kNameEnd.table[static_cast<unsigned char>(text[name.size()])];
    }

    // Keeps the open elements: an end tag closes the last one opened, by its name.
    bool Nest(size_t open, size_t end)
    {
        if (m_xml[open + 1] == '/') {
            if (m_open.empty()) {
                Fault(open, StringId::XmlEndTagWithoutStart);
                return false;
            }
            if (!EndTagNames(open + 2, end, m_open.back().first)) {
                Fault(open, StringId::XmlEndTagMismatch);
                return false;
            }
            m_open.pop_back();
            return true;
        }
        if (m_split && m_split->at == SXmlChildSplit::npos && open >= m_split->from && m_open.size() == 2) {
            m_split->at = open;
            m_split->rootName = m_open.front().first;
            m_split->parentName = m_open.back().first;
        }
        if (m_xml[end - 2] != '/')
            m_open.emplace_back(TagName(open + 1, end), open);
        return true;
    }

    size_t Closed(size_t open, size_t from, std::string_view end, unsigned what)
    {
        const size_t found = m_xml.find(end, from);
        if (found == npos) {
            Fault(open, what);
            return npos;
        }
        return found + end.size();
    }

    // A start or end tag, or a declaration such as a document type (whose values hold no references).
    size_t Tag(size_t open, bool element, unsigned unclosed)
    {
        for (size_t at = open + 1; at < m_xml.size(); ++at) {
            while (at < m_xml.size() && !kTagSpecial.table[static_cast<unsigned char>(m_xml[at])])
                ++at; // most of a workbook's XML is tags: skipping plain bytes by table keeps this fast
            if (at == m_xml.size())
                break;
            const char c = m_xml[at];
            if (c == '>')
                return at + 1;
            if (c == '<') {
                Fault(open, unclosed);
                return npos;
            }
            if (c == '[' && !element) {
                Fault(open, StringId::XmlInternalSubset);
                return npos;
            }
            if (c == '"' || c == '\'') {
                // One pass finds the closing quote, a "<" before it and the first reference; the
                // references are checked once the value is known to be closed.
                const bool* special = c == '"' ? kDoubleQuotedSpecial.table : kSingleQuotedSpecial.table;
                size_t close = at + 1;
                size_t firstReference = npos;
                for (;; ++close) {
                    while (close < m_xml.size() && !special[static_cast<unsigned char>(m_xml[close])])
                        ++close;
                    if (close == m_xml.size() || m_xml[close] == '<') {
                        Fault(at, StringId::XmlUnclosedAttribute);
                        return npos;
                    }
                    if (m_xml[close] == c)
                        break;
                    if (firstReference == npos)
                        firstReference = close;
                }
                if (element && firstReference != npos && !CheckReferences(firstReference, close))
                    return npos;
                at = close;
            }
        }
        Fault(open, unclosed);
        return npos;
    }

    // Every "&" in [from, end) starts a well-formed reference.
    bool CheckReferences(size_t from, size_t end)
    {
        end = std::min(end, m_xml.size());
        for (size_t amp = Find('&', from, end); amp != npos; amp = Find('&', amp + 1, end)) {
            if (const unsigned fault = ReferenceFault(m_xml.substr(amp + 1, end - amp - 1))) {
                Fault(amp, fault);
                return false;
            }
        }
        return true;
    }

    static int DigitValue(char c, int base)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (base == 16 && c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    static bool IsNameByte(char c)
    {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               c == '-' || c == '.' || c == ':';
    }

    // What is wrong with the text after "&", which must be a defined entity's name or the number of a
    // character, then ";"; null when nothing is. Without a document type only XML's five entities exist.
    static unsigned ReferenceFault(std::string_view body)
    {
        size_t length = 0;
        if (!body.empty() && body.front() == '#') {
            int base = 10;
            size_t first = 1;
            if (body.size() > 1 && body[1] == 'x') {
                base = 16;
                first = 2;
            }
            std::uint32_t value = 0;
            for (length = first; length < body.size(); ++length) {
                const int digit = DigitValue(body[length], base);
                if (digit < 0)
                    break;
                value = value * std::uint32_t(base) + std::uint32_t(digit);
                if (value > kLastCodePoint)
                    return StringId::XmlMalformedReference; // also keeps the value from overflowing
            }
            if (length == first || length >= body.size() || body[length] != ';')
                return StringId::XmlMalformedReference;
            if (value == 0)
                return StringId::XmlReferenceToNul;
            if (value >= 0xD800 && value <= 0xDFFF)
                return StringId::XmlReferenceToSurrogate;
            return 0;
        }
        while (length < body.size() && IsNameByte(body[length]))
            ++length;
        if (length == 0 || length >= body.size() || body[length] != ';')
            return StringId::XmlMalformedReference;
        const std::string_view name = body.substr(0, length);
        if (name != "amp" && name != "lt" && name != "gt" && name != "quot" && name != "apos")
            return StringId::XmlUndefinedEntity;
        return 0;
    }

    // Whether an element's tag is the last thing before the closing blanks: the parser reads past the
    // end of a document that ends in a reference, a comment or a CDATA section.
    bool EndsWithTagEnd() const
    {
        size_t end = m_xml.size();
        while (end > 0 &&
               (m_xml[end - 1] == ' ' || m_xml[end - 1] == '\t' || m_xml[end - 1] == '\n' || m_xml[end - 1] == '\r'))
            --end;
        return end > 0 && end == m_lastMarkupEnd;
    }

    std::string_view m_xml;
    size_t m_lastMarkupEnd = npos;                           // past the last element tag
    std::vector<std::pair<std::string_view, size_t>> m_open; // the open elements' names and tag offsets
    SXmlChildSplit* m_split = nullptr;
    std::optional<SXmlLexicalFault> m_fault;
};

} // namespace

std::optional<SXmlLexicalFault> FindXmlLexicalFault(std::string_view xml, SXmlChildSplit* split)
{
    CXmlLexer lexer(xml);
    lexer.SetSplit(split);
    return lexer.Run();
}

std::optional<SXmlLexicalFault> FindXmlLexicalFault(const char* xml, IXmlArrivals& arrivals, SXmlChildSplit* split)
{
    CXmlLexer lexer;
    lexer.SetSplit(split);
    return lexer.Follow(xml, arrivals);
}
