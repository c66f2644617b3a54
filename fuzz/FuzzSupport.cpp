#include "fuzz/FuzzSupport.h"

#include "app/Language.h"
#include "exchange/ImportLimits.h"
#include "exchange/PluImport.h"
#include "plu/PluLayout.h"

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
        const SPluRow& row = result.rows[i];
        const std::string where = "row " + std::to_string(i) + " of " + std::to_string(result.rows.size());
        FUZZ_CHECK(row.cells.size() <= tableColumns, where + ": " + std::to_string(row.cells.size()) + " cells");
        // Sr.No. is the row's place in the table, not a text of its own.
        FUZZ_CHECK(row.cells[PluLayout::kSrNoColumn].isEmpty(), where + ": Sr.No. " + row.cells[0].toStdString());
        // The mark is the row's flag, not a text of the check column.
        if (checkColumn >= 0)
            FUZZ_CHECK(row.cells[checkColumn].isEmpty(), where + ": mark " + row.cells[checkColumn].toStdString());
        else
            FUZZ_CHECK(!row.checked, where + ": a mark without a check column");
    }
}

} // namespace FuzzSupport
