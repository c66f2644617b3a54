#include "ui/grid/CGridItemDelegate.h"

#include "grid/CGridModel.h"
#include "ui/grid/CMFCListCtrlEx.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPen>
#include <QTextLayout>

#include <algorithm>

namespace {

QColor ToColor(quint32 packed)
{
    return QColor(RedOf(packed), GreenOf(packed), BlueOf(packed));
}

QColor RoleColor(const QModelIndex& index, int role, const QColor& fallback)
{
    const QVariant value = index.data(role);
    return value.isValid() ? ToColor(value.toUInt()) : fallback;
}

constexpr int kBoxSize = 15;
constexpr int kRowMarkSize = 14;

// The tint of a cell that will not reach the scale as typed, by ECellMark.
QColor MarkTint(const QModelIndex& index, const QColor& fallback)
{
    const QVariant mark = index.data(CGridModel::CellMarkRole);
    if (!mark.isValid())
        return fallback;
    switch (ECellMark(mark.toInt())) {
    case ECellMark::Rejected: return QColor(255, 170, 170);
    case ECellMark::Repeated: return QColor(255, 204, 140);
    case ECellMark::Warning: return QColor(255, 236, 150);
    }
    return fallback;
}

// The sign of a row's mark, drawn at the right end of the row number cell: a disc in the mark's colour with a
// symbol, so that the marks differ in shape as well as in colour.
void DrawRowMark(QPainter* painter, const QRect& cell, ERowMark mark)
{
    const int size = std::min(cell.height() - 4, kRowMarkSize);
    if (size < 6)
        return;
    const QRectF disc(cell.right() - size - 2, cell.center().y() - size / 2.0, size, size);
    QColor colour;
    QString symbol;
    switch (mark) {
    case ERowMark::Done:
        colour = QColor(40, 150, 60);
        symbol = QStringLiteral("\u2713");
        break;
    case ERowMark::Failed:
        colour = QColor(205, 35, 35);
        symbol = QStringLiteral("\u2715");
        break;
    case ERowMark::Unanswered:
        colour = QColor(225, 130, 0);
        symbol = QStringLiteral("?");
        break;
    case ERowMark::Pending: colour = QColor(150, 150, 150); break;
    }
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (mark == ERowMark::Pending) {
        // Not sent: an empty ring.
        painter->setPen(QPen(colour, 1.5));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(disc.adjusted(1, 1, -1, -1));
        return;
    }
    painter->setPen(Qt::NoPen);
    painter->setBrush(colour);
    painter->drawEllipse(disc);
    QFont font = painter->font();
    font.setPixelSize(std::max(6, size - 4));
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(Qt::white);
    painter->drawText(disc, Qt::AlignCenter, symbol);
}

} // namespace

CGridItemDelegate::CGridItemDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

void CGridItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QColor rowText = RoleColor(index, CGridModel::RowTextColorRole, option.palette.color(QPalette::Text));
    const QColor rowBackground =
        MarkTint(index, RoleColor(index, CGridModel::RowBackgroundColorRole, option.palette.color(QPalette::Base)));

    const auto* grid = qobject_cast<const CMFCListCtrlEx*>(option.widget);
    QColor background = rowBackground;
    QColor text = rowText;
    if (option.state & QStyle::State_Selected) {
        const bool gridHasFocus = option.widget && option.widget->hasFocus();
        if (gridHasFocus) {
            background = option.palette.color(QPalette::Active, QPalette::Highlight);
            text = option.palette.color(QPalette::Active, QPalette::HighlightedText);
        } else {
            background = option.palette.color(QPalette::Disabled, QPalette::Text);
        }
    } else if (grid && grid->IsCellSelected(index.row(), index.column())) {
        background = QColor::fromRgb(CMFCListCtrlEx::kRangeFill);
    }

    painter->save();
    painter->fillRect(option.rect, background);
    const QVariant rowMark = index.data(CGridModel::RowMarkRole);
    // The row's mark keeps the right end of its cell for itself.
    const int markWidth = rowMark.isValid() ? kRowMarkSize + 4 : 0;
    const QRect textRect = option.rect.adjusted(index.column() == 0 ? 2 : 6, 1, -1 - markWidth, -1);
    if (index.data(CGridModel::CellTypeRole).toInt() == CET_CHECK) {
        DrawCheckBox(painter, textRect, index.data(CGridModel::CheckStateValueRole).toInt() == 1,
                     index.data(CGridModel::LockedRole).toInt() == 1);
    } else if (grid && grid->MultiLineDrawing()) {
        DrawWrappedText(painter, option, textRect, index.data(Qt::DisplayRole).toString(), text);
    } else {
        const QString elided =
            option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, textRect.width());
        painter->setFont(option.font);
        painter->setPen(text);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, elided);
    }
    if (rowMark.isValid())
        DrawRowMark(painter, option.rect, ERowMark(rowMark.toInt()));
    painter->restore();
}

void CGridItemDelegate::DrawWrappedText(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect,
                                        const QString& text, const QColor& color)
{
    // The wrapped lines are centred as a block; a last line that does not fit ends in an ellipsis.
    const QFontMetrics& metrics = option.fontMetrics;
    const int lineHeight = metrics.lineSpacing();
    const int fittingLines = std::max(1, rect.height() / lineHeight);
    QStringList lines;
    QTextLayout layout(text, option.font);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width());
        if (lines.size() == fittingLines - 1) {
            lines << metrics.elidedText(text.mid(line.textStart()), Qt::ElideRight, rect.width());
            break;
        }
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    const int height = int(lines.size()) * lineHeight;
    QRect block = rect;
    if (height < rect.height())
        block = QRect(rect.left(), rect.top() + (rect.height() - height) / 2, rect.width(), height);
    painter->setFont(option.font);
    painter->setPen(color);
    painter->drawText(block, Qt::AlignLeft | Qt::AlignTop, lines.join(QLatin1Char('\n')));
}

void CGridItemDelegate::DrawCheckBox(QPainter* painter, const QRect& rect, bool checked, bool locked)
{
    const int left = rect.left() + (rect.width() > kBoxSize ? (rect.width() - 16) / 2 : 0);
    const int top = rect.top() + (rect.height() > kBoxSize - 1 ? (rect.height() - kBoxSize) / 2 : 0);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    // Outlines cover their end pixels, so a 15-pixel box is drawn as a 14-pixel rectangle.
    painter->setPen(locked ? QColor(212, 213, 213) : QColor(142, 143, 143));
    painter->setBrush(Qt::white);
    painter->drawRect(QRect(left, top, kBoxSize - 1, kBoxSize - 1));
    painter->setPen(QColor(184, 187, 191));
    painter->setBrush(QColor(230, 230, 240));
    painter->drawRect(QRect(left + 2, top + 2, 10, 10));
    if (checked) {
        QPen tick(locked ? QColor(163, 221, 152) : QColor(113, 171, 22), 2);
        painter->setPen(tick);
        const QPoint points[] = {{left + 1, top + 8}, {left + 5, top + 13}, {left + 13, top + 1}};
        painter->drawPolyline(points, 3);
    }
    painter->restore();
}
