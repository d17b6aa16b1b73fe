#include "startup/frmLogin.h"

#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/Dialogs.h"
#include "platform/KeyPress.h"
#include "platform/Twips.h"
#include "startup/Password.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

using namespace modQuorvane;

namespace {

frmLogin* g_login = nullptr;

const QString kTitle = QStringLiteral("Security clearance required...");
const QString kClearancePrompt =
    QStringLiteral("For security clearance, pls. type the logged-in user in this session...");

void warn(const QString& text) { dialogs::message(text, dialogs::Icon::Exclamation); }

}  // namespace

frmLogin& frmLogin::instance()
{
    if (!g_login)
        g_login = new frmLogin();
    return *g_login;
}

void frmLogin::destroyInstance()
{
    delete g_login;
    g_login = nullptr;
}

frmLogin::frmLogin() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(kTitle);
    setFixedSize(twips::size(4800, 2700));

    auto* mark = new QFrame(this);
    mark->setObjectName(QStringLiteral("shpFrame"));
    mark->setFrameShape(QFrame::Box);
    auto* markLayout = new QVBoxLayout(mark);
    auto* lblMark1 = new QLabel(QStringLiteral("QUORVANE"), mark);
    lblMark1->setObjectName(QStringLiteral("lblMark1"));
    QFont big = lblMark1->font();
    big.setBold(true);
    big.setPointSize(14);
    lblMark1->setFont(big);
    auto* lblMark2 = new QLabel(QStringLiteral("video rental counter"), mark);
    lblMark2->setObjectName(QStringLiteral("lblMark2"));
    markLayout->addWidget(lblMark1);
    markLayout->addWidget(lblMark2);

    // The clearance prompt; the start-up login hides it. It always carries
    // its words, so a screen reader never meets an empty label.
    lblPrompt = new QLabel(kClearancePrompt, this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setWordWrap(true);
    lblPrompt->hide();

    lblUserName = new QLabel(QStringLiteral("&User Name:"), this);
    lblUserName->setObjectName(QStringLiteral("lblUserName"));
    txtUserName = new QLineEdit(this);
    txtUserName->setObjectName(QStringLiteral("txtUserName"));
    lblUserName->setBuddy(txtUserName);

    lblPassword = new QLabel(QStringLiteral("&Password:"), this);
    lblPassword->setObjectName(QStringLiteral("lblPassword"));
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    // A password keeps 30 characters; a longer one could never be matched.
    txtPassword->setMaxLength(modValidate::kPasswordLength);
    lblPassword->setBuddy(txtPassword);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter moves from box to box and presses only the button it is on; no
    // button of this dialog is pressed by Enter elsewhere.
    for (QPushButton* b : {cmdOK, cmdCancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto* grid = new QGridLayout;
    grid->addWidget(lblUserName, 0, 0);
    grid->addWidget(txtUserName, 0, 1);
    grid->addWidget(lblPassword, 1, 0);
    grid->addWidget(txtPassword, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(mark);
    outer->addWidget(lblPrompt);
    outer->addLayout(grid);
    outer->addLayout(buttons);

    setTabOrder(txtUserName, txtPassword);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogin::cmdCancel_Click);
    keys::onKeyPress(txtUserName, [this](int& k) { txtUserName_KeyPress(k); });
    keys::onKeyPress(txtPassword, [this](int& k) { txtPassword_KeyPress(k); });
    keys::pressOnEnter(cmdOK);
    keys::pressOnEnter(cmdCancel);
}

bool frmLogin::IsUserOK()
{
    LoginSucceeded = false;
    load();
    if (StartupFailed)
        return false;
    if (NoDbase)
        return true;
    IsPressed = false;
    show();
    raise();
    activateWindow();
    txtUserName->setFocus();
    while (!IsPressed)
        platform::waitForEvents();
    return LoginSucceeded;
}

void frmLogin::load()
{
    if (loaded_)
        return;
    loaded_ = true;
    Form_Load();
}

void frmLogin::unload()
{
    hide();
    txtUserName->clear();
    txtPassword->clear();
    loaded_ = false;
}

void frmLogin::Form_Load()
{
    if (IsStartupLogin) {
        setWindowTitle(kTitle);
        lblPrompt->hide();
        setFixedSize(twips::size(4800, 2700));
        startupLoad();
    } else {
        // A later use asks the clerk who logged in at start-up to confirm;
        // the window grows by what the prompt needs.
        setWindowTitle(kTitle);
        lblPrompt->show();
        const QSize design = twips::size(4800, 2700);
        int needed = minimumSizeHint().height();
        if (layout() && layout()->hasHeightForWidth())  // the prompt wraps at the dialog's width
            needed = std::max(needed, layout()->totalHeightForWidth(design.width()));
        setFixedSize(design.width(), std::max(design.height(), needed));
    }
}

void frmLogin::startupLoad()
{
    const QFileInfo file(DbPath);
    if (file.exists() || file.isSymLink()) {
        if (modValidate::CheckDatabaseStructure() == modValidate::CheckOutcome::Failed) {
            StartupFailed = true;
            return;
        }
        try {
            OpenMainDatabase();
            if (rsUsers->RecordCount() >= 1) {
                NoDbase = false;
            } else {
                warn(QStringLiteral("Warning, no user exist. pls. add one..."));
                NoDbase = true;
            }
        } catch (const std::exception& e) {
            dialogs::reportError(e);
            StartupFailed = true;
        }
        return;
    }
    dialogs::message(QStringLiteral("No Quorvane database exist, creating new database..."),
                     dialogs::Icon::Information);
    if (!CreateNewDatabase()) {
        StartupFailed = true;
        return;
    }
    try {
        OpenMainDatabase();
        NoDbase = true;
    } catch (const std::exception& e) {
        dialogs::reportError(e);
        StartupFailed = true;
    }
}

void frmLogin::cmdOK_Click()
{
    try {
        if (IsStartupLogin)
            checkStartupLogin();
        else
            checkClearance();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmLogin::checkStartupLogin()
{
    const QString typed = txtUserName->text();
    bool found = false;
    if (rsUsers->RecordCount() > 0) {
        rsUsers->MoveFirst();
        found = rsUsers->FindFirst(QStringLiteral("UserName"), typed);
        if (found) {
            CurrentUser = rsUsers->Text(QStringLiteral("Username"));
            CurrentPassword = modValidate::DecodePassword(rsUsers->Text(QStringLiteral("Password")));
        } else {
            // The scan ends past the last row.
            rsUsers->MoveLast();
            rsUsers->MoveNext();
        }
    }
    if (!found) {
        warn(QStringLiteral("Username ") + typed +
             QStringLiteral(" is not a registered user. Pls. enter a valid user..."));
        return;
    }
    if (CurrentPassword != txtPassword->text()) {
        warn(QStringLiteral("Wrong password for username: ") + typed);
        return;
    }
    LoginSucceeded = true;
    IsPressed = true;
    unload();
}

void frmLogin::checkClearance()
{
    if (txtUserName->text() != CurrentUser) {
        warn(QStringLiteral("The username is not the one logged-in. Pls. enter the correct one"));
        return;
    }
    if (txtPassword->text() != CurrentPassword) {
        warn(QStringLiteral("Wrong password for username: ") + txtUserName->text());
        return;
    }
    IsPressed = true;
    LoginSucceeded = true;
    unload();
}

void frmLogin::cmdCancel_Click()
{
    unload();
    LoginSucceeded = false;
    IsPressed = !IsPressed;
}

void frmLogin::txtUserName_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, txtPassword);
}

void frmLogin::txtPassword_KeyPress(int& keyAscii)
{
    if (keyAscii == keys::vbKeyReturn)
        cmdOK_Click();
}

void frmLogin::closeEvent(QCloseEvent* event)
{
    // Closing the dialog by its frame is a Cancel.
    event->ignore();
    reject();
}

void frmLogin::reject()
{
    if (isVisible())
        cmdCancel_Click();
}

void frmLogin::keyPressEvent(QKeyEvent* event)
{
    // Escape is no answer: only the buttons and the frame answer the dialog.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
