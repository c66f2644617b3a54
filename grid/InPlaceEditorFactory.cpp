#include "grid/InPlaceEditorFactory.h"

#include "grid/CEditEx.h"
#include "grid/GridRecords.h"

IInPlaceEditor* CreateInPlaceEditor(int cellType, QWidget* parent)
{
    IInPlaceEditor* editor = nullptr;
    switch (cellType) {
    case CET_EDIT:
        editor = new CEditEx(parent);
        break;
    default:
        break;
    }
    if (editor)
        editor->Widget()->hide();
    return editor;
}
