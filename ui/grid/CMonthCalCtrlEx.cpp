#include "ui/grid/CMonthCalCtrlEx.h"

#include "grid/CellCompare.h"
#include "grid/EditorTexts.h"
#include "ui/grid/EditorFocus.h"

#include <QKeyEvent>
#include <QLayout>
#include <QMenu>

#include <algorithm>

CMonthCalCtrlEx::CMonthCalCtrlEx(QWidget* parent)
    : QCalendarWidget(parent)
{
    setObjectName(QStringLiteral("CMonthCalCtrlEx"));
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // The calendar keeps its size even where its parts would like more room.
    if (layout())
        layout()->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(kSize);
    setMaximumSize(kSize);
    // Escape goes to whichever part of the calendar has the focus; the month menu keeps its own.
    for (QWidget* part : findChildren<QWidget*>()) {
        if (!qobject_cast<QMenu*>(part))
            part->installEventFilter(this);
    }
    connect(this, &QCalendarWidget::clicked, this, [this] { End(EEnd::Close); });
    connect(this, &QCalendarWidget::activated, this, [this] { End(EEnd::Close); });
    WhenFocusLeaves(this, [this] { End(EEnd::Close); });
}

void CMonthCalCtrlEx::Begin(const QString& cellText)
{
    // A text that is no date leaves the calendar on its own default, today.
    const QDate date = ReadCellDate(cellText).date();
    if (date.isValid()) {
        setSelectedDate(date);
        setCurrentPage(date.year(), date.month());
    }
}

QString CMonthCalCtrlEx::Text() const
{
    return EditorTexts::DateText(selectedDate());
}

void CMonthCalCtrlEx::Place(const QRect& cell)
{
    QRect rect(QPoint(cell.right() - kSize.width() + 1, cell.top()), kSize);
    // Where the grid has room, the calendar is moved into it rather than cut off at its edge.
    if (const QWidget* area = parentWidget()) {
        const QRect bounds = area->rect();
        if (rect.left() < bounds.left())
            rect.moveLeft(bounds.left());
        if (rect.bottom() > bounds.bottom())
            rect.moveTop(std::max(bounds.bottom() - kSize.height() + 1, bounds.top()));
    }
    setGeometry(rect);
}

bool CMonthCalCtrlEx::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Cancel();
        return true;
    }
    return QCalendarWidget::event(event);
}

bool CMonthCalCtrlEx::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Cancel();
        return true;
    }
    return QCalendarWidget::eventFilter(watched, event);
}
