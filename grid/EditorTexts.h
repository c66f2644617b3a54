#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The text rules of the in-place editors, apart from their widgets.
namespace EditorTexts {

// The most characters an editor takes from a cell.
constexpr int kMaxLength = 254;

// The items of a combo cell: its list split at every "$"; none for an empty list.
QStringList SplitList(const QString& list);

// The first item that begins with the text, ignoring case; -1 when none does.
int FindItemByPrefix(const QStringList& items, const QString& text);

// What a multi-column item stores: the text before its first tab, or else before its first "|",
// or else before its first " |"; the whole text when that separator starts it or none is there.
QString MultiColumnValue(const QString& item);

// A date picked in the calendar as the cell stores it: "2019-08-13", or "Invalid DateTime".
QString DateText(const QDate& date);

} // namespace EditorTexts
