#include "grid/CRowTexts.h"

#include <algorithm>

CRowTexts::CRowTexts(std::initializer_list<QString> texts)
{
    Assign(QVector<QString>(texts));
}

CRowTexts::CRowTexts(const QVector<QString>& texts)
{
    Assign(texts);
}

CRowTexts& CRowTexts::operator=(const QVector<QString>& texts)
{
    Assign(texts);
    return *this;
}

CRowTexts& CRowTexts::operator=(std::initializer_list<QString> texts)
{
    Assign(QVector<QString>(texts));
    return *this;
}

CRowTexts& CRowTexts::operator=(const std::vector<QStringView>& texts)
{
    AssignTexts(texts);
    return *this;
}

int CRowTexts::size() const
{
    return m_data.isEmpty() ? 0 : int(m_data.at(0).unicode());
}

int CRowTexts::End(int column) const
{
    const qsizetype at = 1 + qsizetype(column) * kHeaderUnitsPerCell;
    return int((uint(m_data.at(at).unicode()) << 16) | m_data.at(at + 1).unicode());
}

QStringView CRowTexts::View(int column) const
{
    if (column < 0 || column >= size())
        return QStringView();
    const int start = Start(column);
    return QStringView(TextBegin() + start, End(column) - start);
}

void CRowTexts::Set(int column, const QString& text)
{
    if (column < 0)
        return;
    if (column >= size() && text.isEmpty())
        return;
    if (column < size() && View(column) == text)
        return;
    QVector<QString> texts = ToVector(std::max(size(), column + 1));
    texts[column] = text;
    Assign(texts);
}

void CRowTexts::InsertCell(int column)
{
    if (column < 0 || column >= size())
        return;
    QVector<QString> texts = ToVector(size());
    texts.insert(column, QString());
    Assign(texts);
}

void CRowTexts::RemoveCell(int column)
{
    if (column < 0 || column >= size())
        return;
    QVector<QString> texts = ToVector(size());
    texts.removeAt(column);
    Assign(texts);
}

QVector<QString> CRowTexts::ToVector(int count) const
{
    QVector<QString> texts(count);
    for (int column = 0; column < count && column < size(); ++column)
        texts[column] = View(column).toString();
    return texts;
}

void CRowTexts::Assign(const QVector<QString>& texts)
{
    AssignTexts(texts);
}

template <typename Texts>
void CRowTexts::AssignTexts(const Texts& texts)
{
    // Trailing empty cells read the same without being held.
    int count = int(texts.size());
    while (count > 0 && texts[count - 1].isEmpty())
        --count;
    Q_ASSERT(count <= 0xFFFF);
    if (count == 0) {
        m_data.clear();
        m_data.squeeze();
        return;
    }
    qsizetype length = 0;
    for (int column = 0; column < count; ++column)
        length += texts[column].size();
    Q_ASSERT(length <= 0x7FFFFFFF);
    QString data(1 + qsizetype(count) * kHeaderUnitsPerCell + length, Qt::Uninitialized);
    QChar* out = data.data();
    *out++ = QChar(char16_t(count));
    quint32 end = 0;
    for (int column = 0; column < count; ++column) {
        end += quint32(texts[column].size());
        *out++ = QChar(char16_t(end >> 16));
        *out++ = QChar(char16_t(end & 0xFFFF));
    }
    for (int column = 0; column < count; ++column) {
        const auto& text = texts[column];
        std::copy(text.begin(), text.end(), out);
        out += text.size();
    }
    m_data = std::move(data);
}
