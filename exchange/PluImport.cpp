#include "exchange/PluImport.h"

#include "app/ForEachChunk.h"
#include "app/StringTable.h"
#include "exchange/CCsvRecordReader.h"
#include "exchange/CStdioFileEx.h"
#include "exchange/DecimalComma.h"
#include "exchange/PluFileLayout.h"
#include "exchange/Workbook.h"
#include "plu/PluLayout.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// Builds one table row at a time: file cell j goes to table column j+1, a number cell of a decimal
// column keeps six decimals, and the check column's cell sets the row's mark. Sr.No. is left to the
// row's position and the editors to the layout's columns. The row's texts are the caller's until
// Take() copies them into the row, so that a cell's text is copied once.
class CRowBuilder
{
public:
    CRowBuilder(EPluMode mode, ELimitMode limits)
        : m_fields(PluLayout::Fields(mode, limits))
        , m_checkColumn(PluLayout::CheckColumn(mode))
        , m_texts(m_fields.size())
        , m_numberTexts(m_fields.size())
    {
    }

    int TableColumns() const { return int(m_fields.size()); }

    void Begin()
    {
        std::fill(m_texts.begin(), m_texts.end(), QStringView());
        m_checked = false;
    }

    // The text must stay as it is until Take().
    void SetText(int tableColumn, QStringView text)
    {
        if (tableColumn >= TableColumns())
            return;
        if (tableColumn == m_checkColumn)
            m_checked = PluFileLayout::QuantityPricingChecked(text);
        else
            m_texts[std::size_t(tableColumn)] = text;
    }

    void SetNumber(int tableColumn, double value)
    {
        if (tableColumn >= TableColumns())
            return;
        if (tableColumn == m_checkColumn) {
            m_checked = PluFileLayout::QuantityPricingChecked(value);
        } else {
            QString& text = m_numberTexts[std::size_t(tableColumn)];
            text = PluFileLayout::NumberCellText(value, m_fields[std::size_t(tableColumn)].kind == EFieldKind::Decimal);
            m_texts[std::size_t(tableColumn)] = text;
        }
    }

    SPluRow Take()
    {
        SPluRow row;
        row.checked = m_checked;
        row.cells = m_texts;
        return row;
    }

private:
    const std::vector<SPluField>& m_fields;
    int m_checkColumn;
    std::vector<QStringView> m_texts;
    std::vector<QString> m_numberTexts; // the texts SetNumber makes, for m_texts to refer to
    bool m_checked = false;
};

SImportResult Failure(const QString& message)
{
    SImportResult result;
    result.error = message;
    return result;
}

QString CannotRead(const QString& path, const QString& reason)
{
    return MessageString(StringId::ImportCannotRead).arg(path, reason);
}

QString TooManyRows(const QString& path, int maxRows)
{
    return CannotRead(path, MessageString(StringId::ImportTooManyRows).arg(MessageNumber(maxRows)));
}

QString TooLarge(const QString& path, qint64 maxBytes)
{
    return CannotRead(path, MessageString(StringId::ImportTooLarge).arg(DescribeByteCount(maxBytes)));
}

SImportResult ReadTextFile(const QString& path, EPluMode mode, ELimitMode limits, const SImportLimits& bounds)
{
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::kModeRead | CStdioFileEx::kTypeText))
        return Failure(QStringLiteral("Open file fail\n%1:\n%2").arg(path, file.ErrorString()));

    SImportResult result;
    result.pluMode = mode;
    result.limitMode = limits;
    CCsvRecordReader reader(file);
    QStringList fields;
    if (reader.ReadRecord(fields)) {
        result.columnCount = std::min(int(fields.size()), kMaxTextColumns);
        result.limitMode = PluLayout::WantedLimitMode(mode, result.columnCount);
        // Where the comma does not separate fields, it is the decimal sign of numbers.
        const bool decimalComma = reader.Separator() != QLatin1Char(',');
        const std::vector<SPluField>& columns = PluLayout::Fields(mode, result.limitMode);
        CRowBuilder builder(mode, result.limitMode);
        const int used = std::min(result.columnCount, builder.TableColumns() - 1);
        while (reader.ReadRecord(fields)) {
            // The file was measured before; this holds one that grows meanwhile.
            if (file.BytesRead() > bounds.maxFileBytes)
                return Failure(TooLarge(path, bounds.maxFileBytes));
            if (int(result.rows.size()) + 1 >= bounds.maxRows)
                return Failure(TooManyRows(path, bounds.maxRows));
            const int count = std::min(used, int(fields.size()));
            builder.Begin();
            for (int j = 0; j < count; ++j) {
                if (decimalComma && columns[std::size_t(j) + 1].kind == EFieldKind::Decimal)
                    fields[j] = WithDecimalPoint(fields[j]);
                builder.SetText(j + 1, fields[j]);
            }
            result.rows.push_back(builder.Take());
        }
    }
    if (file.HasReadError())
        return Failure(CannotRead(path, file.ErrorString()));
    if (reader.UnclosedQuoteLine() != 0)
        return Failure(CannotRead(path, MessageString(StringId::ImportUnclosedQuote).arg(reader.UnclosedQuoteLine())));
    result.ok = true;
    return result;
}

SImportResult ReadWorkbook(const QString& path, EWorkbookFormat format, EPluMode mode, const SImportLimits& limits)
{
    const std::unique_ptr<IWorkbookReader> reader = CreateWorkbookReader(format, limits);
    if (!reader->Load(path))
        return Failure(CannotRead(path, reader->ErrorString()));

    SImportResult result;
    result.pluMode = mode;
    const int lastRow = reader->LastRow();
    // Every row up to the last used one becomes a table row, so one far-away cell decides the count.
    if (lastRow > limits.maxRows)
        return Failure(TooManyRows(path, limits.maxRows));
    const int lastCol = reader->LastCol();
    result.columnCount = lastCol;
    result.limitMode = PluLayout::WantedLimitMode(mode, lastCol);
    const int tableColumns = PluLayout::ColumnCount(mode, result.limitMode);
    const int used = std::min(lastCol, tableColumns - 1);
    result.rows.resize(size_t(std::max(lastRow - 1, 0)));
    ForEachChunk(int(result.rows.size()), [&](int first, int end) {
        CRowBuilder builder(mode, result.limitMode);
        // One cell a column, each keeping its text's room from row to row.
        std::vector<SWorkbookCell> cells(std::size_t(std::max(used, 0)));
        for (int index = first; index < end; ++index) {
            builder.Begin();
            for (int column = 0; column < used; ++column) {
                SWorkbookCell& cell = cells[std::size_t(column)];
                reader->ReadCell(index + 1, column, cell);
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

SImportResult ReadImportFile(const QString& path, EPluMode mode, ELimitMode limitMode, const SImportLimits& limits)
{
    const EImportRoute route = ImportRouteFor(path);
    // Both are read whole: refused before reading when larger than the bound.
    if ((route == EImportRoute::Text || route == EImportRoute::Xls) && QFileInfo(path).size() > limits.maxFileBytes)
        return Failure(TooLarge(path, limits.maxFileBytes));
    switch (route) {
    case EImportRoute::Text: return ReadTextFile(path, mode, limitMode, limits);
    case EImportRoute::Xls: return ReadWorkbook(path, EWorkbookFormat::Xls, mode, limits);
    case EImportRoute::Ods: return ReadWorkbook(path, EWorkbookFormat::Ods, mode, limits);
    case EImportRoute::Xlsx: break;
    }
    return ReadWorkbook(path, EWorkbookFormat::Xlsx, mode, limits);
}
