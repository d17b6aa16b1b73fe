// The login dialog: the gate of the program at start-up, and later the
// security clearance that asks the logged-in clerk for the password again.
// The dialog object lives for the whole run; loading and unloading it build
// and clear its window, and its public flags survive both. It is a dialog
// window, and says so to screen readers.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class frmLogin : public QDialog {
    Q_OBJECT
public:
    // The one login dialog of the run.
    static frmLogin& instance();
    // Drops the dialog object (for tests, which start each run afresh).
    static void destroyInstance();

    bool IsPressed = false;
    bool LoginSucceeded = false;
    bool NoDbase = false;
    // Start-up could not open a sound database; the error has been reported.
    bool StartupFailed = false;

    // Asks for the clerk's name and password and waits, letting window
    // events run, until the dialog is answered.
    bool IsUserOK();

    bool isLoaded() const { return loaded_; }

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
    void txtUserName_KeyPress(int& keyAscii);
    void txtPassword_KeyPress(int& keyAscii);

    // Every way of dismissing the dialog other than its buttons is a Cancel.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    frmLogin();
    void load();
    void unload();
    void startupLoad();
    void checkStartupLogin();
    void checkClearance();

    bool loaded_ = false;
    QLabel* lblUserName = nullptr;
    QLineEdit* txtUserName = nullptr;
    QLabel* lblPassword = nullptr;
    QLineEdit* txtPassword = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* lblPrompt = nullptr;
};
