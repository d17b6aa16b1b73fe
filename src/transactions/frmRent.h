// The rent window: the clerk types (or scans) a video code and a member ID,
// checks them, and rents one tape of the title to the member.
#pragma once

#include "transactions/TransactionWindow.h"

class frmRent : public TransactionWindow {
    Q_OBJECT
public:
    frmRent();

    void Form_Load() override;
    void cmdCheck_Click() override;
    void cmdTrans_Click() override;
    void cmdClear_Click() override;

private:
    QLineEdit* txtDate = nullptr;
    QLineEdit* txtTapes = nullptr;
};
