#pragma once

#include "download/TransferSettings.h"

#include <QDialog>

class QSpinBox;

// The Setting menu's "Transfer…" dialog: how often a record without an answer is sent again, and how long the
// scale may take to answer each record.
class CTransferDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CTransferDlg(const STransferSettings& values, QWidget* parent = nullptr);

    STransferSettings Values() const;
    QSpinBox& RetriesBox() { return *m_retries; }
    QSpinBox& TimeoutBox() { return *m_timeout; }

private:
    QSpinBox* m_retries = nullptr;
    QSpinBox* m_timeout = nullptr;
};
