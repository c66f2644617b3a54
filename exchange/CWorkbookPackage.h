#pragma once

#include "app/StringTable.h"
#include "exchange/CZipDirectory.h"
#include "exchange/ImportLimits.h"
#include "exchange/XmlLexicalCheck.h"

#include <QFile>
#include <QString>

#include <orcus/sax_parser.hpp>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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
    // sheet of a large table that would touch tens of megabytes once more.
    class Bytes
    {
    public:
        Bytes() = default;
        explicit Bytes(size_t size)
            : m_data(new char[size])
            , m_size(size)
        {
        }
        char* data() { return m_data.get(); }
        const char* data() const { return m_data.get(); }
        size_t size() const { return m_size; }
        bool empty() const { return m_size == 0; }

    private:
        std::unique_ptr<char[]> m_data;
        size_t m_size = 0;
    };

    explicit CWorkbookPackage(const SImportLimits& limits);

    // False when the file is no zip archive or a part is larger than the limits; ErrorString() says why.
    bool Open(const QString& path);
    QString ErrorString() const { return m_error; }
    const CZipDirectory& Directory() const { return m_directory; }

    // The unpacked part followed by one NUL byte (which the XML parser may look at past the end); empty
    // when the package has no such part and it is not required. Throws CPackageError.
    Bytes Part(const std::string& name, bool required) const;

    // Checks the part's XML (its faults name the part and the byte), then hands it to the handler. The
    // check comes first because the parser aborts or reads past the buffer on some faults it checks for.
    template <typename Handler>
    static void ParseXml(const std::string& name, const Bytes& xml, Handler& handler)
    {
        if (xml.size() <= 1)
            throw CPackageError(MessageString(StringId::PartEmpty).arg(QString::fromStdString(name)));
        const std::string_view text(xml.data(), xml.size() - 1);
        if (const auto fault = FindXmlLexicalFault(text))
            throw CPackageError(
                MessageString(StringId::XmlFaultAt)
                    .arg(MessageString(fault->what), QString::number(fault->offset), QString::fromStdString(name)));
        orcus::sax_parser<Handler> parser(text.data(), text.size(), handler);
        parser.parse();
    }

private:
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
