#include "ui/CMessageBoxPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon ToBoxIcon(IPrompt::EIcon icon)
{
    switch (icon) {
    case IPrompt::EIcon::Information: return QMessageBox::Information;
    case IPrompt::EIcon::Warning: return QMessageBox::Warning;
    case IPrompt::EIcon::Error: return QMessageBox::Critical;
    case IPrompt::EIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

CMessageBoxPrompt::CMessageBoxPrompt(QWidget* parent)
    : m_parent(parent)
{
}

void CMessageBoxPrompt::Beep(int /*frequencyHz*/, int /*durationMs*/)
{
    // The desktop plays its own warning sound; frequency and length cannot be chosen here.
    QApplication::beep();
}

void CMessageBoxPrompt::ShowMessage(const QString& caption, const QString& text, EIcon icon)
{
    QMessageBox box(ToBoxIcon(icon), caption, text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool CMessageBoxPrompt::AskOkCancel(const QString& caption, const QString& text, EIcon icon)
{
    QMessageBox box(ToBoxIcon(icon), caption, text, QMessageBox::Ok | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

int CMessageBoxPrompt::AskChoice(const QString& caption, const QString& text, const QStringList& answers, EIcon icon)
{
    QMessageBox box(ToBoxIcon(icon), caption, text, QMessageBox::Cancel, m_parent);
    QList<QAbstractButton*> buttons;
    for (const QString& answer : answers)
        buttons.append(box.addButton(answer, QMessageBox::AcceptRole));
    if (!buttons.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.constFirst()));
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}
