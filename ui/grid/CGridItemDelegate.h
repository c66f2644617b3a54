#pragma once

#include <QStyledItemDelegate>

// Paints the grid's cells: the row's own colours, the highlight of the selected row, the fill of the
// cell range, one line of text with an ellipsis (or word-wrapped lines when the grid asks for them),
// and check cells as a box with a tick.
class CGridItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CGridItemDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The check box of a check cell, centred in rect.
    static void DrawCheckBox(QPainter* painter, const QRect& rect, bool checked, bool locked);

private:
    static void DrawWrappedText(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect,
                                const QString& text, const QColor& color);
};
