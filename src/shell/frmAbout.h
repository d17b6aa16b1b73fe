// The about box: the program's name, its maker, the copyright warning and
// where to write with comments. It opens inside the main window and is
// brought forward when asked for again while it is open.
#pragma once

#include "shell/Windows.h"

class QLabel;
class QPushButton;

class frmAbout : public QuorvaneForm {
    Q_OBJECT
public:
    frmAbout();

    void Form_Load() override;
    void cmOK_Click();

private:
    QLabel* lblTitle = nullptr;
    QLabel* lblMaker = nullptr;
    QLabel* lblWarning = nullptr;
    QLabel* lblMark1 = nullptr;
    QLabel* lblMark2 = nullptr;
    QLabel* lblComments = nullptr;
    QLabel* lblEmail = nullptr;
    QPushButton* cmOK = nullptr;
};
