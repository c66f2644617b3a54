#pragma once

#include "ui/grid/CComboBoxExt.h"

// The multi-column combo in-place editor: a list-only combo whose items show their tab-separated
// parts in columns; the cell gets the part before the first separator (see EditorTexts).
class CComboBoxMCExt : public CComboBoxExt
{
    Q_OBJECT

public:
    explicit CComboBoxMCExt(QWidget* parent = nullptr);

    QString Text() const override;
    // Lays the items' parts out in columns as wide as their widest part, then drops the list down.
    void showPopup() override;
};
