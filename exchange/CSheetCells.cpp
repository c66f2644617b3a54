#include "exchange/CSheetCells.h"

#include "exchange/XlsxTextEscapes.h"

#include <QStringDecoder>

#include <algorithm>
#include <utility>

void CSheetCells::Clear()
{
    const int columnLimit = m_columnLimit;
    *this = CSheetCells();
    m_columnLimit = columnLimit;
}

void CSheetCells::Reserve(size_t cells, size_t textBytes)
{
    m_cells.reserve(cells);
    m_texts.reserve(textBytes);
}

CSheetCells::SCell* CSheetCells::Add(int row, int column, EKind kind)
{
    m_lastRow = std::max(m_lastRow, row + 1);
    m_lastCol = std::max(m_lastCol, column + 1);
    if (column >= m_columnLimit)
        return nullptr;
    if (!m_cells.empty()) {
        const SCell& last = m_cells.back();
        if (row < last.row || (row == last.row && column <= last.column))
            m_ordered = false;
    }
    SCell cell;
    cell.row = row;
    cell.column = column;
    cell.kind = kind;
    cell.number = 0;
    m_cells.push_back(cell);
    return &m_cells.back();
}

void CSheetCells::SetNumber(int row, int column, double value)
{
    if (row < 0 || column < 0)
        return;
    if (SCell* cell = Add(row, column, EKind::Number))
        cell->number = value;
}

void CSheetCells::SetText(int row, int column, std::string_view utf8)
{
    AddText(row, column, utf8, EKind::Text);
}

void CSheetCells::SetEscapedText(int row, int column, std::string_view utf8)
{
    AddText(row, column, utf8, EKind::EscapedText);
}

void CSheetCells::AddText(int row, int column, std::string_view utf8, EKind kind)
{
    if (row < 0 || column < 0)
        return;
    SCell* cell = Add(row, column, kind);
    if (!cell)
        return;
    cell->text.offset = quint32(m_texts.size());
    cell->text.length = quint32(utf8.size());
    m_texts.append(utf8);
}

void CSheetCells::SetSharedText(int row, int column, quint32 sharedIndex)
{
    if (row < 0 || column < 0)
        return;
    if (SCell* cell = Add(row, column, EKind::SharedText))
        cell->sharedIndex = sharedIndex;
}

void CSheetCells::SetSharedUtf16Text(int row, int column, quint32 sharedIndex)
{
    if (row < 0 || column < 0)
        return;
    if (SCell* cell = Add(row, column, EKind::SharedUtf16Text))
        cell->sharedIndex = sharedIndex;
}

void CSheetCells::SetEmpty(int row, int column)
{
    if (row >= 0 && column >= 0)
        Add(row, column, EKind::Empty);
}

void CSheetCells::SetSharedStrings(std::vector<QString> strings)
{
    m_sharedStrings = std::move(strings);
}

void CSheetCells::SetSharedUtf16Strings(std::u16string text, std::vector<quint32> starts)
{
    m_sharedUtf16 = std::move(text);
    m_sharedUtf16Starts = std::move(starts);
}

void CSheetCells::Append(CSheetCells&& later)
{
    m_lastRow = std::max(m_lastRow, later.m_lastRow);
    m_lastCol = std::max(m_lastCol, later.m_lastCol);
    if (later.m_cells.empty())
        return;
    if (!later.m_ordered)
        m_ordered = false;
    if (!m_cells.empty()) {
        const SCell& last = m_cells.back();
        const SCell& next = later.m_cells.front();
        if (next.row < last.row || (next.row == last.row && next.column <= last.column))
            m_ordered = false;
    }
    const quint32 textBase = quint32(m_texts.size());
    m_texts.append(later.m_texts);
    m_cells.reserve(m_cells.size() + later.m_cells.size());
    for (SCell cell : later.m_cells) {
        if (cell.kind == EKind::Text || cell.kind == EKind::EscapedText)
            cell.text.offset += textBase;
        m_cells.push_back(cell);
    }
    later = CSheetCells();
}

void CSheetCells::Finish()
{
    if (!m_ordered) {
        // A cell given twice keeps its last value: the stable order puts it last among its equals.
        std::stable_sort(m_cells.begin(), m_cells.end(), [](const SCell& a, const SCell& b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        m_ordered = true;
    }
    m_rowStart.assign(size_t(m_lastRow) + 1, 0);
    size_t cell = 0;
    for (int row = 0; row <= m_lastRow; ++row) {
        while (cell < m_cells.size() && m_cells[cell].row < row)
            ++cell;
        m_rowStart[size_t(row)] = quint32(cell);
    }
}

namespace {

// Makes the text empty, keeping its room unless another string shares it.
void Empty(QString& text)
{
    if (text.isDetached())
        text.resize(0);
    else
        text = QString();
}

void AssignUtf8(QString& text, const char* utf8, qsizetype length)
{
    // As QString::fromUtf8 does: a leading byte order mark is dropped, a malformed byte replaced.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    Empty(text);
    text.resize(decoder.requiredSpace(length));
    const QChar* end = decoder.appendToBuffer(text.data(), QByteArrayView(utf8, length));
    text.truncate(end - text.constData());
}

} // namespace

SWorkbookCell CSheetCells::Cell(int row, int column) const
{
    SWorkbookCell cell;
    ReadCell(row, column, cell);
    return cell;
}

void CSheetCells::ReadCell(int row, int column, SWorkbookCell& into) const
{
    into.isNumber = false;
    into.number = 0;
    if (row < 0 || row >= m_lastRow || size_t(row) + 1 >= m_rowStart.size()) {
        Empty(into.text);
        return;
    }
    const SCell* found = nullptr;
    for (quint32 i = m_rowStart[size_t(row)]; i < m_rowStart[size_t(row) + 1]; ++i) {
        if (m_cells[i].column == column)
            found = &m_cells[i];
        else if (m_cells[i].column > column)
            break;
    }
    if (!found) {
        Empty(into.text);
        return;
    }
    switch (found->kind) {
    case EKind::Number:
        into.isNumber = true;
        into.number = found->number;
        Empty(into.text);
        break;
    case EKind::Text: AssignUtf8(into.text, m_texts.data() + found->text.offset, qsizetype(found->text.length)); break;
    case EKind::EscapedText:
        into.text =
            UnescapeXlsxText(QString::fromUtf8(m_texts.data() + found->text.offset, qsizetype(found->text.length)));
        break;
    case EKind::SharedText:
        if (found->sharedIndex < m_sharedStrings.size())
            into.text = m_sharedStrings[found->sharedIndex];
        else
            Empty(into.text);
        break;
    case EKind::SharedUtf16Text: {
        Empty(into.text);
        if (size_t(found->sharedIndex) + 1 < m_sharedUtf16Starts.size()) {
            const quint32 start = m_sharedUtf16Starts[found->sharedIndex];
            const quint32 end = m_sharedUtf16Starts[size_t(found->sharedIndex) + 1];
            if (start <= end && end <= m_sharedUtf16.size())
                into.text.append(reinterpret_cast<const QChar*>(m_sharedUtf16.data() + start), qsizetype(end - start));
        }
        break;
    }
    case EKind::Empty: Empty(into.text); break;
    }
}
