// The user tool: its states, the checks before a save, the clearance before
// a save or a deletion, and what reaches the users table.
#include "shell/ShellFixture.h"

#include "platform/Store.h"
#include "shell/Windows.h"
#include "startup/LoginScript.h"
#include "startup/Password.h"
#include "startup/frmLogin.h"
#include "users/UserPictures.h"
#include "users/frmPasswordTool.h"

#include <SQLiteCpp/Database.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using login_script::answer;
using testing_support::control;
using namespace modQuorvane;

namespace {

// The logged-in clerk is "clerk" with the password "pw".
class PasswordToolTest : public shell_tests::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        CurrentPassword = QStringLiteral("pw");
    }

    void TearDown() override
    {
        script.stop();
        ShellTest::TearDown();
    }

    static void addTypedUser(const QString& name, const QString& password)
    {
        addUser(name, modValidate::EncodePassword(password));
    }

    // The users on file, in the table's order, as "name:typed password".
    static QStringList usersOnFile()
    {
        QStringList out;
        store::Recordset& rs = *rsUsers;
        for (const auto& row : rs.ReadPage(0, 1000))
            out << row.values[0].toString() + ":" + modValidate::DecodePassword(row.values[1].toString());
        return out;
    }

    frmPasswordTool* openTool()
    {
        frmPasswordTool* w = windows::show<frmPasswordTool>();
        testing_support::pump();
        return w;
    }

    // Presses a toolbar button; a Save or a Delete is cleared by the login
    // dialog with this answer first.
    void press(frmPasswordTool* w, const char* key, const QString& user = "clerk", const QString& password = "pw")
    {
        const QString k = QString::fromLatin1(key);
        if (k == "Save" || k == "Delete")
            script({[user, password] { answer(user, password); }});
        control<QAction>(w, key)->trigger();
    }

    void pressRefused(frmPasswordTool* w, const char* key)
    {
        script({[] { answer("", "", "cmdCancel"); }});
        control<QAction>(w, key)->trigger();
    }

    static QLineEdit* box(QWidget* w, const char* name) { return control<QLineEdit>(w, name); }
    static QComboBox* list(QWidget* w) { return control<QComboBox>(w, "cboUser"); }

    // Chooses the user at this place in the list, as a click does.
    static void choose(frmPasswordTool* w, int index)
    {
        list(w)->setCurrentIndex(index);
        w->cboUser_Click();
    }

    // One "Error : " report with the critical icon, and nothing else.
    void expectOneErrorReport()
    {
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : ")) << dialogs_.messages[0].text.toStdString();
        EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    }

    static QStringList listed(QWidget* w)
    {
        QStringList out;
        for (int i = 0; i < list(w)->count(); ++i)
            out << list(w)->itemText(i);
        return out;
    }

    // Which of New, Edit, Delete, Save are enabled, as "NEDS" with "-" for
    // each one disabled.
    static QString buttons(QWidget* w)
    {
        QString s;
        const char* keys[] = {"New", "Edit", "Delete", "Save"};
        for (const char* k : keys)
            s += control<QAction>(w, k)->isEnabled() ? QChar(QLatin1Char(k[0])) : QChar(QLatin1Char('-'));
        return s;
    }

    // Idle: the list with its first user chosen, the boxes closed and empty.
    void expectIdle(frmPasswordTool* w, const QStringList& users)
    {
        EXPECT_EQ(buttons(w), "NED-");
        EXPECT_EQ(listed(w), users);
        EXPECT_EQ(list(w)->currentIndex(), 0);
        EXPECT_TRUE(list(w)->isEnabled());
        EXPECT_FALSE(control<QGroupBox>(w, "fraPass")->isEnabled());
        for (const char* name : {"txtUser", "txtCurrent", "txtNew", "txtVerify"})
            EXPECT_EQ(box(w, name)->text(), "") << name;
        EXPECT_EQ(control<QPushButton>(w, "cmdDone")->text(), "&Done");
        EXPECT_FALSE(w->IsEditing);
        EXPECT_TRUE(w->IsNewUser);
        EXPECT_EQ(main->panelText(1), "Classified database. Top secret");
        EXPECT_EQ(main->panelText(2), "Classified records. Top secret");
    }

    login_script::Script script;
};

TEST_F(PasswordToolTest, WindowHasItsToolbarListBoxesAndPictures)
{
    frmPasswordTool* w = openTool();
    EXPECT_EQ(w->caption(), "Password Database");
    auto* tbr = control<QToolBar>(w, "tbrPass");
    const users::PasswordImageList* iml = w->findChild<users::PasswordImageList*>("imlPass");
    ASSERT_NE(iml, nullptr);
    EXPECT_EQ(iml->keys(), (QStringList{"new", "edit", "delete", "save"}));
    struct Row {
        const char *key, *caption, *tip, *image;
    };
    const Row rows[] = {{"New", "&New User", "Adds a new user", "new"},
                        {"Edit", "&Edit User", "Edits the selected user", "edit"},
                        {"Delete", "&Delete User", "Deletes the selected user", "delete"},
                        {"Save", "Save &Info", "Saves the current info", "save"}};
    const QList<QAction*> actions = tbr->actions();
    ASSERT_EQ(actions.size(), 4);
    std::vector<QImage> seen;
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(rows[i].key);
        EXPECT_EQ(actions[i]->objectName(), rows[i].key);
        EXPECT_EQ(actions[i]->text(), rows[i].caption);
        EXPECT_EQ(actions[i]->toolTip(), rows[i].tip);
        const QImage picture = actions[i]->icon().pixmap(24, 24).toImage();
        EXPECT_EQ(picture, iml->icon(rows[i].image).pixmap(24, 24).toImage());
        EXPECT_FALSE(picture.isNull());
        for (const QImage& other : seen)
            EXPECT_NE(picture, other);
        seen.push_back(picture);
    }
    EXPECT_TRUE(iml->icon("passkey").isNull());

    const std::pair<const char*, const char*> captions[] = {{"lblSelect", "&Select User :"},
                                                            {"lblUser", "&Username :"},
                                                            {"lblCurrent", "&Current Password :"},
                                                            {"lblNew", "N&ew Password :"},
                                                            {"lblVerify", "&Verify Password :"}};
    for (const auto& [label, caption] : captions)
        EXPECT_EQ(control<QLabel>(w, label)->text(), caption);
    EXPECT_EQ(control<QLabel>(w, "lblSelect")->buddy(), list(w));
    EXPECT_EQ(control<QLabel>(w, "lblVerify")->buddy(), box(w, "txtVerify"));
    EXPECT_EQ(box(w, "txtUser")->echoMode(), QLineEdit::Normal);
    for (const char* name : {"txtCurrent", "txtNew", "txtVerify"}) {
        EXPECT_EQ(box(w, name)->echoMode(), QLineEdit::Password) << name;
        EXPECT_EQ(box(w, name)->maxLength(), 30) << name;
    }
    EXPECT_EQ(box(w, "txtUser")->parentWidget(), control<QGroupBox>(w, "fraPass"));
}

TEST_F(PasswordToolTest, WithNoUsersOnlyNewWorksAndTheFirstUserIsAdded)
{
    // A run that began with no users asks no one for clearance.
    CurrentUser.clear();
    CurrentPassword.clear();
    frmLogin::instance().NoDbase = true;
    frmPasswordTool* w = openTool();
    EXPECT_EQ(buttons(w), "N---");
    EXPECT_FALSE(list(w)->isEnabled());
    EXPECT_FALSE(control<QGroupBox>(w, "fraPass")->isEnabled());
    EXPECT_EQ(main->panelText(1), "No database open");

    // Cancel goes back to the same state; with no users the reload leaves the
    // button's caption alone, and it now closes the window.
    press(w, "New");
    control<QPushButton>(w, "cmdDone")->click();
    EXPECT_EQ(buttons(w), "N---");
    EXPECT_FALSE(w->IsEditing);
    EXPECT_EQ(control<QPushButton>(w, "cmdDone")->text(), "&Cancel");

    press(w, "New");
    EXPECT_EQ(buttons(w), "---S");
    EXPECT_TRUE(w->IsEditing);
    EXPECT_TRUE(w->IsNewUser);
    EXPECT_TRUE(box(w, "txtUser")->isEnabled());
    EXPECT_TRUE(box(w, "txtCurrent")->isEnabled());
    EXPECT_FALSE(box(w, "txtNew")->isEnabled());
    EXPECT_FALSE(box(w, "txtVerify")->isEnabled());
    EXPECT_EQ(w->focusWidget(), box(w, "txtUser"));
    EXPECT_EQ(control<QPushButton>(w, "cmdDone")->text(), "&Cancel");

    box(w, "txtUser")->setText("ana");
    box(w, "txtCurrent")->setText("tape");
    press(w, "Save");
    EXPECT_EQ(dialogs_.texts(), QStringList{"User : ana has been successfully added to the user database..."});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
    // Each code lowered by 27: t(116) a(97) p(112) e(101).
    EXPECT_EQ(rsUsers->ReadPage(0, 10).at(0).values[1].toString(), "YFUJ");
    EXPECT_EQ(usersOnFile(), QStringList{"ana:tape"});
    expectIdle(w, {"ana"});

    // Done closes the window and says no table is in use.
    control<QPushButton>(w, "cmdDone")->click();
    testing_support::pump();
    EXPECT_EQ(windows::find<frmPasswordTool>(), nullptr);
    EXPECT_EQ(main->panelText(1), "No database open");
    EXPECT_EQ(main->panelText(2), " 0 records");
}

TEST_F(PasswordToolTest, OpensIdleWithSaveDisabledAndCancelReturnsThere)
{
    addTypedUser("clerk", "pw");
    addTypedUser("bo", "b");
    frmPasswordTool* w = openTool();
    expectIdle(w, {"clerk", "bo"});

    choose(w, 1);
    press(w, "Edit");
    EXPECT_FALSE(w->IsNewUser);
    EXPECT_EQ(buttons(w), "---S");
    EXPECT_FALSE(box(w, "txtUser")->isEnabled());
    EXPECT_EQ(box(w, "txtUser")->text(), "bo");
    EXPECT_TRUE(box(w, "txtNew")->isEnabled());
    EXPECT_FALSE(list(w)->isEnabled());
    EXPECT_EQ(w->focusWidget(), box(w, "txtCurrent"));
    box(w, "txtCurrent")->setText("typed");

    control<QPushButton>(w, "cmdDone")->click();
    expectIdle(w, {"clerk", "bo"});
    EXPECT_NE(windows::find<frmPasswordTool>(), nullptr);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(dialogs_.questions.empty());
}

TEST_F(PasswordToolTest, SaveRefusesInOrderAndKeepsTheModeAndTheTexts)
{
    addTypedUser("clerk", "pw");
    addTypedUser("bo", "old");
    frmPasswordTool* w = openTool();

    press(w, "New");
    press(w, "Save");
    press(w, "New");  // disabled in the mode: nothing happens
    EXPECT_EQ(w->focusWidget(), box(w, "txtUser"));
    box(w, "txtUser")->setText("cy");
    press(w, "Save");
    EXPECT_EQ(w->focusWidget(), box(w, "txtCurrent"));
    EXPECT_EQ(dialogs_.texts(),
              (QStringList{"Username field must not be empty...", "Password field must not be empty..."}));
    control<QPushButton>(w, "cmdDone")->click();

    choose(w, 1);
    press(w, "Edit");
    dialogs_.clear();
    struct Step {
        const char *current, *fresh, *verify, *message, *focus;
    };
    const Step steps[] = {
        {"", "", "", "Password field must not be empty...", "txtCurrent"},
        {"old", "", "", "Pls. type a new password...", "txtNew"},
        {"old", "new", "", "Pls. verify your new password...", "txtVerify"},
        {"wrong", "new", "new", "Wrong password. Pls. try again...", nullptr},
        {"old", "new", "other", "New password and verification didn't match. Pls. try again...", nullptr},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.message);
        box(w, "txtCurrent")->setText(s.current);
        box(w, "txtNew")->setText(s.fresh);
        box(w, "txtVerify")->setText(s.verify);
        w->setFocus();
        dialogs_.clear();
        press(w, "Save");
        EXPECT_EQ(dialogs_.texts(), QStringList{s.message});
        ASSERT_FALSE(dialogs_.messages.empty());
        EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
        if (s.focus) {
            EXPECT_EQ(w->focusWidget(), box(w, s.focus));
        }
        // The mode stays open with what was typed; nothing is written.
        EXPECT_TRUE(w->IsEditing);
        EXPECT_EQ(buttons(w), "---S");
        EXPECT_EQ(box(w, "txtCurrent")->text(), s.current);
        EXPECT_EQ(box(w, "txtVerify")->text(), s.verify);
        EXPECT_EQ(usersOnFile(), (QStringList{"clerk:pw", "bo:old"}));
    }

    box(w, "txtVerify")->setText("new");
    dialogs_.clear();
    press(w, "Save");
    EXPECT_EQ(dialogs_.texts(), QStringList{"User : bo has been successfully updated in the user database..."});
    EXPECT_EQ(usersOnFile(), (QStringList{"clerk:pw", "bo:new"}));
    expectIdle(w, {"clerk", "bo"});
    // Another clerk's password is no business of the login.
    EXPECT_EQ(CurrentPassword, "pw");
}

TEST_F(PasswordToolTest, ChangingTheLoggedInPasswordChangesTheNextClearance)
{
    addTypedUser("clerk", "pw");
    frmPasswordTool* w = openTool();
    press(w, "Edit");
    box(w, "txtCurrent")->setText("pw");
    box(w, "txtNew")->setText("fresh");
    box(w, "txtVerify")->setText("fresh");
    press(w, "Save");
    EXPECT_EQ(CurrentPassword, "fresh");
    EXPECT_EQ(usersOnFile(), QStringList{"clerk:fresh"});

    // The old password is now refused at the clearance, the new one passes.
    dialogs_.clear();
    script({[] { answer("clerk", "pw"); }, [] { answer("clerk", "fresh"); }});
    control<QAction>(w, "Edit")->trigger();
    control<QAction>(w, "Save")->trigger();
    EXPECT_EQ(dialogs_.texts(),
              (QStringList{"Wrong password for username: clerk", "Password field must not be empty..."}));
}

TEST_F(PasswordToolTest, ARefusedClearanceDeniesAccessAndWritesNothing)
{
    addTypedUser("clerk", "pw");
    addTypedUser("bo", "b");
    frmPasswordTool* w = openTool();
    press(w, "New");
    box(w, "txtUser")->setText("cy");
    box(w, "txtCurrent")->setText("c");
    pressRefused(w, "Save");
    EXPECT_EQ(dialogs_.texts(), QStringList{"Access Denied !!"});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_TRUE(w->IsEditing);
    EXPECT_EQ(box(w, "txtUser")->text(), "cy");

    control<QPushButton>(w, "cmdDone")->click();
    choose(w, 1);
    dialogs_.clear();
    pressRefused(w, "Delete");
    EXPECT_EQ(dialogs_.texts(), QStringList{"Access Denied !!"});
    EXPECT_TRUE(dialogs_.questions.empty());
    EXPECT_EQ(usersOnFile(), (QStringList{"clerk:pw", "bo:b"}));
}

TEST_F(PasswordToolTest, DeletingRefusesTheLoggedInClerkButNotANameInOtherCase)
{
    addTypedUser("clerk", "pw");
    addTypedUser("Clerk", "x");
    addTypedUser("bo", "b1");
    addTypedUser("bo", "b2");
    frmPasswordTool* w = openTool();

    press(w, "Delete");
    EXPECT_EQ(dialogs_.texts(), QStringList{"You can't delete the currently logged user."});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
    EXPECT_TRUE(dialogs_.questions.empty());

    // No leaves the table and the window as they were.
    choose(w, 1);
    dialogs_.clear();
    dialogs_.yesNoAnswers = {false};
    press(w, "Delete");
    ASSERT_EQ(dialogs_.questions.size(), 1u);
    EXPECT_EQ(dialogs_.questions[0].text, "Are you sure you want to delete the user Clerk ?");
    EXPECT_EQ(dialogs_.questions[0].icon, dialogs::Icon::None);
    EXPECT_EQ(usersOnFile(), (QStringList{"clerk:pw", "Clerk:x", "bo:b1", "bo:b2"}));
    EXPECT_EQ(list(w)->currentText(), "Clerk");

    dialogs_.yesNoAnswers = {true};
    press(w, "Delete");
    EXPECT_EQ(usersOnFile(), (QStringList{"clerk:pw", "bo:b1", "bo:b2"}));
    expectIdle(w, {"clerk", "bo", "bo"});

    // Of two users with one name, the first goes.
    choose(w, 2);
    dialogs_.yesNoAnswers = {true};
    press(w, "Delete");
    EXPECT_EQ(usersOnFile(), (QStringList{"clerk:pw", "bo:b2"}));
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(PasswordToolTest, AKeyTypedIntoTheListReloadsItWithEachUserOnce)
{
    for (const char* name : {"clerk", "bo", "cy"})
        addTypedUser(name, "p");
    frmPasswordTool* w = openTool();
    choose(w, 2);
    QTest::keyClick(list(w), Qt::Key_B);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Pls. choose form the specified selections only..."});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
    expectIdle(w, {"clerk", "bo", "cy"});
    // Tab only moves on, and the arrow keys choose as a click does.
    QTest::keyClick(list(w), Qt::Key_Tab);
    QTest::keyClick(list(w), Qt::Key_Down);
    EXPECT_EQ(list(w)->currentText(), "bo");
    EXPECT_EQ(dialogs_.messages.size(), 1u);
    // The user chosen by the arrow is the one whose password is checked.
    press(w, "Edit");
    box(w, "txtCurrent")->setText("p");
    box(w, "txtNew")->setText("q");
    box(w, "txtVerify")->setText("q");
    press(w, "Save");
    EXPECT_EQ(usersOnFile(), (QStringList{"clerk:p", "bo:q", "cy:p"}));
}

TEST_F(PasswordToolTest, ToolbarAccessKeysPressTheirButtonsAndOtherAltKeysAreNoTyping)
{
    addTypedUser("clerk", "p");
    frmPasswordTool* w = openTool();
    list(w)->setFocus();
    // Alt with a key no control of the window has is not a key typed into
    // the list: no message, no reload.
    QTest::keyClick(list(w), Qt::Key_X, Qt::AltModifier);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    // Alt+N is the New User button's access key.
    QTest::keyClick(list(w), Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(w->IsEditing);
    EXPECT_TRUE(w->IsNewUser);
    EXPECT_EQ(w->focusWidget(), box(w, "txtUser"));
}

TEST_F(PasswordToolTest, PasswordsTheStoredFormCannotHoldAreRefused)
{
    addTypedUser("clerk", "pw");
    frmPasswordTool* w = openTool();
    // The boxes take 30 characters; so the longest password still logs in.
    press(w, "New");
    box(w, "txtUser")->setText("long");
    box(w, "txtCurrent")->setFocus();
    QTest::keyClicks(box(w, "txtCurrent"), QString(35, QLatin1Char('k')));
    EXPECT_EQ(box(w, "txtCurrent")->text(), QString(30, QLatin1Char('k')));
    press(w, "Save");
    EXPECT_EQ(usersOnFile(), (QStringList{"clerk:pw", "long:" + QString(30, QLatin1Char('k'))}));

    for (const QString& password : {QStringLiteral("ab") + QChar(0x4E2D), QStringLiteral("a") + QChar(0x07)}) {
        dialogs_.clear();
        press(w, "New");
        box(w, "txtUser")->setText("cy");
        box(w, "txtCurrent")->setText(password);
        press(w, "Save");
        EXPECT_EQ(dialogs_.texts(), QStringList{"Error : Invalid procedure call or argument"});
        EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
        EXPECT_TRUE(w->IsEditing);
        control<QPushButton>(w, "cmdDone")->click();
    }
    // A changed password is judged the same way.
    dialogs_.clear();
    press(w, "Edit");
    box(w, "txtCurrent")->setText("pw");
    box(w, "txtNew")->setText(QString(QChar(0x4E2D)));
    box(w, "txtVerify")->setText(QString(QChar(0x4E2D)));
    press(w, "Save");
    EXPECT_EQ(dialogs_.texts(), QStringList{"Error : Invalid procedure call or argument"});
    EXPECT_EQ(CurrentPassword, "pw");
    EXPECT_EQ(usersOnFile(), (QStringList{"clerk:pw", "long:" + QString(30, QLatin1Char('k'))}));
}

TEST_F(PasswordToolTest, EngineRefusalsAreReported)
{
    addTypedUser("clerk", "pw");
    addTypedUser("bo", "b");
    frmPasswordTool* w = openTool();
    // A name longer than the field is refused by the table.
    press(w, "New");
    box(w, "txtUser")->setText(QString(31, QLatin1Char('n')));
    box(w, "txtCurrent")->setText("p");
    press(w, "Save");
    expectOneErrorReport();
    EXPECT_TRUE(w->IsEditing);
    control<QPushButton>(w, "cmdDone")->click();

    // A deletion the file refuses is reported, not passed over in silence.
    {
        SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READWRITE);
        raw.exec("CREATE TRIGGER keep BEFORE DELETE ON \"Users Database\" "
                 "BEGIN SELECT RAISE(ABORT, 'the users are kept'); END");
    }
    choose(w, 1);
    dialogs_.clear();
    dialogs_.yesNoAnswers = {true};
    press(w, "Delete");
    expectOneErrorReport();
    EXPECT_EQ(usersOnFile(), (QStringList{"clerk:pw", "bo:b"}));
}

TEST_F(PasswordToolTest, WhileTheClearanceWaitsTheWindowTakesNoCommandAndStaysOpen)
{
    addTypedUser("clerk", "pw");
    frmPasswordTool* w = openTool();
    press(w, "New");
    box(w, "txtUser")->setText("cy");
    box(w, "txtCurrent")->setText("c");
    bool tried = false;
    script({[w, &tried] {
        EXPECT_TRUE(w->isAwaitingClearance());
        control<QAction>(w, "Save")->trigger();
        control<QPushButton>(w, "cmdDone")->click();
        w->Unload();
        EXPECT_FALSE(w->isUnloaded());
        EXPECT_TRUE(w->IsEditing);
        tried = true;
        answer("clerk", "pw");
    }});
    control<QAction>(w, "Save")->trigger();
    EXPECT_TRUE(tried);
    EXPECT_EQ(dialogs_.texts(), QStringList{"User : cy has been successfully added to the user database..."});
    EXPECT_EQ(usersOnFile(), (QStringList{"clerk:pw", "cy:c"}));
    EXPECT_FALSE(w->isAwaitingClearance());
}

}  // namespace
