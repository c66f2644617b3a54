#include "ui/grid/CMultiLineEditEx.h"

CMultiLineEditEx::CMultiLineEditEx(QWidget* parent)
    : CTextAreaEditor<QPlainTextEdit>(parent)
{
    setObjectName(QStringLiteral("CMultiLineEditEx"));
    setFrameShape(QFrame::Box);
}

void CMultiLineEditEx::Begin(const QString& cellText)
{
    ShowCellText(cellText);
    selectAll();
    ensureCursorVisible();
}
