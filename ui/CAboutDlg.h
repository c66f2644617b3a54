#pragma once

#include <QDialog>

// The about box: the program's icon, name and version, and what it is for.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static QString VersionText();
};
