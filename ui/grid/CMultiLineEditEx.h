#pragma once

#include "ui/grid/CTextAreaEditor.h"

#include <QPlainTextEdit>

// The multi-line in-place editor: opens with the cell's text selected; Enter inserts a line break,
// losing the focus commits, Escape cancels.
class CMultiLineEditEx : public CTextAreaEditor<QPlainTextEdit>
{
    Q_OBJECT

public:
    explicit CMultiLineEditEx(QWidget* parent = nullptr);

    void Begin(const QString& cellText) override;
};
