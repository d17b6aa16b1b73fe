// What the rent and return windows share: the heading, the two code boxes
// with the Check button, the Status frame with its display-only result boxes,
// the row of buttons at the foot, the Enter road of a barcode scanner, and
// the entry and ready states.
#pragma once

#include "shell/Windows.h"

#include "transactions/Transactions.h"

#include <QString>

#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace store {
class Recordset;
}

class TransactionWindow : public QuorvaneForm {
    Q_OBJECT
public:
    void Form_Unload() override;

    virtual void cmdCheck_Click() = 0;
    virtual void cmdTrans_Click() = 0;
    virtual void cmdClear_Click() = 0;
    // Enter on Check runs the check.
    void cmdCheck_KeyPress(int& keyAscii);
    void cmdCancel_Click();
    // Enter moves from the video code to the member ID, and on to Check.
    void txtVcode_KeyPress(int& keyAscii);
    void txtMemcode_KeyPress(int& keyAscii);

protected:
    // Builds the heading, the code rows, Check and the frame; the window then
    // adds its result rows and calls finishControls.
    TransactionWindow(const char* name, const QString& heading, int resultRows);

    // A result row of the frame: a caption and a display-only box, which the
    // window alone fills.
    QLineEdit* addResult(const char* labelName, const char* boxName, const QString& caption);
    // The buttons at the foot, the access keys, the tab order and the
    // handlers.
    void finishControls(const QString& transCaption);

    // The entry state: codes empty and editable, Check enabled, the
    // transaction button disabled, title and name empty, "&Cancel".
    void showEntryState();
    // The ready state after a successful check, with the title and the
    // member's name shown.
    void showReadyState(const QString& title, const QString& name);
    // Runs the window's check on the typed codes. False, with the window in
    // the entry state, when it refused; false too when the window was
    // closed meanwhile (a message box lets other events run).
    bool passesCheck(bool (*check)(const QString& code, const QString& member));
    // The title and the member's name ("First Last") where the check left
    // rsVideo and rsMembers.
    static QString checkedTitle();
    static QString checkedMemberName();

    // Runs the rent or the return and shows what became of it: on success
    // the button is disabled until Clear, "Member <name> succesfully
    // <verb> <title>" is told and the status bar counts the table written;
    // after a refusal the window goes back to the entry state; after a
    // failure (reported) it stays, so that the clerk may try again.
    void record(const std::function<transactions::Outcome()>& operation, const QString& verb,
                const std::shared_ptr<store::Recordset>& written);
    // Panels 1 and 2: the table and its count.
    static void showTable(store::Recordset& table);

    QLabel* lblCaption = nullptr;
    QLabel* lblVcode = nullptr;
    QLineEdit* txtVcode = nullptr;
    QLabel* lblMemcode = nullptr;
    QLineEdit* txtMemcode = nullptr;
    QPushButton* cmdCheck = nullptr;
    QGroupBox* fraMessages = nullptr;
    QLineEdit* txtTitle = nullptr;
    QLineEdit* txtName = nullptr;
    QPushButton* cmdTrans = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    QList<QWidget*> resultBoxes_;
    int resultRows_ = 0;
};
