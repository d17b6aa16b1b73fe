// Bad input in the user tool's four boxes and in the login dialog's two: a
// name or password the file can keep is kept exactly (a password as its
// stored form), any other is refused with a message and changes nothing; the
// login refuses what is not on file and lets in a user whose name is made of
// bad input.
#include "platform/Convert.h"
#include "reliability/BadInputCases.h"
#include "shell/Windows.h"
#include "startup/LoginScript.h"
#include "startup/Password.h"
#include "startup/frmLogin.h"
#include "users/frmPasswordTool.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <iostream>

using namespace bad_input;
using login_script::answer;
using testing_support::control;
using testing_support::pump;

namespace {

// The logged-in clerk is "clerk" with the password "pw"; "other" has "old".
class BadInputUsersTest : public BadInputTest {
protected:
    void SetUp() override
    {
        BadInputTest::SetUp();
        modQuorvane::CurrentPassword = QStringLiteral("pw");
        addUser(QStringLiteral("clerk"), modValidate::EncodePassword(QStringLiteral("pw")));
        addUser(QStringLiteral("other"), modValidate::EncodePassword(QStringLiteral("old")));
    }

    void TearDown() override
    {
        script.stop();
        BadInputTest::TearDown();
    }

    static QLineEdit* box(QWidget* w, const char* name) { return control<QLineEdit>(w, name); }

    // Presses a toolbar button; Save is cleared by the logged-in clerk first.
    void press(frmPasswordTool* w, const char* key)
    {
        if (QLatin1String(key) == QLatin1String("Save"))
            script({[] { answer(QStringLiteral("clerk"), QStringLiteral("pw")); }});
        control<QAction>(w, key)->trigger();
    }

    // The user tool in the edit mode on "other", the second user listed.
    frmPasswordTool* editOther()
    {
        frmPasswordTool* w = windows::reopen<frmPasswordTool>();
        pump();
        auto* list = control<QComboBox>(w, "cboUser");
        list->setCurrentIndex(1);
        w->cboUser_Click();
        press(w, "Edit");
        return w;
    }

    // Saves and judges: one success message and the user's row as the boxes
    // hold it (the password as its stored form), or a clear message and
    // nothing changed. `typed` is the bad input typed for the save.
    void saveAndJudge(frmPasswordTool* w, const QString& name, const QString& password, bool adding,
                      const QString& typed, Tally& tally)
    {
        std::map<QString, long long> want = tableCounts();
        dialogs_.clear();
        press(w, "Save");
        ++tally.tried;
        ASSERT_EQ(dialogs_.messages.size(), 1u) << dialogs_.texts().join(" / ").toStdString();
        if (!dialogs_.messages[0].text.startsWith(QLatin1String("User : "))) {
            expectClearMessages();
            expectFileHolds(want);
            ++tally.refused;
            return;
        }
        if (adding)
            ++want[schema::kUsers];
        expectFileHolds(want);
        auto rs = modQuorvane::dbMain->OpenRecordset(schema::kUsers);
        ASSERT_TRUE(rs->FindFirst(QStringLiteral("Username"), storedForm(name, 30)));
        EXPECT_EQ(modValidate::DecodePassword(rs->Text(QStringLiteral("Password"))), convert::Left(password, 30));
        ++(keptWhole(typed, 30) ? tally.keptWhole : tally.cut);
    }

    // The login dialog, answered first with this name and password and
    // then, if it is still asked, as "clerk" with "pw".
    void logInTrying(const QString& name, const QString& password)
    {
        dialogs_.clear();
        script({[name, password] { answer(name, password); },
                [] { answer(QStringLiteral("clerk"), QStringLiteral("pw")); }});
        EXPECT_TRUE(frmLogin::instance().IsUserOK());
        script.stop();
    }

    login_script::Script script;
};

TEST_F(BadInputUsersTest, UserToolKeepsOrRefusesEveryBadNameAndPassword)
{
    Tally names, newPasswords, currentPasswords, changedPasswords;
    int serial = 0;
    for (const BadInput& input : badInputs()) {
        SCOPED_TRACE(input.name);
        // A new user named by the input.
        frmPasswordTool* w = windows::reopen<frmPasswordTool>();
        pump();
        press(w, "New");
        box(w, "txtUser")->setText(input.text);
        box(w, "txtCurrent")->setText(QStringLiteral("tape"));
        saveAndJudge(w, input.text, QStringLiteral("tape"), true, input.text, names);

        // A new user with the input for a password (the box holds at most 30).
        w = windows::reopen<frmPasswordTool>();
        pump();
        press(w, "New");
        const QString name = "new" + QString::number(++serial);
        box(w, "txtUser")->setText(name);
        box(w, "txtCurrent")->setText(input.text);
        saveAndJudge(w, name, box(w, "txtCurrent")->text(), true, input.text, newPasswords);

        // The input as the current password of "other": wrong.
        w = editOther();
        box(w, "txtCurrent")->setText(input.text);
        box(w, "txtNew")->setText(QStringLiteral("new"));
        box(w, "txtVerify")->setText(QStringLiteral("new"));
        saveAndJudge(w, QStringLiteral("other"), QStringLiteral("old"), false, input.text, currentPasswords);

        // The input as the new password of "other", typed twice; then back.
        w = editOther();
        box(w, "txtCurrent")->setText(QStringLiteral("old"));
        box(w, "txtNew")->setText(input.text);
        box(w, "txtVerify")->setText(input.text);
        const QString typed = box(w, "txtVerify")->text();
        const int before = changedPasswords.keptWhole + changedPasswords.cut;
        saveAndJudge(w, QStringLiteral("other"), typed, false, input.text, changedPasswords);
        if (changedPasswords.keptWhole + changedPasswords.cut > before) {
            auto rs = modQuorvane::dbMain->OpenRecordset(schema::kUsers);
            ASSERT_TRUE(rs->FindFirst(QStringLiteral("Username"), QStringLiteral("other")));
            rs->Edit();
            rs->SetValue(QStringLiteral("Password"), modValidate::EncodePassword(QStringLiteral("old")));
            rs->Update();
        }
    }
    EXPECT_EQ(currentPasswords.refused, currentPasswords.tried);
    std::cout << names.summary("user tool, user name") << "\n"
              << newPasswords.summary("user tool, password of a new user") << "\n"
              << currentPasswords.summary("user tool, current password") << "\n"
              << changedPasswords.summary("user tool, new and verified password") << std::endl;
}

TEST_F(BadInputUsersTest, LoginRefusesBadInputNotOnFileAndAdmitsANameMadeOfIt)
{
    // A user named by each input that a name field keeps whole.
    for (const BadInput& input : badInputs())
        if (keptWhole(input.text, 30) && !refusedByTheFile(input.text))
            addUser(input.text, modValidate::EncodePassword(QStringLiteral("pw")));
    const std::map<QString, long long> want = tableCounts();
    Tally names, passwords, clearance;
    for (const BadInput& input : badInputs()) {
        SCOPED_TRACE(input.name);
        const bool onFile = keptWhole(input.text, 30) && !refusedByTheFile(input.text);
        const QString text = input.text;
        // At start-up: the input as the user name, then as the password.
        modQuorvane::IsStartupLogin = true;
        logInTrying(text, QStringLiteral("pw"));
        ++names.tried;
        if (onFile) {
            EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(" / ").toStdString();
            EXPECT_EQ(modQuorvane::CurrentUser, input.text);
            ++names.keptWhole;
        } else {
            expectClearMessages();
            EXPECT_EQ(modQuorvane::CurrentUser, "clerk");
            ++names.refused;
        }
        const auto refused = [this](Tally& tally) {
            ++tally.tried;
            expectClearMessages();
            ++tally.refused;
        };
        logInTrying(QStringLiteral("clerk"), text);
        refused(passwords);
        // A later clearance of "clerk": the input as password, then as name.
        modQuorvane::IsStartupLogin = false;
        logInTrying(QStringLiteral("clerk"), text);
        refused(clearance);
        logInTrying(text, QStringLiteral("pw"));
        refused(clearance);
        expectFileHolds(want);
    }
    std::cout << names.summary("login, user name") << "\n"
              << passwords.summary("login, password") << "\n"
              << clearance.summary("security clearance, name and password") << std::endl;
}

}  // namespace
