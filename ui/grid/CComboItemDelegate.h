#pragma once

#include <QStyledItemDelegate>
#include <QVector>

#include <utility>

// Paints the items of an in-place combo's list at the height the cell asks for; in a multi-column
// combo the tab-separated parts of each item are drawn in aligned columns.
class CComboItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CComboItemDelegate(QObject* parent = nullptr);

    void SetItemHeight(int height) { m_itemHeight = height; }
    // Widths of the columns, in pixels; empty: one column, the item's text as it is.
    void SetColumnWidths(QVector<int> widths) { m_columnWidths = std::move(widths); }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int m_itemHeight = 0;
    QVector<int> m_columnWidths;
};
