#include "ui/CLayoutManager.h"

void CLayoutManager::SetUp(QWidget* parent)
{
    m_parent = parent;
    m_controls.clear();
    m_rules.SetUp(parent ? parent->size() : QSize());
}

void CLayoutManager::AddControl(QWidget* control, int moveX, int moveY, int growX, int growY)
{
    Q_ASSERT(m_parent && control && m_parent->isAncestorOf(control));
    const QPoint topLeft = control->parentWidget()->mapTo(m_parent.data(), control->pos());
    m_rules.AddControl(QRect(topLeft, control->size()), moveX, moveY, growX, growY);
    m_controls.emplace_back(control);
}

int CLayoutManager::Resize(int cx, int cy)
{
    if (!m_parent)
        return 0;
    for (int i = 0; i < m_rules.Count(); ++i) {
        QWidget* control = m_controls[size_t(i)].data();
        if (!control)
            continue;
        const QRect place = m_rules.Place(i, QSize(cx, cy));
        const QPoint topLeft = control->parentWidget()->mapFrom(m_parent.data(), place.topLeft());
        control->setGeometry(QRect(topLeft, place.size()));
    }
    m_parent->update();
    return 1;
}
