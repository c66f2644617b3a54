#include "grid/EditorTexts.h"

namespace EditorTexts {

QStringList SplitList(const QString& list)
{
    // A cell without a list offers no items, rather than one empty item.
    return list.isEmpty() ? QStringList() : list.split(QLatin1Char('$'));
}

int FindItemByPrefix(const QStringList& items, const QString& text)
{
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].startsWith(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

QString MultiColumnValue(const QString& item)
{
    qsizetype separator = item.indexOf(QLatin1Char('\t'));
    if (separator < 0)
        separator = item.indexOf(QLatin1Char('|'));
    if (separator < 0)
        separator = item.indexOf(QLatin1String(" |"));
    return separator > 0 ? item.left(separator) : item;
}

QString DateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QStringLiteral("Invalid DateTime");
}

} // namespace EditorTexts
