#include "ui/grid/CGridHeader.h"

#include <QStyle>
#include <QStyleOptionHeader>

CGridHeader::CGridHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent)
{
    setTextElideMode(Qt::ElideRight);
}

QString CGridHeader::ShownTitle(int logicalIndex) const
{
    QStyleOptionHeaderV2 option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    return option.text;
}

void CGridHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    if (orientation() != Qt::Horizontal || option->text.isEmpty())
        return;
    // The label's room as the style lays it out: the section less its margins and sort arrow.
    const QRect sectionRect = option->rect;
    option->rect = QRect(0, 0, sectionSize(logicalIndex), height());
    const int room = style()->subElementRect(QStyle::SE_HeaderLabel, option, this).width();
    option->rect = sectionRect;
    option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, room);
}
