// The rent window: the clerk types (or scans) a video code and a member ID,
// checks them, and rents one tape of the title to the member.
#pragma once

#include "shell/Windows.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmRent : public QuorvaneForm {
    Q_OBJECT
public:
    frmRent();

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
    QLabel* lblDate = nullptr;
    QLineEdit* txtDate = nullptr;
    QLabel* lblTapes = nullptr;
    QLineEdit* txtTapes = nullptr;
    QPushButton* cmdTrans = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdCancel = nullptr;
};
