#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The XML parser of the workbook library trusts a document to be lexically sound: on some malformed
// documents it reads past the end of its buffer and stops the whole program on an assertion instead of
// reporting an error, for example on an attribute value that holds a reference and is never closed,
// a reference that ends the document, an unclosed comment or CDATA section, or a character reference
// outside Unicode. Every part of a workbook is therefore checked here before the parser sees it.
//
// The check: references are XML's five entities ("&amp;", ...) or character numbers ("&#65;", "&#x41;")
// of characters other than U+0000 and the halves of surrogate pairs, outside comments and CDATA sections;
// every attribute value (also inside a processing instruction) is closed by its quote before its tag
// ends and holds no "<"; comments, CDATA sections, processing instructions and tags are closed; every
// end tag closes the element opened last, by its name, and every element is closed; a document type has
// no internal subset; and the document ends with an element's tag (blanks may follow). The parser itself
// would take the rest of an undefined entity as text and accept end tags that do not match.
struct SXmlLexicalFault
{
    std::size_t offset = 0; // of the construct at fault
    unsigned what = 0;      // the string ID that names the fault: "an unclosed comment", ...
};

// A place where a large document can be cut in two for its halves to be parsed side by side: the first
// start tag at or after `from` of a grandchild of the root element, with the names of the root and of
// the grandchild's parent as their tags spell them. `at` stays npos when there is none.
struct SXmlChildSplit
{
    static constexpr std::size_t npos = std::string_view::npos;
    std::size_t from = 0;
    std::size_t at = npos;
    std::string_view rootName;
    std::string_view parentName;
};

// With a split, the check also finds it.
std::optional<SXmlLexicalFault> FindXmlLexicalFault(std::string_view xml, SXmlChildSplit* split = nullptr);

// What has arrived of a document whose bytes come in order into one buffer, as they are unpacked.
struct SXmlArrived
{
    std::size_t size = 0; // the bytes from the buffer's start that may be read
    bool whole = false;   // they are the whole document
    bool stopped = false; // no more will come, though the document is not whole
};

class IXmlArrivals
{
public:
    virtual ~IXmlArrivals() = default;
    // Waits until at least `size` bytes have arrived, or the document is whole, or the bytes stop.
    virtual SXmlArrived WaitFor(std::size_t size) = 0;
};

// The same check, following the bytes of a document as they arrive at `xml`: the result is the one the
// whole document gives. Nothing when the bytes stop coming (whoever stops them knows why, and a fault
// in the bytes so far may be due to what stopped them).
std::optional<SXmlLexicalFault> FindXmlLexicalFault(const char* xml, IXmlArrivals& arrivals,
                                                    SXmlChildSplit* split = nullptr);
