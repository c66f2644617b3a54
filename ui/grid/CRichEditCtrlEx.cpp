#include "ui/grid/CRichEditCtrlEx.h"

CRichEditCtrlEx::CRichEditCtrlEx(QWidget* parent)
    : CTextAreaEditor<QTextEdit>(parent)
{
    setObjectName(QStringLiteral("CRichEditCtrlEx"));
    // Pasted formatting would be lost in the cell anyway; the editor shows what the cell will hold.
    setAcceptRichText(false);
}

void CRichEditCtrlEx::Begin(const QString& cellText)
{
    ShowCellText(cellText);
    moveCursor(QTextCursor::End);
    ensureCursorVisible();
}
