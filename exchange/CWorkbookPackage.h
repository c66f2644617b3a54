#pragma once

#include "exchange/CZipDirectory.h"
#include "exchange/ImportLimits.h"
#include "exchange/XmlLexicalCheck.h"

#include <QFile>
#include <QString>

#include <orcus/sax_parser.hpp>

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

// A package that is a zip archive but not a readable workbook: a part missing, damaged or malformed.
class CPackageError : public std::runtime_error
{
public:
    // The message in the language of messages; what() holds it as UTF-8.
    explicit CPackageError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
};

// The zip package of a workbook (.xlsx, .ods), read part by part. Before anything is unpacked, every
// part's declared size is held to the limits; a part must then unpack to exactly its declared size and
// checksum, so that a damaged or lying archive is refused rather than read cut short or padded.
// Parts may be read from several threads at once.
class CWorkbookPackage
{
public:
    // The bytes of a part. Unpacking writes every byte, so the buffer is not cleared first: for the
    // sheet of a large table that would touch tens of megabytes once more. A large buffer is placed
    // where the system can back it with large memory pages, which takes fewer page faults to fill.
    class Bytes
    {
    public:
        Bytes() = default;
        explicit Bytes(size_t size);
        ~Bytes();
        Bytes(Bytes&& other) noexcept;
        Bytes& operator=(Bytes&& other) noexcept;
        Bytes(const Bytes&) = delete;
        Bytes& operator=(const Bytes&) = delete;

        char* data() { return m_data; }
        const char* data() const { return m_data; }
        size_t size() const { return m_size; }
        bool empty() const { return m_size == 0; }

    private:
        void Release();

        char* m_data = nullptr;
        size_t m_size = 0;
        size_t m_mapped = 0; // the length of the mapping that holds the bytes; 0 when they were allocated
    };

    // A part whose XML has passed the lexical check whole, after it unpacked to its declared size and
    // checksum: only such a part is handed to the XML parser.
    class CCheckedXml
    {
    public:
        // The part is absent (and was not required).
        bool empty() const { return m_bytes.empty(); }
        // Followed by one NUL byte, which the parser may look at past the end.
        std::string_view Text() const
        {
            return m_bytes.empty() ? std::string_view() : std::string_view(m_bytes.data(), m_bytes.size() - 1);
        }
        // Where a large part may be cut in two (at the first grandchild of its root past the middle);
        // none (npos) for a small part.
        const SXmlChildSplit& Split() const { return m_split; }

    private:
        friend class CWorkbookPackage;
        CCheckedXml() = default;
        CCheckedXml(Bytes bytes, const SXmlChildSplit& split)
            : m_bytes(std::move(bytes))
            , m_split(split)
        {
        }

        Bytes m_bytes;
        SXmlChildSplit m_split;
    };

    explicit CWorkbookPackage(const SImportLimits& limits);

    // False when the file is no zip archive or a part is larger than the limits; ErrorString() says why.
    bool Open(const QString& path);
    QString ErrorString() const { return m_error; }
    const CZipDirectory& Directory() const { return m_directory; }

    // The unpacked part followed by one NUL byte; empty when the package has no such part and it is not
    // required. Throws CPackageError.
    Bytes Part(const std::string& name, bool required) const;

    // The part unpacked and its XML checked (its faults name the part and the byte); empty when the
    // package has no such part and it is not required. Throws CPackageError. A large part is checked
    // while it unpacks, on the bytes unpacked so far.
    CCheckedXml CheckedXmlPart(const std::string& name, bool required) const;

    // Hands the checked XML to the handler. The check comes first because the parser aborts or reads
    // past the buffer on some faults it checks for.
    template <typename Handler>
    static void ParseXml(const CCheckedXml& xml, Handler& handler)
    {
        const std::string_view text = xml.Text();
        orcus::sax_parser<Handler> parser(text.data(), text.size(), handler);
        parser.parse();
    }

    // Hands the checked XML from its split on to the handler, inside start tags of its root and of the
    // split's parent: well formed when the part is, as the split is at a grandchild of the root. The
    // remainder is copied, since the first half may be parsed meanwhile. Nothing without a split.
    template <typename Handler>
    static void ParseXmlFromSplit(const CCheckedXml& xml, Handler& handler)
    {
        const SXmlChildSplit& split = xml.Split();
        const std::string_view text = xml.Text();
        if (split.at == SXmlChildSplit::npos || split.at >= text.size())
            return;
        std::string remainder;
        remainder.reserve(split.rootName.size() + split.parentName.size() + 4 + text.size() - split.at);
        remainder.append(1, '<').append(split.rootName).append("><").append(split.parentName).append(1, '>');
        remainder.append(text.substr(split.at));
        orcus::sax_parser<Handler> parser(remainder.data(), remainder.size(), handler); // NUL-terminated
        parser.parse();
    }

private:
    struct SPacked;
    // The part's entry; null when the package has none and it is not required (throws when it is).
    const CZipDirectory::SEntry* FindPart(const std::string& name, bool required) const;
    // Where the part's bytes lie in the archive, held to what its header and directory entry declare.
    SPacked Locate(const std::string& name, const CZipDirectory::SEntry& entry) const;

    SImportLimits m_limits;
    CZipDirectory m_directory;
    QFile m_file;
    const uchar* m_data = nullptr;
    qint64 m_size = 0;
    QString m_error;
};

// Opens the package at the path and runs read on it, turning every way it can fail into one message
// for the user: "not an .xlsx workbook (...)" for a file that is no intact zip archive, "not a readable
// .xlsx workbook: ..." for a package without a readable sheet. `format` names the kind (".xlsx").
bool ReadWorkbookPackage(const QString& path, const SImportLimits& limits, const QString& format,
                         const std::function<void(const CWorkbookPackage&)>& read, QString& error);

bool EndsWith(std::string_view text, std::string_view end);
