#pragma once

#include "ui/grid/CTextAreaEditor.h"

#include <QTextEdit>

// The rich-text in-place editor: opens with the caret after the cell's text; Enter inserts a line
// break, losing the focus commits, Escape cancels. The cell keeps plain text.
class CRichEditCtrlEx : public CTextAreaEditor<QTextEdit>
{
    Q_OBJECT

public:
    explicit CRichEditCtrlEx(QWidget* parent = nullptr);

    void Begin(const QString& cellText) override;
};
