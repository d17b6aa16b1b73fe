// The member editor: registers new members (add mode) and changes existing
// ones (edit mode), through the shared record set rsMembers.
#pragma once

#include "shell/Windows.h"

#include <QString>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

class frmMembers : public QuorvaneForm {
    Q_OBJECT
public:
    frmMembers();

    void Form_Load() override;
    void Form_Unload() override;

    // The mode the window was loaded in; fixed until it is unloaded.
    bool isEditMode() const { return editMode_; }

    void cmdCommand1_Click();  // Previous
    void cmdCommand2_Click();  // Next (edit mode) / Clear (add mode)
    void cmdSave_Click();
    void cmdCommand3_Click();  // Close

    void txtCode_KeyPress(int& keyAscii);
    void txtLast_KeyPress(int& keyAscii);
    void txtFirst_KeyPress(int& keyAscii);
    void txtAddress_KeyPress(int& keyAscii);
    void txtContact_KeyPress(int& keyAscii);

private:
    void buildControls();
    void loadAddMode();
    void loadEditMode();
    void loadCommonEnding();
    void showCurrentRow();
    void clearBoxes();
    void LocateRecord(const QString& fieldName, const QString& value);

    bool editMode_ = false;
    // The row whose fields the boxes show (0 when they show none); a save in
    // edit mode writes this row.
    std::int64_t shownRow_ = 0;

    QLabel* lblCode = nullptr;
    QLineEdit* txtCode = nullptr;
    QLabel* lblLast = nullptr;
    QLineEdit* txtLast = nullptr;
    QLabel* lblFirst = nullptr;
    QLineEdit* txtFirst = nullptr;
    QLabel* lblAddress = nullptr;
    QLineEdit* txtAddress = nullptr;
    QLabel* lblContact = nullptr;
    QLineEdit* txtContact = nullptr;
    QPushButton* cmdCommand1 = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdCommand2 = nullptr;
    QPushButton* cmdCommand3 = nullptr;
    QLabel* lblTitle = nullptr;
};
