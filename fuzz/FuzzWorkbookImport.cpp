// Import of .xlsx and .ods workbooks. The first byte chooses the layout, the current limits setting
// and what the rest is:
//   0  a whole .xlsx file
//   1  a whole .ods file
//   2  the first sheet's XML of an .xlsx package, then a NUL byte and its shared strings' XML
//   3  the content.xml of an .ods package
// Kinds 2 and 3 wrap the bytes into a well-formed package, so that mutations reach the XML readers
// instead of stopping at the zip archive's checks.

#include "exchange/PluImport.h"
#include "fuzz/FuzzSupport.h"

#include "HandMadePackage.h"

#include <cstddef>
#include <cstdint>

namespace {

QByteArray XlsxPackage(const QByteArray& sheet, const QByteArray& sharedStrings)
{
    const QByteArray rootRels = QByteArrayLiteral(
        "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    const QByteArray workbook = QByteArrayLiteral(
        "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
        "<sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    const QByteArray workbookRels = QByteArrayLiteral(
        "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
        "Target=\"sharedStrings.xml\"/></Relationships>");
    using HandMadePackage::Stored;
    return HandMadePackage::Zip({Stored("_rels/.rels", rootRels), Stored("xl/workbook.xml", workbook),
                                 Stored("xl/_rels/workbook.xml.rels", workbookRels),
                                 Stored("xl/worksheets/sheet1.xml", sheet),
                                 Stored("xl/sharedStrings.xml", sharedStrings)});
}

QByteArray OdsPackage(const QByteArray& content)
{
    const QByteArray manifest = QByteArrayLiteral(
        "<?xml version=\"1.0\"?><manifest:manifest "
        "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
        "manifest:version=\"1.2\"><manifest:file-entry manifest:full-path=\"/\" "
        "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/><manifest:file-entry "
        "manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/></manifest:manifest>");
    using HandMadePackage::Stored;
    return HandMadePackage::Zip({Stored("mimetype", "application/vnd.oasis.opendocument.spreadsheet"),
                                 Stored("content.xml", content), Stored("META-INF/manifest.xml", manifest)});
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const EPluMode pluMode = (data[0] & 1) ? EPluMode::Counting : EPluMode::Pricing;
    const ELimitMode limitMode = ((data[0] >> 1) & 1) ? ELimitMode::On : ELimitMode::Off;
    const int kind = (data[0] >> 2) & 3;
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QString path;
    switch (kind) {
    case 0: path = FuzzSupport::ScratchFile(QStringLiteral("table.xlsx"), rest); break;
    case 1: path = FuzzSupport::ScratchFile(QStringLiteral("table.ods"), rest); break;
    case 2: {
        const qsizetype nul = rest.indexOf('\0');
        const QByteArray sheet = nul < 0 ? rest : rest.left(nul);
        const QByteArray strings = nul < 0 ? QByteArray() : rest.mid(nul + 1);
        path = FuzzSupport::ScratchFile(QStringLiteral("table.xlsx"), XlsxPackage(sheet, strings));
        break;
    }
    default: path = FuzzSupport::ScratchFile(QStringLiteral("table.ods"), OdsPackage(rest)); break;
    }
    FuzzSupport::CheckImport(ReadImportFile(path, pluMode, limitMode, FuzzSupport::Limits()), path, pluMode);
    return 0;
}
