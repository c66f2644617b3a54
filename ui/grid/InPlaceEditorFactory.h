#pragma once

class IInPlaceEditor;
class QWidget;

// The editor that a click on a cell of this type opens, as a hidden child of parent; nullptr for
// the types that open nothing (windows, check cells) and for unknown types.
IInPlaceEditor* CreateInPlaceEditor(int cellType, QWidget* parent);
