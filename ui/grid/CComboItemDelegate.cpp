#include "ui/grid/CComboItemDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <algorithm>

CComboItemDelegate::CComboItemDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

void CComboItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (m_columnWidths.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The item's frame and highlight without its text, then the parts in their columns.
    QStyleOptionViewItem frame = option;
    initStyleOption(&frame, index);
    const QStringList parts = frame.text.split(QLatin1Char('\t'));
    frame.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &frame, painter, widget);

    painter->save();
    painter->setPen(option.palette.color(
        QPalette::Normal, (option.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    int left = option.rect.left();
    for (int i = 0; i < parts.size(); ++i) {
        const int width = i < m_columnWidths.size() ? m_columnWidths[i] : option.rect.right() - left;
        const QRect cell(left, option.rect.top(), width, option.rect.height());
        painter->drawText(cell.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          option.fontMetrics.elidedText(parts[i], Qt::ElideRight, std::max(0, width - 6)));
        left += width;
    }
    painter->restore();
}

QSize CComboItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (!m_columnWidths.isEmpty()) {
        int width = 0;
        for (int column : m_columnWidths)
            width += column;
        size.setWidth(width);
    }
    if (m_itemHeight > 0)
        size.setHeight(m_itemHeight);
    return size;
}
