#pragma once

#include "grid/EditorTexts.h"
#include "ui/grid/EditorFocus.h"
#include "ui/grid/IInPlaceEditor.h"

#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

// What the multi-line in-place editors share (TTextWidget is QPlainTextEdit or QTextEdit): Enter
// inserts a line break, Escape cancels, losing the focus commits, Tab moves the focus on (which
// commits), and the text holds at most EditorTexts::kMaxLength characters.
template <typename TTextWidget>
class CTextAreaEditor : public TTextWidget, public IInPlaceEditor
{
public:
    explicit CTextAreaEditor(QWidget* parent)
        : TTextWidget(parent)
    {
        this->setTabChangesFocus(true);
        QObject::connect(this->document(), &QTextDocument::contentsChanged, this, [this] { KeepWithinLength(); });
        WhenFocusLeaves(this, [this] { End(EEnd::Close); });
    }

    QWidget* Widget() override { return this; }

    QString Text() const override
    {
        // A longer text than the editor holds is only replaced when the user actually edits it.
        return this->document()->isModified() ? this->toPlainText() : m_cellText;
    }

protected:
    void ShowCellText(const QString& cellText)
    {
        m_cellText = cellText;
        this->setPlainText(cellText.left(EditorTexts::kMaxLength));
        this->document()->setModified(false);
    }

    bool event(QEvent* event) override
    {
        // The window's shortcuts must not take the key that cancels the edit.
        if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        return TTextWidget::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            Cancel();
            return;
        }
        TTextWidget::keyPressEvent(event);
    }

private:
    // Typing or pasting past the limit keeps the part of the new text that fits.
    void KeepWithinLength()
    {
        if (m_trimming)
            return;
        const int excess = int(this->toPlainText().size()) - EditorTexts::kMaxLength;
        if (excess <= 0)
            return;
        m_trimming = true;
        QTextCursor cursor = this->textCursor();
        const int end = cursor.position();
        cursor.setPosition(std::max(0, end - excess));
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        m_trimming = false;
    }

    QString m_cellText;
    bool m_trimming = false;
};
