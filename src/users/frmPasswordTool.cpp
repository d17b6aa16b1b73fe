#include "users/frmPasswordTool.h"

#include "catalogue/EditorLayout.h"
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/Dialogs.h"
#include "platform/KeyPress.h"
#include "platform/Store.h"
#include "shell/MainWindowLink.h"
#include "startup/Password.h"
#include "startup/frmLogin.h"
#include "users/UserPictures.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <iterator>

using modQuorvane::CurrentPassword;
using modQuorvane::CurrentUser;

using namespace schema::field;

namespace {

const QString kDone = QStringLiteral("&Done");
const QString kCancel = QStringLiteral("&Cancel");

// Users are read into the list this many at a time.
constexpr int kListPage = 500;

store::Recordset& usersSet() { return modQuorvane::Shared(modQuorvane::rsUsers); }

void inform(const QString& text) { dialogs::message(text, dialogs::Icon::Information); }

// Runs a routine under an error trap: a failure ends it with "Error :" and
// the description.
template <class Routine>
void trapped(Routine routine)
{
    try {
        routine();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

QLineEdit* addBox(QWidget* parent, const char* name, bool password)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    if (password) {
        box->setEchoMode(QLineEdit::Password);
        box->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
        // The stored form keeps 30 characters; a longer password could
        // never be typed back at the login.
        box->setMaxLength(modValidate::kPasswordLength);
    }
    return box;
}

QLabel* addCaption(QWidget* parent, const char* name, const QString& caption, QWidget* buddy)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

}  // namespace

frmPasswordTool::frmPasswordTool()
{
    setObjectName(QStringLiteral("frmPasswordTool"));
    setWindowTitle(QStringLiteral("Password Database"));
    buildControls();
}

void frmPasswordTool::buildControls()
{
    imlPass = new users::PasswordImageList(this);
    tbrPass = new QToolBar(this);
    tbrPass->setObjectName(QStringLiteral("tbrPass"));
    tbrPass->setMovable(false);
    tbrPass->setFloatable(false);
    tbrPass->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbrPass->setIconSize(QSize(24, 24));
    struct Button {
        QAction** action;
        const char* caption;
        const char* key;
        const char* tip;
        const char* image;
    };
    const Button buttons[] = {
        {&btnNew, "&New User", "New", "Adds a new user", "new"},
        {&btnEdit, "&Edit User", "Edit", "Edits the selected user", "edit"},
        {&btnDelete, "&Delete User", "Delete", "Deletes the selected user", "delete"},
        {&btnSave, "Save &Info", "Save", "Saves the current info", "save"},
    };
    for (const Button& b : buttons) {
        QAction* a = tbrPass->addAction(imlPass->icon(QString::fromLatin1(b.image)), QString::fromLatin1(b.caption));
        a->setObjectName(QString::fromLatin1(b.key));
        // The face shows the caption with its access key marked.
        a->setIconText(QString::fromLatin1(b.caption));
        a->setToolTip(QString::fromLatin1(b.tip));
        connect(a, &QAction::triggered, this, [this, a] { tbrPass_ButtonClick(a->objectName()); });
        // The buttons are reached with Tab too, and pressed with Space.
        if (QWidget* face = tbrPass->widgetForAction(a))
            face->setFocusPolicy(Qt::TabFocus);
        *b.action = a;
    }
    // Nothing is saved until a mode is open.
    btnSave->setEnabled(false);

    cboUser = new QComboBox(this);
    cboUser->setObjectName(QStringLiteral("cboUser"));
    cboUser->setEditable(false);
    lblSelect = addCaption(this, "lblSelect", QStringLiteral("&Select User :"), cboUser);

    fraPass = new QGroupBox(this);
    fraPass->setObjectName(QStringLiteral("fraPass"));
    txtUser = addBox(fraPass, "txtUser", false);
    txtUser->setEnabled(false);
    txtCurrent = addBox(fraPass, "txtCurrent", true);
    txtNew = addBox(fraPass, "txtNew", true);
    txtVerify = addBox(fraPass, "txtVerify", true);
    lblUser = addCaption(fraPass, "lblUser", QStringLiteral("&Username :"), txtUser);
    lblCurrent = addCaption(fraPass, "lblCurrent", QStringLiteral("&Current Password :"), txtCurrent);
    lblNew = addCaption(fraPass, "lblNew", QStringLiteral("N&ew Password :"), txtNew);
    lblVerify = addCaption(fraPass, "lblVerify", QStringLiteral("&Verify Password :"), txtVerify);
    auto* boxes = new QGridLayout(fraPass);
    QLabel* captions[] = {lblUser, lblCurrent, lblNew, lblVerify};
    QLineEdit* fields[] = {txtUser, txtCurrent, txtNew, txtVerify};
    for (int row = 0; row < 4; ++row) {
        boxes->addWidget(captions[row], row, 0);
        boxes->addWidget(fields[row], row, 1);
    }
    fraPass->setEnabled(false);

    cmdDone = new QPushButton(kDone, this);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));

    auto* select = new QHBoxLayout;
    select->addWidget(lblSelect);
    select->addWidget(cboUser, 1);
    auto* done = new QHBoxLayout;
    done->addStretch();
    done->addWidget(cmdDone);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(tbrPass);
    outer->addLayout(select);
    outer->addWidget(fraPass);
    outer->addStretch();
    outer->addLayout(done);

    QWidget* order[] = {cboUser, txtUser, txtCurrent, txtNew, txtVerify, cmdDone};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    // A choice from the list, by mouse or by the arrow keys.
    connect(cboUser, &QComboBox::activated, this, [this] { cboUser_Click(); });
    keys::onKeyPress(cboUser, [this](int& k) { cboUser_KeyPress(k); });
    connect(cmdDone, &QPushButton::clicked, this, &frmPasswordTool::cmdDone_Click);
    keys::pressOnEnter(cmdDone);
}

// ---------------------------------------------------------------------------
// Loading and the list

void frmPasswordTool::Form_Load()
{
    if (!placed_) {
        placed_ = true;
        setCaption(QStringLiteral("Password Database"));
        setOuterSizeTwips(5700, 4900);
    }
    trapped([this] {
        IsEditing = false;
        IsNewUser = true;
        if (usersSet().RecordCount() > 0)
            loadUsers();
        else
            showNoUsers();
    });
}

void frmPasswordTool::loadUsers()
{
    store::Recordset& rs = usersSet();
    rs.MoveFirst();
    cboUser->setEnabled(true);
    // Every name in the table's order, read a page at a time; the first one
    // is then chosen as a click would choose it.
    const int field = rs.FieldPosition(kUsername);
    QStringList names;
    std::int64_t after = 0;
    for (;;) {
        const auto page = rs.ReadPage(after, kListPage);
        for (const auto& row : page)
            names << row.values[static_cast<size_t>(field)].toString();
        if (static_cast<int>(page.size()) < kListPage)
            break;
        after = page.back().rowid;
    }
    {
        const QSignalBlocker quiet(cboUser);
        cboUser->addItems(names);
        cboUser->setCurrentIndex(0);
    }
    cboUser_Click();
    btnNew->setEnabled(true);
    btnEdit->setEnabled(true);
    btnDelete->setEnabled(true);
    fraPass->setEnabled(false);
    shell::setStatusPanel(1, QStringLiteral("Classified database. Top secret"));
    shell::setStatusPanel(2, QStringLiteral("Classified records. Top secret"));
    cmdDone->setText(kDone);
}

void frmPasswordTool::showNoUsers()
{
    btnNew->setEnabled(true);
    btnEdit->setEnabled(false);
    btnDelete->setEnabled(false);
    btnSave->setEnabled(false);
    cboUser->setEnabled(false);
    fraPass->setEnabled(false);
    // The status bar and the Done button's caption are left as they are.
}

void frmPasswordTool::cboUser_Click()
{
    trapped([this] {
        store::Recordset& rs = usersSet();
        selectedRow_ = 0;
        if (rs.RecordCount() == 0)
            return;
        if (rs.FindFirst(kUsername, cboUser->currentText())) {
            selectedRow_ = rs.Bookmark();
        } else {
            // No such user: the record set ends past its last row.
            rs.MoveLast();
            rs.MoveNext();
        }
    });
}

void frmPasswordTool::cboUser_KeyPress(int& keyAscii)
{
    // Tab still moves on; every other key typed into the list is refused.
    if (keyAscii == '\t')
        return;
    keyAscii = 0;
    if (refuseWhileAwaitingClearance())
        return;
    inform(QStringLiteral("Pls. choose form the specified selections only..."));
    reload();
}

// Empties the list and loads the window afresh.
void frmPasswordTool::reload()
{
    cboUser->clear();
    Form_Load();
}

void frmPasswordTool::clearBoxes()
{
    txtUser->clear();
    txtCurrent->clear();
    txtNew->clear();
    txtVerify->clear();
}

// ---------------------------------------------------------------------------
// The toolbar and the Done button

void frmPasswordTool::tbrPass_ButtonClick(const QString& key)
{
    if (refuseWhileAwaitingClearance())
        return;
    // A routine that fails stops where it failed; only Save and Delete say so.
    try {
        if (key == QLatin1String("New"))
            NewUser();
        else if (key == QLatin1String("Edit"))
            EditUser();
        else if (key == QLatin1String("Delete"))
            DeleteUser();
        else if (key == QLatin1String("Save"))
            SaveInfo();
    } catch (...) {
    }
}

void frmPasswordTool::cmdDone_Click()
{
    if (refuseWhileAwaitingClearance())
        return;
    if (IsEditing) {
        clearBoxes();
        reload();
        btnSave->setEnabled(false);
    } else {
        Unload();
    }
}

void frmPasswordTool::NewUser() { openMode(true); }

void frmPasswordTool::EditUser() { openMode(false); }

// The new-user mode takes a name and a password (in the current-password
// box); the edit mode keeps the chosen name and takes the current password,
// the new one and the new one again.
void frmPasswordTool::openMode(bool newUser)
{
    IsNewUser = newUser;
    IsEditing = true;
    txtUser->setEnabled(newUser);
    cboUser->setEnabled(false);
    if (!newUser)
        txtUser->setText(cboUser->currentText());
    btnSave->setEnabled(true);
    btnDelete->setEnabled(false);
    btnEdit->setEnabled(false);
    btnNew->setEnabled(false);
    fraPass->setEnabled(true);
    txtNew->clear();
    txtVerify->clear();
    txtNew->setEnabled(!newUser);
    txtVerify->setEnabled(!newUser);
    if (newUser)
        txtUser->setFocus();
    else
        txtCurrent->setFocus();
    cmdDone->setText(kCancel);
}

// ---------------------------------------------------------------------------
// The security clearance

bool frmPasswordTool::securityClearance()
{
    // The login dialog waits while window events run; meanwhile this
    // window takes no command and does not close (see
    // refuseWhileAwaitingClearance and closeEvent).
    awaitingClearance_ = true;
    bool granted = false;
    try {
        granted = frmLogin::instance().IsUserOK();
    } catch (...) {
        awaitingClearance_ = false;
        throw;
    }
    awaitingClearance_ = false;
    if (!granted)
        dialogs::message(QStringLiteral("Access Denied !!"), dialogs::Icon::Critical);
    return granted;
}

bool frmPasswordTool::refuseWhileAwaitingClearance()
{
    if (!awaitingClearance_)
        return false;
    frmLogin& login = frmLogin::instance();
    login.raise();
    login.activateWindow();
    return true;
}

void frmPasswordTool::closeEvent(QCloseEvent* event)
{
    if (refuseWhileAwaitingClearance()) {
        event->ignore();
        return;
    }
    QuorvaneForm::closeEvent(event);
}

// ---------------------------------------------------------------------------
// Delete and Save

void frmPasswordTool::DeleteUser()
{
    // A deletion that fails says so, or the clerk would think the user gone.
    trapped([this] {
        if (!securityClearance())
            return;
        const QString name = cboUser->currentText();
        if (name == CurrentUser) {
            inform(QStringLiteral("You can't delete the currently logged user."));
            return;
        }
        if (!dialogs::askYesNo(QStringLiteral("Are you sure you want to delete the user ") + name +
                                   QStringLiteral(" ?"),
                               dialogs::Icon::None))
            return;
        store::Recordset& rs = usersSet();
        // Only the first user of that name goes.
        if (rs.RecordCount() > 0 && rs.FindFirst(kUsername, name))
            rs.Delete();
        reload();
    });
}

void frmPasswordTool::SaveInfo()
{
    trapped([this] {
        if (!securityClearance())
            return;
        struct Required {
            bool applies;
            QLineEdit* box;
            const char* message;
        };
        const Required required[] = {
            {true, txtUser, "Username field must not be empty..."},
            {true, txtCurrent, "Password field must not be empty..."},
            {!IsNewUser, txtNew, "Pls. type a new password..."},
            {!IsNewUser, txtVerify, "Pls. verify your new password..."},
        };
        for (const Required& r : required) {
            if (r.applies && r.box->text().isEmpty()) {
                inform(QString::fromLatin1(r.message));
                r.box->setFocus();
                return;
            }
        }
        // A new user needs only a name and a password.
        if (IsNewUser)
            writeUser(txtCurrent->text());
        else if (passwordChangeAccepted())
            writeUser(txtVerify->text());
    });
}

// Steps of the edit mode: the chosen user's current password, then the new
// one typed twice alike.
bool frmPasswordTool::passwordChangeAccepted()
{
    store::Recordset& rs = usersSet();
    if (rs.RecordCount() > 0) {
        // The chosen user's row, even if something moved the record set
        // while the clearance was asked.
        catalogue::returnToShownRow(rs, selectedRow_);
        if (modValidate::DecodePassword(rs.Text(kPassword)) != txtCurrent->text()) {
            inform(QStringLiteral("Wrong password. Pls. try again..."));
            return false;
        }
    }
    if (txtNew->text() != txtVerify->text()) {
        inform(QStringLiteral("New password and verification didn't match. Pls. try again..."));
        return false;
    }
    return true;
}

// Adds the new user, or writes the chosen user's new password, and goes
// back to the list.
void frmPasswordTool::writeUser(const QString& password)
{
    store::Recordset& rs = usersSet();
    const bool adding = IsNewUser;
    const QString name = txtUser->text();
    // A password the stored form cannot hold is refused before anything is
    // written.
    const QString stored = modValidate::EncodePassword(password);
    try {
        if (adding) {
            rs.AddNew();
        } else {
            catalogue::returnToShownRow(rs, selectedRow_);
            rs.Edit();
        }
        rs.SetValue(kUsername, name);
        rs.SetValue(kPassword, stored);
        rs.Update();
    } catch (...) {
        rs.CancelUpdate();
        throw;
    }
    // Only once the new password is on file do later clearances ask for it.
    if (!adding && name == CurrentUser)
        CurrentPassword = password;
    inform(QStringLiteral("User : ") + name +
           (adding ? QStringLiteral(" has been successfully added to the user database...")
                   : QStringLiteral(" has been successfully updated in the user database...")));
    clearBoxes();
    reload();
    btnSave->setEnabled(false);
}

void frmPasswordTool::Form_Unload()
{
    shell::setStatusPanel(1, QStringLiteral("No database open"));
    shell::setStatusPanel(2, QStringLiteral(" 0 records"));
}
