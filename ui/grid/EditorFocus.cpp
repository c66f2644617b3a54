#include "ui/grid/EditorFocus.h"

#include <QApplication>
#include <QWidget>

#include <utility>

bool IsWithinEditor(const QWidget* editor, const QWidget* widget)
{
    // parentWidget() leads from a pop-up window to the widget that opened it.
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w == editor)
            return true;
    }
    return false;
}

void WhenFocusLeaves(QWidget* editor, std::function<void()> onLeave)
{
    QObject::connect(qApp, &QApplication::focusChanged, editor,
                     [editor, onLeave = std::move(onLeave)](QWidget* old, QWidget* now) {
                         if (IsWithinEditor(editor, old) && !IsWithinEditor(editor, now))
                             onLeave();
                     });
}
