#include "layout/LayoutRules.h"

#include <algorithm>

namespace {

int Share(int change, int percent)
{
    // 64-bit product: a huge client size times a percentage must not overflow before the division.
    return int(qint64(change) * percent / 100);
}

} // namespace

void CLayoutRules::SetUp(QSize baseSize)
{
    m_baseSize = baseSize;
    m_tags.clear();
}

int CLayoutRules::AddControl(const QRect& rect, int moveX, int moveY, int growX, int growY)
{
    m_tags.push_back({rect, moveX, moveY, growX, growY});
    return Count() - 1;
}

QRect CLayoutRules::Place(int index, QSize clientSize) const
{
    return Place(Tag(index), clientSize.width() - m_baseSize.width(), clientSize.height() - m_baseSize.height());
}

QRect CLayoutRules::Place(const SControlTag& tag, int dx, int dy)
{
    const int x = tag.rect.x() + Share(dx, tag.moveX);
    const int y = tag.rect.y() + Share(dy, tag.moveY);
    const int width = tag.rect.width() + Share(dx, tag.growX);
    const int height = tag.rect.height() + Share(dy, tag.growY);
    return QRect(x, y, std::max(width, 0), std::max(height, 0));
}
