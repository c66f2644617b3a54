#include "ui/CPortSelector.h"

void CPortSelector::showPopup()
{
    Q_EMIT popupAboutToShow();
    QComboBox::showPopup();
}
