#pragma once

#include <QComboBox>

// The port selector: says when its list is about to open, so that the window can read the system's ports again
// and offer a device plugged in since.
class CPortSelector : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    void showPopup() override;

Q_SIGNALS:
    void popupAboutToShow();
};
