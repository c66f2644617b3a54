#pragma once

#include "layout/LayoutRules.h"

#include <QPointer>
#include <QWidget>

#include <vector>

// Keeps chosen child controls of a window in proportion to the window's client size; every other
// control keeps its place. The arithmetic lives in CLayoutRules.
class CLayoutManager
{
public:
    // Records the parent and its present client size, and forgets every registered control.
    void SetUp(QWidget* parent);
    // Records the control's present rectangle in the parent's client coordinates with its shares
    // (percent of the width and height change added to left, top, width and height).
    void AddControl(QWidget* control, int moveX, int moveY, int growX, int growY);
    // Places every registered control that still exists for the new client size; 0 before set-up
    // or after the parent is gone, 1 otherwise.
    int Resize(int cx, int cy);

    const CLayoutRules& Rules() const { return m_rules; }

private:
    QPointer<QWidget> m_parent;
    CLayoutRules m_rules;
    std::vector<QPointer<QWidget>> m_controls;
};
