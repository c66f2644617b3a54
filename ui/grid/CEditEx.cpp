#include "ui/grid/CEditEx.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace {

bool IsEditorKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Tab;
}

} // namespace

CEditEx::CEditEx(QWidget* parent)
    : QLineEdit(parent)
{
    setObjectName(QStringLiteral("CEditEx"));
    setFrame(true);
    setMaxLength(kMaxLength);
}

void CEditEx::Begin(const QString& cellText)
{
    m_cellText = cellText;
    setText(cellText.left(kMaxLength));
    setModified(false);
    selectAll();
}

QString CEditEx::Text() const
{
    // A longer text than the editor holds is only replaced when the user actually edits it.
    return isModified() ? text() : m_cellText;
}

bool CEditEx::event(QEvent* event)
{
    // The window's shortcuts and the focus chain must not take the editor's own keys.
    if (event->type() == QEvent::ShortcutOverride) {
        if (IsEditorKey(static_cast<QKeyEvent*>(event)->key())) {
            event->accept();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab) {
        End(EEnd::EditNextCell);
        return true;
    }
    return QLineEdit::event(event);
}

void CEditEx::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        End(EEnd::Close);
        return;
    case Qt::Key_Escape:
        event->accept();
        Cancel();
        return;
    default: QLineEdit::keyPressEvent(event);
    }
}

void CEditEx::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The editor's own context menu takes the focus for a moment; the edit goes on.
    if (m_inContextMenu && event->reason() == Qt::PopupFocusReason)
        return;
    End(EEnd::Close);
}

void CEditEx::contextMenuEvent(QContextMenuEvent* event)
{
    m_inContextMenu = true;
    QLineEdit::contextMenuEvent(event);
    m_inContextMenu = false;
}
