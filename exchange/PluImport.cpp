#include "exchange/PluImport.h"

#include "exchange/CCsvRecordReader.h"
#include "exchange/CStdioFileEx.h"
#include "exchange/DecimalComma.h"
#include "exchange/PluFileLayout.h"
#include "exchange/Workbook.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <thread>
#include <utility>

namespace {

// Builds one table row at a time the way Import fills the grid: column 0 numbered, every cell set as
// text made editable, the pricing layout's Quantity pricing turned into a check cell.
class CRowBuilder
{
public:
    CRowBuilder(int pluMode, int limitMode)
        : m_pluMode(pluMode)
        , m_tableColumns(PluFileLayout::TableColumnCount(pluMode, limitMode))
    {
    }

    int TableColumns() const { return m_tableColumns; }

    // Starts a row that will get at most `cells` cells after its number.
    void Begin(int index, int cells)
    {
        m_index = index;
        m_row = SGridRow();
        m_row.cells.reserve(std::min(cells, m_tableColumns - 1) + 1);
        m_row.cells.append(QString::number(index + 1));
        m_row.records.reserve(size_t(std::min(cells, m_tableColumns - 1)));
    }

    void SetText(int tableColumn, const QString& text)
    {
        if (tableColumn >= m_tableColumns)
            return;
        if (PluFileLayout::IsQuantityPricingColumn(m_pluMode, tableColumn))
            SetCheck(PluFileLayout::QuantityPricingChecked(text));
        else
            SetEditable(tableColumn, text);
    }

    void SetNumber(int tableColumn, double value)
    {
        if (tableColumn >= m_tableColumns)
            return;
        if (PluFileLayout::IsQuantityPricingColumn(m_pluMode, tableColumn))
            SetCheck(PluFileLayout::QuantityPricingChecked(value));
        else
            SetEditable(tableColumn,
                        PluFileLayout::NumberCellText(value, PluFileLayout::IsDecimalColumn(m_pluMode, tableColumn)));
    }

    SGridRow Take() { return std::move(m_row); }

private:
    void SetCell(int column, const QString& text)
    {
        if (m_row.cells.size() <= column)
            m_row.cells.resize(column + 1);
        m_row.cells[column] = text;
    }

    void SetEditable(int column, const QString& text)
    {
        SetCell(column, text);
        SEditCtrl record;
        record.nRow = m_index;
        record.nCol = column;
        record.nType = CET_EDIT;
        m_row.records.push_back(record);
    }

    void SetCheck(bool checked)
    {
        SetCell(kCheckColumn, checked ? CheckedText() : UncheckedText());
        SEditCtrl record;
        record.nRow = m_index;
        record.nCol = kCheckColumn;
        record.nCheck = checked ? 1 : 0;
        record.nType = CET_CHECK;
        m_row.records.push_back(record);
    }

    int m_pluMode;
    int m_tableColumns;
    int m_index = 0;
    SGridRow m_row;
};

SImportResult Failure(const QString& message)
{
    SImportResult result;
    result.error = message;
    return result;
}

QString CannotRead(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot import %1:\n%2").arg(path, reason);
}

// 1048576 -> "1,048,576"
QString Grouped(int number)
{
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

QString TooManyRows(const QString& path, int maxRows)
{
    return CannotRead(path, QStringLiteral("it has more than %1 rows, the header included; Import reads up to %1")
                                .arg(Grouped(maxRows)));
}

QString TooLarge(const QString& path, qint64 maxBytes)
{
    return CannotRead(path, QStringLiteral("it is larger than %1, the most Import reads from a .csv or .xls file")
                                .arg(DescribeByteCount(maxBytes)));
}

SImportResult ReadTextFile(const QString& path, int pluMode, int limitMode, const SImportLimits& limits)
{
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::kModeRead | CStdioFileEx::kTypeText))
        return Failure(QStringLiteral("Open file fail\n%1:\n%2").arg(path, file.ErrorString()));

    SImportResult result;
    result.limitMode = limitMode;
    CCsvRecordReader reader(file);
    QStringList fields;
    if (reader.ReadRecord(fields)) {
        result.columnCount = std::min(int(fields.size()), kMaxTextColumns);
        result.limitMode = PluFileLayout::WantedLimitMode(pluMode, result.columnCount);
        // Where the comma does not separate fields, it is the decimal sign of numbers.
        const bool decimalComma = reader.Separator() != QLatin1Char(',');
        CRowBuilder builder(pluMode, result.limitMode);
        const int used = std::min(result.columnCount, builder.TableColumns() - 1);
        while (reader.ReadRecord(fields)) {
            // The file was measured before; this holds one that grows meanwhile.
            if (file.BytesRead() > limits.maxFileBytes)
                return Failure(TooLarge(path, limits.maxFileBytes));
            if (int(result.rows.size()) + 1 >= limits.maxRows)
                return Failure(TooManyRows(path, limits.maxRows));
            const int count = std::min(used, int(fields.size()));
            builder.Begin(int(result.rows.size()), count);
            for (int j = 0; j < count; ++j) {
                const bool decimal = decimalComma && PluFileLayout::IsDecimalColumn(pluMode, j + 1);
                builder.SetText(j + 1, decimal ? WithDecimalPoint(fields[j]) : fields[j]);
            }
            result.rows.push_back(builder.Take());
        }
    }
    if (file.HasReadError())
        return Failure(CannotRead(path, file.ErrorString()));
    if (reader.UnclosedQuoteLine() != 0)
        return Failure(CannotRead(path, QStringLiteral("the quote that opens a field on line %1 is never closed")
                                            .arg(reader.UnclosedQuoteLine())));
    result.ok = true;
    return result;
}

// Runs work(first, end) over [0, count) in chunks on up to four threads: building a large table is
// mostly memory allocation, which the threads' own allocator arenas do side by side.
void ForEachChunk(int count, const std::function<void(int, int)>& work)
{
    constexpr int kMinRowsPerThread = 8192;
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    const int chunks = std::clamp(count / kMinRowsPerThread, 1, threads);
    if (chunks == 1) {
        work(0, count);
        return;
    }
    std::vector<std::thread> workers;
    std::vector<std::exception_ptr> errors(static_cast<size_t>(chunks));
    const int perChunk = (count + chunks - 1) / chunks;
    for (int chunk = 1; chunk < chunks; ++chunk) {
        workers.emplace_back([&, chunk] {
            try {
                work(chunk * perChunk, std::min(count, (chunk + 1) * perChunk));
            } catch (...) {
                errors[size_t(chunk)] = std::current_exception();
            }
        });
    }
    try {
        work(0, std::min(count, perChunk));
    } catch (...) {
        errors[0] = std::current_exception();
    }
    for (std::thread& worker : workers)
        worker.join();
    for (const std::exception_ptr& error : errors) {
        if (error)
            std::rethrow_exception(error);
    }
}

SImportResult ReadWorkbook(const QString& path, EWorkbookFormat format, int pluMode, const SImportLimits& limits)
{
    const std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(format, limits);
    if (!reader->Load(path))
        return Failure(CannotRead(path, reader->ErrorString()));

    SImportResult result;
    const int lastRow = reader->LastRow();
    // Every row up to the last used one becomes a table row, so one far-away cell decides the count.
    if (lastRow > limits.maxRows)
        return Failure(TooManyRows(path, limits.maxRows));
    const int lastCol = reader->LastCol();
    result.columnCount = lastCol;
    result.limitMode = PluFileLayout::WantedLimitMode(pluMode, lastCol);
    const int tableColumns = PluFileLayout::TableColumnCount(pluMode, result.limitMode);
    const int used = std::min(lastCol, tableColumns - 1);
    result.rows.resize(size_t(std::max(lastRow - 1, 0)));
    ForEachChunk(int(result.rows.size()), [&](int first, int end) {
        CRowBuilder builder(pluMode, result.limitMode);
        for (int index = first; index < end; ++index) {
            builder.Begin(index, used);
            for (int column = 0; column < used; ++column) {
                const SWorkbookCell cell = reader->Cell(index + 1, column);
                if (cell.isNumber)
                    builder.SetNumber(column + 1, cell.number);
                else
                    builder.SetText(column + 1, cell.text);
            }
            result.rows[size_t(index)] = builder.Take();
        }
    });
    result.ok = true;
    return result;
}

} // namespace

QString AsciiUpperEnding(const QString& path, int length)
{
    QString ending = path.right(length);
    for (QChar& c : ending) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return ending;
}

EImportRoute ImportRouteFor(const QString& path)
{
    const QString ending = AsciiUpperEnding(path, 4);
    if (ending == QLatin1String(".CSV"))
        return EImportRoute::Text;
    if (ending == QLatin1String(".XLS"))
        return EImportRoute::Xls;
    if (ending == QLatin1String(".ODS"))
        return EImportRoute::Ods;
    return EImportRoute::Xlsx;
}

SImportResult ReadImportFile(const QString& path, int pluMode, int limitMode, const SImportLimits& limits)
{
    const EImportRoute route = ImportRouteFor(path);
    // Both are read whole: refused before reading when larger than the bound.
    if ((route == EImportRoute::Text || route == EImportRoute::Xls) && QFileInfo(path).size() > limits.maxFileBytes)
        return Failure(TooLarge(path, limits.maxFileBytes));
    switch (route) {
    case EImportRoute::Text: return ReadTextFile(path, pluMode, limitMode, limits);
    case EImportRoute::Xls: return ReadWorkbook(path, EWorkbookFormat::Xls, pluMode, limits);
    case EImportRoute::Ods: return ReadWorkbook(path, EWorkbookFormat::Ods, pluMode, limits);
    case EImportRoute::Xlsx: break;
    }
    return ReadWorkbook(path, EWorkbookFormat::Xlsx, pluMode, limits);
}
