// The return window: the clerk types (or scans) the video code and the
// member ID of a rented tape, checks them, and takes the tape back.
#pragma once

#include "shell/Windows.h"

#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmReturn : public QuorvaneForm {
    Q_OBJECT
public:
    frmReturn();

    void Form_Load() override;
    void Form_Unload() override;

    void cmdCheck_Click();
    void cmdCheck_KeyPress(int& keyAscii);
    void cmdTrans_Click();
    void cmdClear_Click();
    void cmdCancel_Click();
    void txtVcode_KeyPress(int& keyAscii);
    void txtMemcode_KeyPress(int& keyAscii);

private:
    void buildControls();

    // The rental the last successful check found; Return takes back this one.
    std::int64_t rentalRow_ = 0;

    QLabel* lblCaption = nullptr;
    QLabel* lblVcode = nullptr;
    QLineEdit* txtVcode = nullptr;
    QLabel* lblMemcode = nullptr;
    QLineEdit* txtMemcode = nullptr;
    QPushButton* cmdCheck = nullptr;
    QGroupBox* fraMessages = nullptr;
    QLabel* lblTitle = nullptr;
    QLineEdit* txtTitle = nullptr;
    QLabel* lblMember = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* lblRent = nullptr;
    QLineEdit* txtDaterent = nullptr;
    QLabel* lblDate = nullptr;
    QLineEdit* txtDatereturn = nullptr;
    QLabel* lblDays = nullptr;
    QLineEdit* txtDays = nullptr;
    QPushButton* cmdTrans = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdCancel = nullptr;
};
