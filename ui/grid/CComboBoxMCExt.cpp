#include "ui/grid/CComboBoxMCExt.h"

#include "grid/EditorTexts.h"
#include "ui/grid/CComboItemDelegate.h"

#include <QAbstractItemView>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int kColumnPadding = 12;

} // namespace

CComboBoxMCExt::CComboBoxMCExt(QWidget* parent)
    : CComboBoxExt(EStyle::ListOnly, parent)
{
    setObjectName(QStringLiteral("CComboBoxMCExt"));
}

void CComboBoxMCExt::showPopup()
{
    // Each column is as wide as its widest part, so that the parts of all items line up.
    QVector<int> widths;
    const QFontMetrics metrics = view()->fontMetrics();
    for (int i = 0; i < count(); ++i) {
        const QStringList parts = itemText(i).split(QLatin1Char('\t'));
        if (widths.size() < parts.size())
            widths.resize(parts.size());
        for (int part = 0; part < parts.size(); ++part)
            widths[part] = std::max(widths[part], metrics.horizontalAdvance(parts[part]) + kColumnPadding);
    }
    ItemDelegate()->SetColumnWidths(widths);
    int total = 0;
    for (int width : std::as_const(widths))
        total += width;
    view()->setMinimumWidth(total + view()->verticalScrollBar()->sizeHint().width());
    CComboBoxExt::showPopup();
}

QString CComboBoxMCExt::Text() const
{
    return EditorTexts::MultiColumnValue(CComboBoxExt::Text());
}
