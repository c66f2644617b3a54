#include "ui/grid/InPlaceEditorFactory.h"

#include "grid/GridRecords.h"
#include "ui/grid/CComboBoxExt.h"
#include "ui/grid/CComboBoxMCExt.h"
#include "ui/grid/CEditEx.h"
#include "ui/grid/CMonthCalCtrlEx.h"
#include "ui/grid/CMultiLineEditEx.h"
#include "ui/grid/CRichEditCtrlEx.h"

IInPlaceEditor* CreateInPlaceEditor(int cellType, QWidget* parent)
{
    IInPlaceEditor* editor = nullptr;
    switch (cellType) {
    case CET_EDIT: editor = new CEditEx(parent); break;
    case CET_MULTILINE: editor = new CMultiLineEditEx(parent); break;
    case CET_COMBO: editor = new CComboBoxExt(CComboBoxExt::EStyle::Editable, parent); break;
    case CET_DROPLIST: editor = new CComboBoxExt(CComboBoxExt::EStyle::ListOnly, parent); break;
    case CET_MULTICOLUMN: editor = new CComboBoxMCExt(parent); break;
    case CET_DATE: editor = new CMonthCalCtrlEx(parent); break;
    case CET_RICHEDIT: editor = new CRichEditCtrlEx(parent); break;
    default: break;
    }
    if (editor)
        editor->Widget()->hide();
    return editor;
}
