// The return window: the clerk types (or scans) the video code and the
// member ID of a rented tape, checks them, and takes the tape back.
#pragma once

#include "transactions/TransactionWindow.h"

#include <cstdint>

class frmReturn : public TransactionWindow {
    Q_OBJECT
public:
    frmReturn();

    void Form_Load() override;
    void cmdCheck_Click() override;
    void cmdTrans_Click() override;
    void cmdClear_Click() override;

private:
    // The rental the last successful check found; Return takes back this one.
    std::int64_t rentalRow_ = 0;

    QLineEdit* txtDaterent = nullptr;
    QLineEdit* txtDatereturn = nullptr;
    QLineEdit* txtDays = nullptr;
};
