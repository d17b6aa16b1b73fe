// The program from the keyboard alone: every command through the menus'
// access keys, from the main window and from inside a task window; Tab
// through every control of every window; and each window's own access keys.
#include "access/AccessFixture.h"
#include "access/AccessWalk.h"
#include "browse/frmDatabaseGrid.h"
#include "browse/frmEditSearch.h"
#include "browse/frmSearch.h"
#include "data/modQuorvane.h"
#include "platform/Store.h"
#include "catalogue/frmAdd.h"
#include "catalogue/frmMembers.h"
#include "shell/Windows.h"
#include "startup/frmLogin.h"
#include "transactions/frmRent.h"
#include "users/frmPasswordTool.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

using access_walk::accessKey;
using access_walk::names;
using access_walk::sharedAccessKeys;
using access_walk::tabRound;
using access_walk::tabStops;
using testing_support::control;
using testing_support::pump;

namespace {

// Presses a key where the keyboard is: the open menu, else the control with
// the focus, else the active window.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* to = QApplication::activePopupWidget();
    if (!to)
        to = QApplication::focusWidget();
    if (!to)
        to = QApplication::activeWindow();
    ASSERT_NE(to, nullptr) << "nothing takes the keyboard";
    QTest::keyClick(to, Qt::Key(key), modifiers);
    pump();
}

// Alt with the first letter, then the other letters one by one: the road
// through the menus, "TR" for Transactions, Rent Tape.
void road(const char* letters)
{
    press(letters[0], Qt::AltModifier);
    for (const char* c = letters + 1; *c; ++c)
        press(*c);
}

// Alt pressed and let go alone: the menu bar takes the keyboard.
void altAlone()
{
    QWidget* to = QApplication::focusWidget();
    ASSERT_NE(to, nullptr);
    QTest::keyPress(to, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(to, Qt::Key_Alt);
    pump();
}

QuorvaneForm* openForm(QWidget* main, const char* name)
{
    auto* form = main->findChild<QuorvaneForm*>(QString::fromLatin1(name));
    return form && !form->isUnloaded() ? form : nullptr;
}

// Every item of the menu level has an access key, and no two items of the
// level share one; the same for each level below.
void checkMenuLevel(const QList<QAction*>& items, const QString& where, QStringList& problems)
{
    std::set<int> taken;
    for (QAction* item : items) {
        if (item->isSeparator())
            continue;
        const int key = accessKey(item->text());
        if (!key)
            problems << where + QStringLiteral(": ") + item->text() + QStringLiteral(" has no access key");
        else if (!taken.insert(key).second)
            problems << where + QStringLiteral(": ") + item->text() + QStringLiteral(" shares its access key");
        if (QMenu* below = item->menu())
            checkMenuLevel(below->actions(), where + QLatin1Char('/') + item->text(), problems);
    }
}

class KeyboardTest : public access_tests::AccessTest {
protected:
    void SetUp() override
    {
        AccessTest::SetUp();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    }

    // The focus is in a control of the window.
    static bool focusIsIn(QWidget* window)
    {
        QWidget* focus = QApplication::focusWidget();
        return focus && window->isAncestorOf(focus);
    }

    // Tab from the window's focus goes round every control that takes it and
    // stays in the window.
    static void expectTabReachesEverything(QWidget* window)
    {
        SCOPED_TRACE(window->objectName().toStdString());
        const QList<QWidget*> stops = tabStops(window);
        ASSERT_FALSE(stops.isEmpty());
        QWidget* start = window->focusWidget() && stops.contains(window->focusWidget()) ? window->focusWidget()
                                                                                         : stops.first();
        const QList<QWidget*> round = tabRound(window, start);
        QList<QWidget*> missed;
        for (QWidget* stop : stops)
            if (!round.contains(stop))
                missed << stop;
        EXPECT_EQ(names(missed), QStringList()) << "Tab went " << names(round).join(" > ").toStdString();
        for (QWidget* w : round)
            EXPECT_TRUE(window->isAncestorOf(w)) << "Tab left the window for " << names({w}).join("").toStdString();
    }

    // Each enabled control with an access key is reached by it: Alt and the
    // key moves on to the next control that shares it. Buttons are only
    // found, not pressed.
    static void expectAccessKeysReachEverything(QuorvaneForm* window)
    {
        SCOPED_TRACE(window->objectName().toStdString());
        const QList<access_walk::Keyed> keyed = access_walk::keyedControls(window);
        for (const access_walk::Keyed& k : keyed) {
            if (!k.control->isEnabled())
                continue;
            bool reached = false;
            for (int i = 0; i < keyed.size() && !reached; ++i) {
                QWidget* target = window->accessKeyTarget(k.key);
                ASSERT_NE(target, nullptr);
                target->setFocus(Qt::ShortcutFocusReason);
                reached = target == k.control;
            }
            EXPECT_TRUE(reached) << names({k.control}).join("").toStdString();
        }
        // A box is reached by the real key, whatever had the focus.
        for (const access_walk::Keyed& k : keyed) {
            if (!k.control->isEnabled() || qobject_cast<QAbstractButton*>(k.control))
                continue;
            for (int i = 0; i < keyed.size() && QApplication::focusWidget() != k.control; ++i)
                press(k.key, Qt::AltModifier);
            EXPECT_EQ(QApplication::focusWidget(), k.control) << names({k.control}).join("").toStdString();
        }
    }
};

TEST_F(KeyboardTest, MenuAccessKeysAreUniqueAtEachLevel)
{
    QStringList problems;
    checkMenuLevel(main->menuBar()->actions(), QStringLiteral("menu bar"), problems);
    EXPECT_EQ(problems, QStringList());
}

struct Road {
    const char* letters;
    const char* window;
    const char* caption;
};

TEST_F(KeyboardTest, EveryCommandOpensItsWindowThroughTheMenuKeys)
{
    const Road roads[] = {
        {"EA", "frmAdd", "Add Record"},
        {"EE", "frmDatabaseGrid", "Delete Record"},
        {"ED", "frmSearch", "Search"},
        {"VM", "frmDatabaseGrid", "View database"},
        {"VV", "frmDatabaseGrid", "View database"},
        {"VTR", "frmDatabaseGrid", "View Rentals"},
        {"VTE", "frmDatabaseGrid", "View Returned tapes"},
        {"VI", "frmInventory", "Inventory Listing -> Video Database"},
        {"S", "frmSearch", "Search"},
        {"MA", "frmMembers", "Add New Member"},
        {"ME", "frmSearch", "Search"},
        {"MD", "frmDatabaseGrid", "Delete Record"},
        {"TR", "frmRent", "Rent tape/s"},
        {"TT", "frmReturn", "Return tape/s"},
        {"OU", "frmPasswordTool", "Password Database"},
        {"OCM", "frmDatabaseGrid", "Delete Record"},
        {"OCV", "frmDatabaseGrid", "Delete Record"},
        {"OTR", "frmDatabaseGrid", "Delete Record"},
        {"OTE", "frmDatabaseGrid", "Delete Record"},
        {"HA", "frmAbout", "About Quorvane v1.0"},
    };
    for (const Road& r : roads) {
        SCOPED_TRACE(r.letters);
        road(r.letters);
        QuorvaneForm* form = openForm(main, r.window);
        ASSERT_NE(form, nullptr) << r.window << " did not open";
        EXPECT_EQ(form->caption(), r.caption);
        // The keyboard goes on in the window just opened.
        EXPECT_TRUE(focusIsIn(form)) << "focus on "
                                     << names({QApplication::focusWidget()}).join("").toStdString();
        windows::closeAll();
        pump();
        main->activateWindow();
    }

    // The file menu: Save As asks for a name (here: none), Exit ends the run.
    road("FS");
    EXPECT_EQ(dialogs_.saveRequests.size(), 1u);
    road("FE");
    EXPECT_EQ(testing_support::g_endedStatus, 0);
}

TEST_F(KeyboardTest, MenusAreReachedFromInsideATaskWindow)
{
    road("EA");
    frmAdd* editor = windows::find<frmAdd>();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(focusIsIn(editor));
    // Alt and T is the editor's own "No. of &Tapes" while the focus is
    // there; Alt alone hands the keyboard to the menu bar.
    press('T', Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(editor, "txtTapes"));
    altAlone();
    press('T');
    press('R');
    frmRent* rent = windows::find<frmRent>();
    ASSERT_NE(rent, nullptr);
    EXPECT_TRUE(focusIsIn(rent));
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(rent, "txtVcode"));
}

// The road the README gives the clerk with a barcode scanner, which types
// a code and Enter.
TEST_F(KeyboardTest, RentingWithAScannerTakesOnlyEnterAndOneKeyToRent)
{
    road("TR");
    frmRent* rent = windows::find<frmRent>();
    ASSERT_NE(rent, nullptr);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("V2"));
    press(Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("M1"));
    press(Qt::Key_Return);
    press(Qt::Key_Return);  // the check
    ASSERT_EQ(QApplication::focusWidget(), control<QWidget>(rent, "cmdTrans"));
    // A scanner's extra Enter does not rent.
    press(Qt::Key_Return);
    EXPECT_EQ(modQuorvane::rsRentals->RecordCount(), 0);
    EXPECT_TRUE(dialogs_.messages.empty());
    press(Qt::Key_Space);
    EXPECT_EQ(modQuorvane::rsRentals->RecordCount(), 1);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    // Clear has the focus, ready for the next tape.
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(rent, "cmdClear"));
    press('L', Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(rent, "txtVcode"));
}

TEST_F(KeyboardTest, TabReachesEveryControlOfEveryWindow)
{
    main->mnuVideoAdd_Click();
    expectTabReachesEverything(windows::find<frmAdd>());
    main->mnuMemAdd_Click();
    expectTabReachesEverything(windows::find<frmMembers>());
    modQuorvane::EditMode = true;
    expectTabReachesEverything(windows::reopen<frmAdd>());
    expectTabReachesEverything(windows::reopen<frmMembers>());

    main->mnuRent_Click();
    frmRent* rent = windows::find<frmRent>();
    expectTabReachesEverything(rent);
    // After a check that passed, the rent button comes into the round.
    control<QLineEdit>(rent, "txtVcode")->setText(QStringLiteral("V1"));
    control<QLineEdit>(rent, "txtMemcode")->setText(QStringLiteral("M1"));
    control<QPushButton>(rent, "cmdCheck")->click();
    pump();
    ASSERT_TRUE(control<QPushButton>(rent, "cmdTrans")->isEnabled());
    expectTabReachesEverything(rent);
    main->mnuReturn_Click();
    expectTabReachesEverything(openForm(main, "frmReturn"));

    main->mnuViewVideo_Click();
    expectTabReachesEverything(windows::find<frmDatabaseGrid>());
    main->mnuVideoDel_Click();
    expectTabReachesEverything(windows::find<frmDatabaseGrid>());
    main->mnuViewInventory_Click();
    expectTabReachesEverything(openForm(main, "frmInventory"));
    main->mnuSearch_Click();
    frmSearch* search = windows::find<frmSearch>();
    expectTabReachesEverything(search);
    control<QLineEdit>(search, "txtQuery")->setText(QStringLiteral("Title"));
    control<QPushButton>(search, "cmdSearch")->click();
    pump();
    expectTabReachesEverything(windows::find<frmEditSearch>());
    main->mnuAbout_Click();
    expectTabReachesEverything(openForm(main, "frmAbout"));

    addUser(QStringLiteral("clerk"), QStringLiteral("x"));
    frmPasswordTool* tool = windows::show<frmPasswordTool>();
    expectTabReachesEverything(tool);
    tool->NewUser();
    expectTabReachesEverything(tool);
    windows::closeAll();
    pump();

    frmLogin& login = frmLogin::instance();
    login.show();
    login.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&login));
    expectTabReachesEverything(&login);
    login.hide();
}

TEST_F(KeyboardTest, TheGridHandsTabOnToItsButtons)
{
    // Tab does not walk the cells of a long table: it leaves the grid for
    // the window's buttons; the arrows move in the grid.
    main->mnuViewVideo_Click();
    frmDatabaseGrid* grid = windows::find<frmDatabaseGrid>();
    ASSERT_NE(grid, nullptr);
    auto* cells = control<QAbstractItemView>(grid, "DBGrid");
    cells->setFocus();
    cells->setCurrentIndex(cells->model()->index(0, 0));
    press(Qt::Key_Right);
    press(Qt::Key_Down);
    EXPECT_EQ(cells->currentIndex(), cells->model()->index(1, 1));
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(grid, "cmdCommand"));
}

TEST_F(KeyboardTest, EachTaskWindowsAccessKeysReachItsControls)
{
    main->mnuVideoAdd_Click();
    expectAccessKeysReachEverything(windows::find<frmAdd>());
    main->mnuMemAdd_Click();
    expectAccessKeysReachEverything(windows::find<frmMembers>());
    main->mnuRent_Click();
    expectAccessKeysReachEverything(windows::find<frmRent>());
    main->mnuSearch_Click();
    expectAccessKeysReachEverything(windows::find<frmSearch>());
    addUser(QStringLiteral("clerk"), QStringLiteral("x"));
    frmPasswordTool* tool = windows::show<frmPasswordTool>();
    expectAccessKeysReachEverything(tool);
    tool->NewUser();
    expectAccessKeysReachEverything(tool);
}

TEST_F(KeyboardTest, AccessKeysSharedWithinAWindowAreOnlyTheKnownOnes)
{
    // The captions are the shop's own. Two controls of one window that
    // share a key are reached in turn by pressing it again; these are the
    // only such pairs, and the user tool holds them all.
    main->mnuVideoAdd_Click();
    main->mnuMemAdd_Click();
    main->mnuRent_Click();
    main->mnuReturn_Click();
    main->mnuVideoDel_Click();
    main->mnuViewInventory_Click();
    main->mnuAbout_Click();
    main->mnuSearch_Click();
    for (QuorvaneForm* form : main->findChildren<QuorvaneForm*>())
        EXPECT_EQ(sharedAccessKeys(form), QStringList()) << form->objectName().toStdString();
    modQuorvane::EditMode = true;
    EXPECT_EQ(sharedAccessKeys(windows::reopen<frmAdd>()), QStringList());
    EXPECT_EQ(sharedAccessKeys(windows::reopen<frmMembers>()), QStringList());

    addUser(QStringLiteral("clerk"), QStringLiteral("x"));
    frmPasswordTool* tool = windows::show<frmPasswordTool>();
    EXPECT_EQ(sharedAccessKeys(tool), (QStringList{"D: &Delete User cmdDone", "E: &Edit User txtNew"}));
    tool->NewUser();
    EXPECT_EQ(sharedAccessKeys(tool),
              (QStringList{"C: cmdDone txtCurrent", "E: &Edit User txtNew"}));
}

}  // namespace
