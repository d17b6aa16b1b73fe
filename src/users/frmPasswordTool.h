// The user tool "Password Database": lists the clerks who may log in, adds
// one, changes a password, deletes one. Saving and deleting ask the logged-in
// clerk for the security clearance first. It works through the shared record
// set rsUsers.
#pragma once

#include "shell/Windows.h"

#include <cstdint>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;

namespace users {
class PasswordImageList;
}

class frmPasswordTool : public QuorvaneForm {
    Q_OBJECT
public:
    frmPasswordTool();

    // True when the window loads and in the new-user mode, false in the
    // edit mode.
    bool IsNewUser = true;
    // True while the new-user or the edit mode is open.
    bool IsEditing = false;

    // Loads the list of users and the idle (or no-users) state; also the
    // reset after Cancel, Save, Delete and a key typed into the list.
    void Form_Load() override;
    void Form_Unload() override;

    void cboUser_Click();
    void cboUser_KeyPress(int& keyAscii);
    void cmdDone_Click();
    // Runs the routine of the pressed button's key; other keys do nothing.
    void tbrPass_ButtonClick(const QString& key);

    void NewUser();
    void EditUser();
    void DeleteUser();
    void SaveInfo();

    // True while the window waits for the security clearance.
    bool isAwaitingClearance() const { return awaitingClearance_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void loadUsers();
    void showNoUsers();
    void openMode(bool newUser);
    void clearBoxes();
    void reload();
    bool securityClearance();
    bool refuseWhileAwaitingClearance();
    bool passwordChangeAccepted();
    void writeUser(const QString& password);

    bool placed_ = false;
    bool awaitingClearance_ = false;
    // The row cboUser_Click stood on (0 when no user matched): the row a
    // password change checks and writes.
    std::int64_t selectedRow_ = 0;

    users::PasswordImageList* imlPass = nullptr;
    QToolBar* tbrPass = nullptr;
    QAction* btnNew = nullptr;
    QAction* btnEdit = nullptr;
    QAction* btnDelete = nullptr;
    QAction* btnSave = nullptr;
    QLabel* lblSelect = nullptr;
    QComboBox* cboUser = nullptr;
    QGroupBox* fraPass = nullptr;
    QLabel* lblUser = nullptr;
    QLineEdit* txtUser = nullptr;
    QLabel* lblCurrent = nullptr;
    QLineEdit* txtCurrent = nullptr;
    QLabel* lblNew = nullptr;
    QLineEdit* txtNew = nullptr;
    QLabel* lblVerify = nullptr;
    QLineEdit* txtVerify = nullptr;
    QPushButton* cmdDone = nullptr;
};
