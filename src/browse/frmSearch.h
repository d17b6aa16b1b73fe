// The search dialog: the clerk types a query, picks the table, the field
// and the style, and the results window lists what the search finds. The
// same dialog serves the plain search and the two edit commands.
#pragma once

#include "shell/Windows.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmSearch : public QuorvaneForm {
    Q_OBJECT
public:
    frmSearch();

    void Form_Load() override;

    void cboTables_Click();
    void cmdSearch_Click();
    void cmdCancel_Click();

private:
    QLabel* lblSearch = nullptr;
    QLineEdit* txtQuery = nullptr;
    QComboBox* cboTables = nullptr;
    QComboBox* cboFields = nullptr;
    QComboBox* cboStyle = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdCancel = nullptr;
};
