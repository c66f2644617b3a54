#include "HandMadePackage.h"

#include <QFile>

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

namespace HandMadePackage {

namespace {

void Put16(QByteArray& out, quint32 value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void Put32(QByteArray& out, quint32 value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

SEntry Stored(const QByteArray& name, const QByteArray& content)
{
    SEntry entry;
    entry.name = name;
    entry.data = content;
    entry.crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(content.constData()), uInt(content.size())));
    entry.declaredSize = quint32(content.size());
    return entry;
}

SEntry Deflated(const QByteArray& name, const QByteArray& content)
{
    SEntry entry = Stored(name, content);
    entry.deflated = true;
    uLong packedSize = compressBound(uLong(content.size()));
    QByteArray packed(qsizetype(packedSize), '\0');
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.constData()));
    stream.avail_in = uInt(content.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = uInt(packed.size());
    deflate(&stream, Z_FINISH);
    packed.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    entry.data = packed;
    return entry;
}

SEntry DeflatedZeros(const QByteArray& name, qint64 count)
{
    SEntry entry;
    entry.name = name;
    entry.deflated = true;
    entry.declaredSize = quint32(count);
    z_stream stream{};
    // Raw deflate, as zip entries hold it.
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    const QByteArray zeros(1 << 20, '\0');
    uLong crc = crc32(0, nullptr, 0);
    QByteArray out(1 << 16, '\0');
    qint64 left = count;
    int flush = Z_NO_FLUSH;
    do {
        const qint64 take = std::min<qint64>(left, zeros.size());
        left -= take;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(zeros.constData()), uInt(take));
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.constData()));
        stream.avail_in = uInt(take);
        flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = uInt(out.size());
            deflate(&stream, flush);
            entry.data.append(out.constData(), out.size() - qsizetype(stream.avail_out));
        } while (stream.avail_out == 0);
    } while (flush != Z_FINISH);
    deflateEnd(&stream);
    entry.crc = quint32(crc);
    return entry;
}

QByteArray Zip(const std::vector<SEntry>& entries)
{
    QByteArray archive;
    QByteArray directory;
    for (const SEntry& entry : entries) {
        const quint32 offset = quint32(archive.size());
        const quint16 method = entry.deflated ? 8 : 0;
        Put32(archive, 0x04034b50);
        Put16(archive, 20);
        Put16(archive, 0);
        Put16(archive, method);
        Put16(archive, 0);
        Put16(archive, 0x21);
        Put32(archive, entry.crc);
        Put32(archive, quint32(entry.data.size()));
        Put32(archive, entry.declaredSize);
        Put16(archive, quint32(entry.name.size()));
        Put16(archive, 0);
        archive.append(entry.name);
        archive.append(entry.data);

        Put32(directory, 0x02014b50);
        Put16(directory, 20);
        Put16(directory, 20);
        Put16(directory, 0);
        Put16(directory, method);
        Put16(directory, 0);
        Put16(directory, 0x21);
        Put32(directory, entry.crc);
        Put32(directory, entry.declaredPackedSize.value_or(quint32(entry.data.size())));
        Put32(directory, entry.declaredSize);
        Put16(directory, quint32(entry.name.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, 0);
        Put32(directory, offset);
        directory.append(entry.name);
    }
    const quint32 directoryOffset = quint32(archive.size());
    archive.append(directory);
    Put32(archive, 0x06054b50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, quint32(entries.size()));
    Put16(archive, quint32(entries.size()));
    Put32(archive, quint32(directory.size()));
    Put32(archive, directoryOffset);
    Put16(archive, 0);
    return archive;
}

std::vector<SEntry> XlsxParts(const SEntry& sheet)
{
    return {
        Stored("_rels/.rels",
               "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
               "relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
               "2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"),
        Stored("xl/workbook.xml",
               "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
               "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
               "<sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"),
        Stored("xl/_rels/workbook.xml.rels",
               "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
               "relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
               "2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"),
        sheet,
    };
}

QByteArray Xlsx(const QByteArray& sheetXml)
{
    return Zip(XlsxParts(Stored("xl/worksheets/sheet1.xml", sheetXml)));
}

QByteArray SheetXml(const QByteArray& sheetData, const QByteArray& dimension)
{
    QByteArray xml = "<?xml version=\"1.0\"?><worksheet "
                     "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    if (!dimension.isEmpty())
        xml += "<dimension ref=\"" + dimension + "\"/>";
    return xml + "<sheetData>" + sheetData + "</sheetData></worksheet>";
}

std::vector<SEntry> OdsParts(const SEntry& content)
{
    return {
        Stored("mimetype", "application/vnd.oasis.opendocument.spreadsheet"),
        content,
        Stored("META-INF/manifest.xml",
               "<?xml version=\"1.0\"?><manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:"
               "manifest:1.0\" manifest:version=\"1.2\"><manifest:file-entry manifest:full-path=\"/\" "
               "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/><manifest:file-entry "
               "manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/></manifest:manifest>"),
    };
}

QByteArray Ods(const QByteArray& contentXml)
{
    return Zip(OdsParts(Stored("content.xml", contentXml)));
}

QByteArray OdsContent(const QByteArray& tableRows)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
           "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
           "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
           "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\">"
           "<office:body><office:spreadsheet><table:table table:name=\"Sheet1\">" +
           tableRows + "</table:table></office:spreadsheet></office:body></office:document-content>";
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace HandMadePackage
