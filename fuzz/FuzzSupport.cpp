#include "fuzz/FuzzSupport.h"

#include "app/Language.h"
#include "exchange/ImportLimits.h"
#include "exchange/PluFileLayout.h"
#include "exchange/PluImport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

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

void CheckImport(const SImportResult& result, const QString& path, int pluMode)
{
    if (!result.ok) {
        FUZZ_CHECK(!result.error.isEmpty(), "a failed import says why");
        FUZZ_CHECK(result.error.contains(path), result.error.toStdString());
        FUZZ_CHECK(result.rows.empty(), "a failed import gives no rows");
        return;
    }
    FUZZ_CHECK(result.limitMode == 0 || result.limitMode == 1, std::to_string(result.limitMode));
    // A text file without a first line keeps the limits setting; every other import decides it.
    if (pluMode == PluFileLayout::kPricing && result.columnCount >= 0)
        FUZZ_CHECK(result.limitMode == 0, "the pricing layout has no limits");
    FUZZ_CHECK(result.rows.size() < size_t(Limits().maxRows), std::to_string(result.rows.size()));
    const int tableColumns = PluFileLayout::TableColumnCount(pluMode, result.limitMode);
    for (size_t i = 0; i < result.rows.size(); ++i) {
        const SGridRow& row = result.rows[i];
        const std::string where = "row " + std::to_string(i) + " of " + std::to_string(result.rows.size());
        FUZZ_CHECK(!row.cells.isEmpty() && row.cells.size() <= tableColumns,
                   where + ": " + std::to_string(row.cells.size()) + " cells");
        FUZZ_CHECK(row.cells[0] == QString::number(i + 1), where + ": numbered " + row.cells[0].toStdString());
        std::set<int> columns;
        for (const SEditCtrl& record : row.records) {
            FUZZ_CHECK(record.nRow == int(i), where);
            FUZZ_CHECK(record.nCol >= 1 && record.nCol < row.cells.size(), where + ": " + std::to_string(record.nCol));
            FUZZ_CHECK(columns.insert(record.nCol).second, where + ": two records in one cell");
            const bool check = PluFileLayout::IsQuantityPricingColumn(pluMode, record.nCol);
            FUZZ_CHECK(record.nType == (check ? CET_CHECK : CET_EDIT), where);
            if (check) {
                const QString mark = row.cells[record.nCol];
                FUZZ_CHECK(mark == (record.nCheck ? QString(QChar(0x221A)) : QString(QChar(0x00D7))), where);
            }
        }
    }
}

} // namespace FuzzSupport
