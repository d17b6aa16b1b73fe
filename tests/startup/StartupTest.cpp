// The start of a run: database creation or check, the login dialog, the
// splash and the main window; and the later security clearance.
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "shell/frmMDIQuorvane.h"
#include "startup/Password.h"
#include "startup/LoginScript.h"
#include "startup/StartRoutine.h"
#include "startup/frmLogin.h"
#include "support/Harness.h"

#include <SQLiteCpp/Database.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace modQuorvane;
using testing_support::control;
using testing_support::QuorvaneTest;
using login_script::answer;
using login_script::Script;

namespace {

class StartupTest : public QuorvaneTest {
protected:
    // A database file holding these users (name, typed password).
    void fileWithUsers(const std::vector<std::pair<QString, QString>>& users)
    {
        ASSERT_TRUE(CreateNewDatabase());
        OpenMainDatabase();
        for (const auto& [name, password] : users) {
            rsUsers->AddNew();
            rsUsers->SetValue(QStringLiteral("Username"), name);
            rsUsers->SetValue(QStringLiteral("Password"), modValidate::EncodePassword(password));
            rsUsers->Update();
        }
        dbMain->Close();
        ResetProcessState();
        DbPath = ComputeDbPath();
        dialogs_.clear();
    }

    void TearDown() override
    {
        script.stop();
        QuorvaneTest::TearDown();
    }

    Script script;
};

TEST_F(StartupTest, FirstStartInAnEmptyFolderCreatesTheDatabaseAndAsksForNoLogin)
{
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(startup::StartRoutine(), -1);
    const qint64 took = clock.elapsed();
    EXPECT_EQ(dialogs_.texts(), QStringList{"No Quorvane database exist, creating new database..."});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
    EXPECT_TRUE(QFile::exists(dbPath()));
    EXPECT_FALSE(frmLogin::instance().isVisible());
    ASSERT_NE(frmMDIQuorvane::instance(), nullptr);
    EXPECT_TRUE(frmMDIQuorvane::instance()->isVisible());
    EXPECT_GE(took, 1900);  // the splash stood for its two seconds
    EXPECT_TRUE(CurrentUser.isEmpty());
    EXPECT_FALSE(IsStartupLogin);
    EXPECT_EQ(frmMDIQuorvane::instance()->panelText(3), "User : ");
    ASSERT_TRUE(rsUsers);
    EXPECT_EQ(rsUsers->RecordCount(), 0);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->objectName() == "frmSplash" && w->isVisible()) << "the splash is gone";
}

TEST_F(StartupTest, AnEmptyUsersTableWarnsAndRunsWithoutLogin)
{
    fileWithUsers({});
    IsStartupLogin = true;
    EXPECT_TRUE(frmLogin::instance().IsUserOK());
    EXPECT_EQ(dialogs_.texts(), QStringList{"Warning, no user exist. pls. add one..."});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Exclamation);
    EXPECT_TRUE(frmLogin::instance().NoDbase);
    // Later clearances are not asked in such a run, even once users exist.
    IsStartupLogin = false;
    dialogs_.clear();
    EXPECT_TRUE(frmLogin::instance().IsUserOK());
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(StartupTest, LoginRefusesUnknownUsersWrongPasswordsAndOtherLetterCase)
{
    fileWithUsers({{"Clerk", "tape42"}});
    IsStartupLogin = true;
    script({[] { answer("Nobody", "x"); }, [] { answer("clerk", "tape42"); }, [] { answer("Clerk", "TAPE42"); },
            [] { answer("Clerk", "tape42"); }});
    EXPECT_TRUE(frmLogin::instance().IsUserOK());
    EXPECT_EQ(dialogs_.texts(),
              (QStringList{"Username Nobody is not a registered user. Pls. enter a valid user...",
                           "Username clerk is not a registered user. Pls. enter a valid user...",
                           "Wrong password for username: Clerk"}));
    for (const auto& m : dialogs_.messages)
        EXPECT_EQ(m.icon, dialogs::Icon::Exclamation);
    EXPECT_EQ(CurrentUser, "Clerk");
    EXPECT_EQ(CurrentPassword, "tape42");
    EXPECT_FALSE(frmLogin::instance().isVisible());
}

TEST_F(StartupTest, TheFirstOfTwoRowsWithTheSameNameDecides)
{
    fileWithUsers({{"Clerk", "first"}, {"Clerk", "second"}});
    IsStartupLogin = true;
    script({[] { answer("Clerk", "second"); }, [] { answer("Clerk", "first"); }});
    EXPECT_TRUE(frmLogin::instance().IsUserOK());
    EXPECT_EQ(dialogs_.texts(), QStringList{"Wrong password for username: Clerk"});
}

TEST_F(StartupTest, CancelEndsTheRunQuietlyWithNoMainWindow)
{
    fileWithUsers({{"Clerk", "pw"}});
    script({[] { answer("Clerk", "wrong"); }, [] { answer("", "", "cmdCancel"); }});
    EXPECT_EQ(startup::StartRoutine(), 0);
    EXPECT_EQ(frmMDIQuorvane::instance(), nullptr);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Wrong password for username: Clerk"});
}

TEST_F(StartupTest, ClosingTheLoginByItsFrameIsACancel)
{
    fileWithUsers({{"Clerk", "pw"}});
    script({[] { frmLogin::instance().close(); }});
    EXPECT_EQ(startup::StartRoutine(), 0);
    EXPECT_EQ(frmMDIQuorvane::instance(), nullptr);
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(StartupTest, EnterMovesToThePasswordAndThenPressesOK)
{
    fileWithUsers({{"Clerk", "pw"}});
    IsStartupLogin = true;
    script({[] {
        frmLogin& login = frmLogin::instance();
        auto* user = control<QLineEdit>(&login, "txtUserName");
        auto* password = control<QLineEdit>(&login, "txtPassword");
        login.activateWindow();
        user->setFocus();
        QTest::keyClicks(user, "Clerk");
        QTest::keyClick(user, Qt::Key_Return);
        EXPECT_EQ(login.focusWidget(), password);
        QTest::keyClicks(password, "pw");
        QTest::keyClick(password, Qt::Key_Return);
    }});
    EXPECT_TRUE(frmLogin::instance().IsUserOK());
    EXPECT_EQ(CurrentUser, "Clerk");
}

TEST_F(StartupTest, AStoredPasswordWithNoTypedFormIsReportedNotFatal)
{
    ASSERT_TRUE(CreateNewDatabase());
    {
        SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READWRITE);
        raw.exec("INSERT INTO \"Users Database\" VALUES ('Clerk', char(240))");
    }
    ResetProcessState();
    DbPath = ComputeDbPath();
    IsStartupLogin = true;
    script({[] { answer("Clerk", "x"); }, [] { answer("", "", "cmdCancel"); }});
    EXPECT_FALSE(frmLogin::instance().IsUserOK());
    EXPECT_EQ(dialogs_.texts(), QStringList{"Error : Invalid procedure call or argument"});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
}

TEST_F(StartupTest, ALockedDatabaseEndsStartUpWithAnErrorAndAFailureStatus)
{
    ASSERT_TRUE(CreateNewDatabase());
    SQLite::Database holder(dbPath().toStdString(), SQLite::OPEN_READWRITE);
    holder.exec("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE");
    EXPECT_EQ(startup::StartRoutine(), 1);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : "));
    EXPECT_EQ(frmMDIQuorvane::instance(), nullptr);
}

TEST_F(StartupTest, ClearanceAcceptsOnlyTheLoggedInClerkWithTheCurrentPassword)
{
    fileWithUsers({{"Clerk", "pw"}, {"Boss", "boss"}});
    IsStartupLogin = true;
    script({[] { answer("Clerk", "pw"); }});
    ASSERT_TRUE(frmLogin::instance().IsUserOK());
    IsStartupLogin = false;

    script({[] { answer("Boss", "boss"); }, [] { answer("clerk", "pw"); }, [] { answer("Clerk", "boss"); },
            [] { answer("Clerk", "pw"); }});
    EXPECT_TRUE(frmLogin::instance().IsUserOK());
    EXPECT_EQ(dialogs_.texts(),
              (QStringList{"The username is not the one logged-in. Pls. enter the correct one",
                           "The username is not the one logged-in. Pls. enter the correct one",
                           "Wrong password for username: Clerk"}));
    EXPECT_TRUE(control<QWidget>(&frmLogin::instance(), "lblPrompt")->isVisibleTo(&frmLogin::instance()));

    // After the password changes, only the new one passes.
    CurrentPassword = QStringLiteral("new");
    dialogs_.clear();
    script({[] { answer("Clerk", "pw"); }, [] { answer("", "", "cmdCancel"); }});
    EXPECT_FALSE(frmLogin::instance().IsUserOK());
    EXPECT_EQ(dialogs_.texts(), QStringList{"Wrong password for username: Clerk"});
    script({[] { answer("Clerk", "new"); }});
    EXPECT_TRUE(frmLogin::instance().IsUserOK());
}

}  // namespace

namespace {

// The login as a screen reader meets it: a dialog named by its title, whose
// labels all say something, in both uses.
TEST_F(StartupTest, TheLoginIsADialogToScreenReaders)
{
    fileWithUsers({{"Clerk", "pw"}});
    for (bool startup : {true, false}) {
        SCOPED_TRACE(startup ? "start-up login" : "clearance");
        IsStartupLogin = startup;
        bool checked = false;
        script({[&checked] {
            frmLogin& login = frmLogin::instance();
            QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&login);
            EXPECT_TRUE(dialog && dialog->role() == QAccessible::Dialog);
            EXPECT_EQ(dialog ? dialog->text(QAccessible::Name) : QString(), "Security clearance required...");
            for (QLabel* label : login.findChildren<QLabel*>()) {
                QAccessibleInterface* face = QAccessible::queryAccessibleInterface(label);
                EXPECT_FALSE(!face || face->text(QAccessible::Name).isEmpty()) << label->objectName().toStdString();
            }
            // Every line of the dialog has the height it needs, the prompt
            // of the clearance included.
            for (QWidget* part : login.findChildren<QWidget*>()) {
                if (part->isVisibleTo(&login) && (qobject_cast<QLabel*>(part) || qobject_cast<QLineEdit*>(part))) {
                    EXPECT_GE(part->height(), part->minimumSizeHint().height()) << part->objectName().toStdString();
                }
            }
            checked = true;
            answer("Clerk", "pw");
        }});
        EXPECT_TRUE(frmLogin::instance().IsUserOK());
        EXPECT_TRUE(checked);
    }
}

TEST_F(StartupTest, ThePasswordBoxTakesThirtyCharactersAndEscapeAnswersNothing)
{
    fileWithUsers({{"Clerk", QString(30, QLatin1Char('p'))}});
    IsStartupLogin = true;
    script({[] {
                frmLogin& login = frmLogin::instance();
                auto* password = control<QLineEdit>(&login, "txtPassword");
                login.activateWindow();
                password->setFocus();
                QTest::keyClicks(password, QString(35, QLatin1Char('p')));
                EXPECT_EQ(password->text(), QString(30, QLatin1Char('p')));
                QTest::keyClick(password, Qt::Key_Escape);
                QTest::keyClick(control<QLineEdit>(&login, "txtUserName"), Qt::Key_Escape);
                EXPECT_TRUE(login.isVisible());
                control<QLineEdit>(&login, "txtUserName")->setText("Clerk");
                QTest::keyClick(password, Qt::Key_Return);
            }});
    EXPECT_TRUE(frmLogin::instance().IsUserOK());
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(CurrentUser, "Clerk");
}

}  // namespace
