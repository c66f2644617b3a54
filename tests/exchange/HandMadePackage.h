#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// Zip archives built byte by byte, for workbook packages that no spreadsheet program would write:
// entries that unpack to gigabytes, or that declare a size other than the one they unpack to.
namespace HandMadePackage {

struct SEntry
{
    QByteArray name;
    QByteArray data; // as stored in the archive
    bool deflated = false;
    quint32 crc = 0;
    quint32 declaredSize = 0;                  // the unpacked size the directory declares
    std::optional<quint32> declaredPackedSize; // the packed size it declares, when not that of data
};

SEntry Stored(const QByteArray& name, const QByteArray& content);
SEntry Deflated(const QByteArray& name, const QByteArray& content);
// An entry of `count` zero bytes, compressed (about a thousandth of the size), declaring its true size.
SEntry DeflatedZeros(const QByteArray& name, qint64 count);

QByteArray Zip(const std::vector<SEntry>& entries);

// The parts of an .xlsx package around a first sheet (its XML given, or the entry for it).
std::vector<SEntry> XlsxParts(const SEntry& sheet);
QByteArray Xlsx(const QByteArray& sheetXml);
// A sheet with the given <sheetData> content.
QByteArray SheetXml(const QByteArray& sheetData, const QByteArray& dimension = QByteArray());

// The parts of an .ods package around content.xml.
std::vector<SEntry> OdsParts(const SEntry& content);
QByteArray Ods(const QByteArray& contentXml);
// A content.xml with one table holding the given rows.
QByteArray OdsContent(const QByteArray& tableRows);

bool WriteFile(const QString& path, const QByteArray& bytes);

} // namespace HandMadePackage
