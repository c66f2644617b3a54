#include "fuzz/FuzzSupport.h"

#include "app/Language.h"
#include "exchange/ImportLimits.h"
#include "plu/PluLayout.h"
#include "exchange/PluImport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>

namespace FuzzSupport {

namespace {

QTemporaryDir& ScratchFolder()
{
    static QTemporaryDir folder;
    if (!folder.isValid())
        Broken("scratch folder", "cannot create a temporary folder");
    return folder;
}

quint32 Crc32(const QByteArray& bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> entries{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[i] = c;
        }
        return entries;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

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

void Initialize()
{
    static int argc = 1;
    static char name[] = "talvex-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* application = new QCoreApplication(argc, argv);
    (void)application;
    Language::SetLanguageInForce(Language::kEnglishUnitedStates);
    ScratchFolder();
}

QString ScratchFile(const QString& name, const std::uint8_t* data, std::size_t size)
{
    return ScratchFile(name, QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
}

QString ScratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = ScratchFolder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        Broken("scratch file", path.toStdString());
    return path;
}

void Broken(const char* property, const std::string& detail)
{
    std::fprintf(stderr, "\nBROKEN PROPERTY: %s\n%s\n", property, detail.c_str());
    std::fflush(stderr);
    __builtin_trap();
}

SImportLimits Limits()
{
    SImportLimits limits;
    limits.maxRows = 4096;
    return limits;
}

void CheckImport(const SImportResult& result, const QString& path, EPluMode pluMode)
{
    if (!result.ok) {
        FUZZ_CHECK(!result.error.isEmpty(), "a failed import says why");
        FUZZ_CHECK(result.error.contains(path), result.error.toStdString());
        FUZZ_CHECK(result.rows.empty(), "a failed import gives no rows");
        return;
    }
    FUZZ_CHECK(result.pluMode == pluMode, "the rows are laid out for the table's layout");
    // A text file without a first line keeps the limits setting; every other import decides it.
    if (pluMode == EPluMode::Pricing && result.columnCount >= 0)
        FUZZ_CHECK(result.limitMode == ELimitMode::Off, "the pricing layout has no limits");
    FUZZ_CHECK(result.rows.size() < size_t(Limits().maxRows), std::to_string(result.rows.size()));
    const int tableColumns = PluLayout::ColumnCount(pluMode, result.limitMode);
    const int checkColumn = PluLayout::CheckColumn(pluMode);
    for (size_t i = 0; i < result.rows.size(); ++i) {
        const SGridRow& row = result.rows[i];
        const std::string where = "row " + std::to_string(i) + " of " + std::to_string(result.rows.size());
        FUZZ_CHECK(row.cells.size() <= tableColumns, where + ": " + std::to_string(row.cells.size()) + " cells");
        // Sr.No. is the row's place in the table, not a text of its own.
        FUZZ_CHECK(row.cells[PluLayout::kSrNoColumn].isEmpty(), where + ": Sr.No. " + row.cells[0].toStdString());
        if (checkColumn >= 0) {
            const bool checked = !row.records.empty();
            FUZZ_CHECK(row.cells[checkColumn] == (checked ? CheckedText() : UncheckedText()), where);
        }
        // Only a set mark differs from the layout's column records.
        FUZZ_CHECK(row.records.size() <= 1, where + ": " + std::to_string(row.records.size()) + " records");
        for (const SEditCtrl& record : row.records) {
            FUZZ_CHECK(record.nCol == checkColumn, where + ": " + std::to_string(record.nCol));
            FUZZ_CHECK(record.nType == CET_CHECK && record.nCheck == 1, where);
        }
    }
}

QByteArray StoredZip(const std::vector<std::pair<QByteArray, QByteArray>>& entries)
{
    QByteArray archive;
    QByteArray directory;
    for (const auto& [name, content] : entries) {
        const quint32 offset = quint32(archive.size());
        const quint32 crc = Crc32(content);
        Put32(archive, 0x04034b50);
        Put16(archive, 20);
        Put16(archive, 0);
        Put16(archive, 0); // stored
        Put16(archive, 0);
        Put16(archive, 0x21);
        Put32(archive, crc);
        Put32(archive, quint32(content.size()));
        Put32(archive, quint32(content.size()));
        Put16(archive, quint32(name.size()));
        Put16(archive, 0);
        archive.append(name);
        archive.append(content);

        Put32(directory, 0x02014b50);
        Put16(directory, 20);
        Put16(directory, 20);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0x21);
        Put32(directory, crc);
        Put32(directory, quint32(content.size()));
        Put32(directory, quint32(content.size()));
        Put16(directory, quint32(name.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, 0);
        Put32(directory, offset);
        directory.append(name);
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

} // namespace FuzzSupport
