#include "ui/CTransferDlg.h"

#include "app/MenuText.h"
#include "app/StringTable.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

CTransferDlg::CTransferDlg(const STransferSettings& values, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(TextWithoutMnemonic(LoadString(StringId::TransferMenu)));

    m_retries = new QSpinBox(this);
    m_retries->setRange(0, STransferSettings::kMaxRetries);
    m_retries->setValue(values.retries);

    m_timeout = new QSpinBox(this);
    m_timeout->setRange(STransferSettings::kMinTimeoutMs, STransferSettings::kMaxTimeoutMs);
    m_timeout->setSingleStep(100);
    m_timeout->setSuffix(QLatin1Char(' ') + LoadString(StringId::Milliseconds));
    m_timeout->setValue(values.ackTimeoutMs);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->addRow(LoadString(StringId::TransferRetries), m_retries);
    layout->addRow(LoadString(StringId::TransferTimeout), m_timeout);
    layout->addRow(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

STransferSettings CTransferDlg::Values() const
{
    STransferSettings values;
    values.retries = m_retries->value();
    values.ackTimeoutMs = m_timeout->value();
    return values;
}
