#include "ui/grid/CComboBoxExt.h"

#include "grid/EditorTexts.h"
#include "ui/grid/CComboItemDelegate.h"
#include "ui/grid/EditorFocus.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace {

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

CComboBoxExt::CComboBoxExt(EStyle style, QWidget* parent)
    : QComboBox(parent)
    , m_style(style)
    , m_delegate(new CComboItemDelegate(this))
{
    setObjectName(QStringLiteral("CComboBoxExt"));
    setEditable(style == EStyle::Editable);
    if (QLineEdit* edit = lineEdit()) {
        edit->setMaxLength(EditorTexts::kMaxLength);
        // What the user types is what the cell gets; no item is completed or added on the way.
        setCompleter(nullptr);
        setInsertPolicy(QComboBox::NoInsert);
    }
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setItemDelegate(m_delegate);
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, [this] { End(EEnd::Close); });
    WhenFocusLeaves(this, [this] { End(EEnd::Close); });
}

void CComboBoxExt::SetList(const QString& list)
{
    clear();
    addItems(EditorTexts::SplitList(list));
}

void CComboBoxExt::Begin(const QString& cellText)
{
    m_cellText = cellText;
    const QString shown = cellText.left(EditorTexts::kMaxLength);
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    int index = EditorTexts::FindItemByPrefix(items, shown);
    if (index < 0) {
        // The combo never opens with nothing selected.
        addItem(shown);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

QString CComboBoxExt::Text() const
{
    // A cell longer than the editor takes keeps its whole text unless another one is chosen.
    const QString text = currentText();
    return text == m_cellText.left(EditorTexts::kMaxLength) ? m_cellText : text;
}

void CComboBoxExt::Place(const QRect& cell)
{
    setGeometry(cell);
    m_delegate->SetItemHeight(std::max(cell.height() - 7, 14));
}

void CComboBoxExt::Opened()
{
    if (m_style == EStyle::ListOnly)
        showPopup();
}

bool CComboBoxExt::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || IsEnter(key)) {
            event->accept();
            return true;
        }
    }
    return QComboBox::event(event);
}

void CComboBoxExt::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        Cancel();
        return;
    }
    if (IsEnter(event->key())) {
        event->accept();
        End(EEnd::Close);
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CComboBoxExt::hideEvent(QHideEvent* event)
{
    // The list is a window of its own and would stay behind.
    hidePopup();
    QComboBox::hideEvent(event);
}

bool CComboBoxExt::eventFilter(QObject* watched, QEvent* event)
{
    // Escape in the dropped-down list cancels the edit, not only the list.
    if (watched == view() && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hidePopup();
        Cancel();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}
