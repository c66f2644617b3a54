#pragma once

#include <QRect>
#include <QSize>

#include <vector>

// A registered control: its rectangle when it was registered and the shares of a change in the
// window's client size that it follows.
struct SControlTag
{
    QRect rect;    // at registration, in the parent's client coordinates
    int moveX = 0; // percent of the width change added to the left edge
    int moveY = 0; // percent of the height change added to the top edge
    int growX = 0; // percent of the width change added to the width
    int growY = 0; // percent of the height change added to the height
};

// The arithmetic of the window's proportional layout. Every placement is computed from the
// recorded rectangles and the client size at set-up, never from where the controls are now, so
// repeated resizing and a minimise followed by a restore leave no drift.
class CLayoutRules
{
public:
    // Records the client size that the registered rectangles belong to and forgets every control.
    void SetUp(QSize baseSize);
    // Appends a control; returns its index.
    int AddControl(const QRect& rect, int moveX, int moveY, int growX, int growY);

    int Count() const { return int(m_tags.size()); }
    QSize BaseSize() const { return m_baseSize; }
    const SControlTag& Tag(int index) const { return m_tags.at(size_t(index)); }

    // Where the control goes for this client size.
    QRect Place(int index, QSize clientSize) const;

    // The shares are divided by 100 truncating toward zero (a 50 % share of -37 is -18); a width
    // or height that would be negative is 0, and the next larger size restores it.
    static QRect Place(const SControlTag& tag, int dx, int dy);

private:
    QSize m_baseSize;
    std::vector<SControlTag> m_tags;
};
