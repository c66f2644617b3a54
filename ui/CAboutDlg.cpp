#include "ui/CAboutDlg.h"

#include "app/MenuText.h"
#include "app/StringTable.h"
#include "ui/Resources.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(TextWithoutMnemonic(LoadString(StringId::AboutMenu)));

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("<b>Talvex</b> ") + VersionText(), this);
    auto* purpose = new QLabel(LoadString(StringId::AboutPurpose), this);
    purpose->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(name, 0, 1);
    layout->addWidget(purpose, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    purpose->setMinimumWidth(260);
}

QString CAboutDlg::VersionText()
{
    return QStringLiteral(TALVEX_VERSION);
}
